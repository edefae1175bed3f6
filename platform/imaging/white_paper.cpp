// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imaging/white_paper.h"

namespace kavi {

void blendOverWhite(const std::uint8_t* from, std::uint8_t* to, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, from += 4, to += 4) {
        const unsigned a = from[3], paper = 255 * (255 - a);
        // Rounded to the nearest: (c * a + 255 * (255 - a)) / 255.
        to[0] = std::uint8_t((from[0] * a + paper + 127) / 255);
        to[1] = std::uint8_t((from[1] * a + paper + 127) / 255);
        to[2] = std::uint8_t((from[2] * a + paper + 127) / 255);
        to[3] = 0xFF;
    }
}

QImage onWhitePaper(const QImage& picture) {
    if (picture.isNull() || !picture.hasAlphaChannel()) {
        if (picture.isNull() || picture.format() == QImage::Format_RGB32) return picture;
        return picture.convertToFormat(QImage::Format_RGB32);
    }
    QImage flat = picture.convertToFormat(QImage::Format_ARGB32); // a copy, coverage not premultiplied
    if (flat.isNull()) return {};
    if (flat.constBits() == picture.constBits()) flat.detach();
    if (flat.isNull()) return {};
    for (int y = 0; y < flat.height(); ++y)
        blendOverWhite(flat.constScanLine(y), flat.scanLine(y), std::size_t(flat.width()));
    flat.reinterpretAsFormat(QImage::Format_RGB32);
    return flat;
}

} // namespace kavi
