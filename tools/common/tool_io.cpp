// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/common/tool_io.h"

#include "platform/imaging/qt_raster.h"

#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kavi::tools {

ToolRequest requestOf(int argc, char** argv) {
    if (argc != 2) return ToolRequest::Run;
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) return ToolRequest::Help;
    if (std::strcmp(argv[1], "--version") == 0) return ToolRequest::Version;
    return ToolRequest::Run;
}

int printHelp(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

int printVersion(const char* tool) {
    std::printf("%s (Kavi) %s\n", tool, KAVI_VERSION);
    return 0;
}

std::optional<long long> decimalArgument(const char* text, long long low, long long high) {
    const char* digits = (*text == '-' || *text == '+') ? text + 1 : text;
    if (*digits == '\0') return std::nullopt;
    for (const char* p = digits; *p; ++p)
        if (*p < '0' || *p > '9') return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (errno == ERANGE || *end != '\0' || value < low || value > high) return std::nullopt;
    return value;
}

const char* losslessFormatFor(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) return "PNG";
    if (suffix == QLatin1String("bmp")) return "BMP";
    return nullptr;
}

bool writeLossless(const raster::Bitmap& bitmap, const QString& path, const char* format) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && toImage(bitmap).save(&file, format) && file.commit();
}

} // namespace kavi::tools
