// SPDX-License-Identifier: GPL-3.0-or-later
// kavi-filter NUMBER PARAMETER INPUT OUTPUT [--seed N]
//
// Reads INPUT through the picture loader, runs ApplyFilter with NUMBER and PARAMETER (a colour is
// given as its decimal value red + 256 * green + 65536 * blue) and writes OUTPUT losslessly as PNG
// or BMP, chosen by its extension. --seed seeds the generator of Add Noise and Diffuse. Any
// failure prints one line on stderr and ends with a non-zero status.
#include "filter_random.h"
#include "imaging/picture_loader.h"
#include "imaging/qt_raster.h"
#include "module4.h"
#include "tool_io.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

const char* const kUsage = "usage: kavi-filter NUMBER PARAMETER INPUT OUTPUT [--seed N]";

int fail(const std::string& message) {
    std::fprintf(stderr, "kavi-filter: %s\n", message.c_str());
    return 2;
}

const char* outcomeText(Module4::FilterOutcome outcome) {
    switch (outcome) {
    case Module4::FilterOutcome::Failed: return "the filter cannot run with this parameter or picture size";
    case Module4::FilterOutcome::NoPicture: return "the picture has no pixels";
    default: return "the filter did not finish";
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 5 && argc != 7) return fail(kUsage);
    const auto number = kavi::tools::decimalArgument(argv[1], INT32_MIN, INT32_MAX);
    if (!number) return fail(std::string("NUMBER is not a decimal integer: ") + argv[1]);
    const auto parameter = kavi::tools::decimalArgument(argv[2], INT32_MIN, INT32_MAX);
    if (!parameter) return fail(std::string("PARAMETER is not a decimal integer: ") + argv[2]);
    if (argc == 7) {
        if (std::strcmp(argv[5], "--seed") != 0) return fail(kUsage);
        const auto seed = kavi::tools::decimalArgument(argv[6], 0, INT64_MAX);
        if (!seed) return fail(std::string("the seed is not a decimal integer: ") + argv[6]);
        Module4::SeedFilterRandom(std::uint64_t(*seed));
    }
    const QString input = QString::fromLocal8Bit(argv[3]);
    const QString output = QString::fromLocal8Bit(argv[4]);
    const char* format = kavi::tools::losslessFormatFor(output);
    if (!format) return fail("OUTPUT must end in .png or .bmp: " + output.toStdString());

    const QImage picture = kavi::loadPicture(input);
    if (picture.isNull()) return fail("cannot read a picture from " + input.toStdString());
    raster::Bitmap bitmap = kavi::toBitmap(picture);

    int progress = 0;
    const Module4::FilterOutcome outcome = Module4::ApplyFilter(int(*number), &bitmap, int(*parameter), progress);
    if (outcome != Module4::FilterOutcome::Applied) return fail(outcomeText(outcome));

    if (!kavi::tools::writeLossless(bitmap, output, format)) return fail("cannot write " + output.toStdString());
    return 0;
}
