// SPDX-License-Identifier: GPL-3.0-or-later
// The label-template reader: any bytes give either an error and no stock, or stocks that can be drawn (a
// hole inside its label, at least one label, every label on its sheet).
#include "tests/fuzz/fuzz_support.h"

#include "platform/files/label_templates.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024) return 0;
    const QByteArray xml(reinterpret_cast<const char*>(data), qsizetype(size));
    const kavi::labels::FileReading reading = kavi::labels::parseTemplateFile(xml);
    FUZZ_CHECK(reading.error.isEmpty() || reading.stocks.empty(), "a damaged file gave stocks");
    for (const kavi::DiscLabelStock& s : reading.stocks) {
        FUZZ_CHECK(!s.brand.empty() && !s.part.empty(), "a stock without a name");
        FUZZ_CHECK(kavi::Length() < s.outerRadius && s.holeRadius < s.outerRadius, "a hole outside its label");
        FUZZ_CHECK(!s.centres.empty(), "a stock without labels");
        for (const kavi::LengthPoint& c : s.centres)
            FUZZ_CHECK(c.x.millimetres() > -1 && c.x.millimetres() < s.paper.width.millimetres() + 1 &&
                           c.y.millimetres() > -1 && c.y.millimetres() < s.paper.height.millimetres() + 1,
                       "a label off its sheet");
    }
    return 0;
}
