// SPDX-License-Identifier: GPL-3.0-or-later
// The update check's reading of the maker's version file: the reply body as the update window
// takes it (UTF-8, blanks trimmed) through the version number parser. A number it gives is a
// 16-bit whole number that reads back the same when written plainly.
#include "tests/fuzz/fuzz_support.h"

#include "update/version_number.h"

#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;
    const QString reply = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).trimmed();
    const std::optional<std::int16_t> number = kavi::versionNumber(reply);
    if (!number) return 0;
    const std::optional<std::int16_t> again = kavi::versionNumber(QString::number(*number));
    FUZZ_CHECK(again && *again == *number, "a version number does not read back");
    const std::optional<std::int16_t> padded = kavi::versionNumber(QLatin1String("  ") + reply + QLatin1String(" \t"));
    FUZZ_CHECK(padded && *padded == *number, "blanks around a version change it");
    return 0;
}
