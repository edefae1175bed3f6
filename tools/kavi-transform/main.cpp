// kavi-transform rotate|mirror|flip|brightness VALUE INPUT OUTPUT
//
// Reads INPUT through the picture loader, runs one toolbar command of the Cover Manipulator on it
// through the window's own picture buffers, and writes the result losslessly as PNG or BMP, chosen
// by OUTPUT's extension. VALUE is the slider value for brightness (-99 to 99) and is ignored by the
// other commands. Any failure prints one line on stderr and ends with a non-zero status.
#include "manipulator_buffers.h"
#include "picture_loader.h"
#include "qt_raster.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

const char* const kUsage = "usage: kavi-transform rotate|mirror|flip|brightness VALUE INPUT OUTPUT";

int fail(const std::string& message) {
    std::fprintf(stderr, "kavi-transform: %s\n", message.c_str());
    return 2;
}

// A whole decimal integer with an optional sign, nothing else, within [low, high].
std::optional<long> decimal(const char* text, long low, long high) {
    const char* digits = (*text == '-' || *text == '+') ? text + 1 : text;
    if (*digits == '\0') return std::nullopt;
    for (const char* p = digits; *p; ++p)
        if (*p < '0' || *p > '9') return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (errno == ERANGE || *end != '\0' || value < low || value > high) return std::nullopt;
    return value;
}

const char* formatFor(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) return "PNG";
    if (suffix == QLatin1String("bmp")) return "BMP";
    return nullptr;
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
    QCoreApplication app(argc, argv);
    if (argc != 5) return fail(kUsage);
    const int index = commandIndex(argv[1]);
    if (!index) return fail(std::string("unknown command: ") + argv[1] + " (rotate, mirror, flip or brightness)");
    int value = 0;
    if (index == int(kavi::ToolbarCommand::Brightness)) {
        const auto v = decimal(argv[2], -99, 99);
        if (!v) return fail(std::string("VALUE must be a whole number from -99 to 99: ") + argv[2]);
        value = int(*v);
    }
    const QString input = QString::fromLocal8Bit(argv[3]);
    const QString output = QString::fromLocal8Bit(argv[4]);
    const char* format = formatFor(output);
    if (!format) return fail("OUTPUT must end in .png or .bmp: " + output.toStdString());

    const QImage picture = kavi::loadPicture(input);
    if (picture.isNull()) return fail("cannot read a picture from " + input.toStdString());
    kavi::ManipulatorBuffers buffers;
    buffers.load(kavi::toBitmap(picture));
    buffers.runToolbarCommand(index, value);

    // Written beside the target and renamed into place, so a failure leaves no half-written file.
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || !kavi::toImage(buffers.NewImage.image).save(&file, format) ||
        !file.commit())
        return fail("cannot write " + output.toStdString());
    return 0;
}
