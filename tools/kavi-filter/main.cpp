// SPDX-License-Identifier: GPL-3.0-or-later
// kavi-filter NUMBER PARAMETER INPUT OUTPUT [--seed N]
//
// Reads INPUT through the picture loader, runs ApplyFilter with NUMBER and PARAMETER (a colour is
// given as its decimal value red + 256 * green + 65536 * blue) and writes OUTPUT losslessly as PNG
// or BMP, chosen by its extension. --seed seeds the generator of Add Noise and Diffuse. Any
// failure prints one line on stderr and ends with a non-zero status.
#include "filters/filter_engine.h"
#include "filters/filter_random.h"
#include "manipulator/filter_commands.h"
#include "platform/imaging/picture_loader.h"
#include "platform/imaging/qt_raster.h"
#include "tools/common/tool_io.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

const char* const kUsage = "usage: kavi-filter NUMBER PARAMETER INPUT OUTPUT [--seed N]";

// What the tool does, its arguments, and the filter commands of the Cover Manipulator's menus.
std::string helpText() {
    std::string text = std::string(
        "Usage: kavi-filter NUMBER PARAMETER INPUT OUTPUT [--seed N]\n"
        "Runs one of the Cover Manipulator's filters over a picture file.\n"
        "\n"
        "  NUMBER     the filter's number (below); a number with no filter gives the picture back unchanged\n"
        "  PARAMETER  the filter's amount, a whole number; a colour is red + 256 * green + 65536 * blue\n"
        "  INPUT      the picture to read (BMP, GIF, JPEG, PNG and the other formats Kavi opens)\n"
        "  OUTPUT     the file to write, losslessly: its name ends in .png or .bmp\n"
        "  --seed N   seeds the random numbers of Add Noise and Diffuse, so that a run can be repeated\n"
        "  --help     show this text and end\n"
        "  --version  show the version and end\n"
        "\n"
        "The filters of the Cover Manipulator's menus, with the PARAMETER each menu entry passes:\n"
        "  NUMBER  PARAMETER  menu entry\n");
    for (const kavi::FilterCommand& command : kavi::kFilterCommands) {
        char line[128];
        std::snprintf(line, sizeof line, "  %6d  %9d  %s\n", command.number, command.amount,
                      kavi::plainCaption(command.caption).c_str());
        text += line;
    }
    text += "\nExit status: 0 when the picture is written; 2 with one line on stderr on any failure.\n";
    return text;
}

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
    switch (kavi::tools::requestOf(argc, argv)) {
    case kavi::tools::ToolRequest::Help: return kavi::tools::printHelp(helpText());
    case kavi::tools::ToolRequest::Version: return kavi::tools::printVersion("kavi-filter");
    case kavi::tools::ToolRequest::Run: break;
    }
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
