// SPDX-License-Identifier: GPL-3.0-or-later
// kavi-transform rotate|mirror|flip|brightness VALUE INPUT OUTPUT
//
// Reads INPUT through the picture loader, runs one toolbar command of the Cover Manipulator on it
// through the window's own picture buffers, and writes the result losslessly as PNG or BMP, chosen
// by OUTPUT's extension. VALUE is the slider value for brightness (-99 to 99) and is ignored by the
// other commands. Any failure prints one line on stderr and ends with a non-zero status.
#include "manipulator/manipulator_buffers.h"
#include "platform/imaging/picture_loader.h"
#include "platform/imaging/qt_raster.h"
#include "tools/common/tool_io.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

const char* const kUsage = "usage: kavi-transform rotate|mirror|flip|brightness VALUE INPUT OUTPUT";

const char* const kHelp =
    "Usage: kavi-transform rotate|mirror|flip|brightness VALUE INPUT OUTPUT\n"
    "Runs one toolbar command of the Cover Manipulator over a picture file.\n"
    "\n"
    "  rotate      turns the picture a quarter turn clockwise\n"
    "  mirror      mirrors it left to right\n"
    "  flip        flips it top to bottom\n"
    "  brightness  adds VALUE to every colour channel, as the Brightness button does with the slider\n"
    "  VALUE       the slider's value for brightness, a whole number from -99 to 99; the other\n"
    "              commands ignore it, but it must be given\n"
    "  INPUT       the picture to read (BMP, GIF, JPEG, PNG and the other formats Kavi opens)\n"
    "  OUTPUT      the file to write, losslessly: its name ends in .png or .bmp\n"
    "  --help      show this text and end\n"
    "  --version   show the version and end\n"
    "\n"
    "Exit status: 0 when the picture is written; 2 with one line on stderr on any failure.\n";

int fail(const std::string& message) {
    std::fprintf(stderr, "kavi-transform: %s\n", message.c_str());
    return 2;
}

// The toolbar button index of a command name, 0 for none.
int commandIndex(const char* name) {
    const char* const names[] = {"rotate", "mirror", "flip", "brightness"};
    for (int i = 0; i < 4; ++i)
        if (std::strcmp(name, names[i]) == 0) return i + 1;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    switch (kavi::tools::requestOf(argc, argv)) {
    case kavi::tools::ToolRequest::Help: return kavi::tools::printHelp(kHelp);
    case kavi::tools::ToolRequest::Version: return kavi::tools::printVersion("kavi-transform");
    case kavi::tools::ToolRequest::Run: break;
    }
    QCoreApplication app(argc, argv);
    if (argc != 5) return fail(kUsage);
    const int index = commandIndex(argv[1]);
    if (!index) return fail(std::string("unknown command: ") + argv[1] + " (rotate, mirror, flip or brightness)");
    int value = 0;
    if (index == int(kavi::ToolbarCommand::Brightness)) {
        const auto v = kavi::tools::decimalArgument(argv[2], -99, 99);
        if (!v) return fail(std::string("VALUE must be a whole number from -99 to 99: ") + argv[2]);
        value = int(*v);
    }
    const QString input = QString::fromLocal8Bit(argv[3]);
    const QString output = QString::fromLocal8Bit(argv[4]);
    const char* format = kavi::tools::losslessFormatFor(output);
    if (!format) return fail("OUTPUT must end in .png or .bmp: " + output.toStdString());

    const QImage picture = kavi::loadPicture(input);
    if (picture.isNull()) return fail("cannot read a picture from " + input.toStdString());
    kavi::ManipulatorBuffers buffers;
    buffers.load(kavi::toBitmap(picture));
    buffers.runToolbarCommand(index, value);

    if (!kavi::tools::writeLossless(buffers.NewImage.image(), output, format))
        return fail("cannot write " + output.toStdString());
    return 0;
}
