// SPDX-License-Identifier: GPL-3.0-or-later
// kavi-jpeg INPUT OUTPUT [--quality Q] [--sampling H1,V1,H2,V2,H3,V3] [--comment TEXT]
// Loads a picture, samples all of it and writes it with cJpeg. The exit status is SaveFile's
// result (0 written, 1 empty name, 2 the file exists); any other failure prints one line and gives 3.
#include "jpeg/cjpeg.h"
#include "jpeg/jpeg_error.h"

#include "formats/raster/device_context.h"
#include "platform/imaging/picture_loader.h"
#include "platform/imaging/qt_raster.h"
#include "tools/common/tool_io.h"

#include <QCoreApplication>
#include <QString>

#include <cstdio>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kOtherFailure = 3;

struct Options {
    std::string input, output;
    int quality = 75;
    std::vector<int> sampling = {2, 2, 1, 1, 1, 1};
    std::string comment;
};

const char* const kHelp =
    "Usage: kavi-jpeg INPUT OUTPUT [--quality Q] [--sampling H1,V1,H2,V2,H3,V3] [--comment TEXT]\n"
    "Writes a picture as a baseline JPEG file with Kavi's own encoder.\n"
    "\n"
    "  INPUT                 the picture to read (BMP, GIF, JPEG, PNG and the other formats Kavi opens)\n"
    "  OUTPUT                the JPEG file to write; an existing file is never replaced\n"
    "  --quality Q           the quality, 1 to 100 (others are ignored), 75 unless given\n"
    "  --sampling H1,V1,H2,V2,H3,V3\n"
    "                        the horizontal and vertical sampling factors of the luminance and the\n"
    "                        two colour components, 2,2,1,1,1,1 unless given\n"
    "  --comment TEXT        a comment written into the file\n"
    "  --help                show this text and end\n"
    "  --version             show the version and end\n"
    "\n"
    "Exit status: 0 written; 1 the output name is empty; 2 the output file exists; 3 any other\n"
    "failure, with one line on stderr.\n";

[[noreturn]] void usageError(const std::string& why) {
    throw std::runtime_error(why +
                             " (usage: kavi-jpeg INPUT OUTPUT [--quality Q] "
                             "[--sampling H1,V1,H2,V2,H3,V3] [--comment TEXT])");
}

int parseInt(const std::string& text, const char* what) {
    std::size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size()) usageError(std::string("bad ") + what + " \"" + text + "\"");
    return value;
}

Options parse(int argc, char** argv) {
    Options o;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) usageError(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--quality") {
            o.quality = parseInt(value(), "quality");
        } else if (arg == "--sampling") {
            std::stringstream list(value());
            std::string item;
            o.sampling.clear();
            while (std::getline(list, item, ',')) o.sampling.push_back(parseInt(item, "sampling factor"));
            if (o.sampling.size() != 6) usageError("--sampling needs six factors");
        } else if (arg == "--comment") {
            o.comment = value();
        } else if (arg.size() > 2 && arg.rfind("--", 0) == 0) {
            usageError("unknown option " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) usageError("INPUT and OUTPUT are needed");
    o.input = positional[0];
    o.output = positional[1];
    return o;
}

} // namespace

int main(int argc, char** argv) {
    switch (kavi::tools::requestOf(argc, argv)) {
    case kavi::tools::ToolRequest::Help: return kavi::tools::printHelp(kHelp);
    case kavi::tools::ToolRequest::Version: return kavi::tools::printVersion("kavi-jpeg");
    case kavi::tools::ToolRequest::Run: break;
    }
    QCoreApplication app(argc, argv);
    try {
        const Options o = parse(argc, argv);
        const QImage picture = kavi::loadPicture(QString::fromLocal8Bit(o.input.c_str()));
        if (picture.isNull()) throw std::runtime_error("cannot read the picture \"" + o.input + "\"");
        raster::Bitmap bitmap = kavi::toBitmap(picture);
        raster::DeviceContext memoryDc;
        raster::SelectObject(&memoryDc, &bitmap);

        jpeg::cJpeg encoder;
        encoder.quality(o.quality);
        encoder.SetSamplingFrequencies(o.sampling[0], o.sampling[1], o.sampling[2], o.sampling[3], o.sampling[4],
                                       o.sampling[5]);
        encoder.Comment(o.comment);
        if (encoder.SampleHDC(&memoryDc, bitmap.width(), bitmap.height(), 0, 0) != 0)
            throw std::runtime_error("cannot sample a picture of this size");
        return encoder.SaveFile(o.output);
    } catch (const jpeg::JpegError& e) {
        std::fprintf(stderr, "kavi-jpeg: error %d: %s\n", e.number(), e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kavi-jpeg: %s\n", e.what());
    }
    return kOtherFailure;
}
