// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/raster/lines.h"

#include "formats/raster/dib_bits.h"

namespace raster {

namespace {

// Stores a palette index of the given depth at column x of a row.
void putIndex(std::uint8_t* row, long long x, int bpp, int index) {
    if (bpp == 8) {
        row[x] = std::uint8_t(index);
        return;
    }
    const int perByte = 8 / bpp;
    const int shift = (perByte - 1 - int(x % perByte)) * bpp;
    const std::uint8_t mask = std::uint8_t(((1 << bpp) - 1) << shift);
    std::uint8_t& b = row[x / perByte];
    b = std::uint8_t((b & ~mask) | ((index << shift) & mask));
}

// One colour prepared for a bitmap's depth, so a line converts it once and not per pixel.
class PixelWriter {
public:
    PixelWriter(Bitmap& bitmap, ColorRef color)
        : bitmap_(bitmap), bpp_(bitmap.bitsPerPixel()), blue_(std::uint8_t(blueOf(color))),
          green_(std::uint8_t(greenOf(color))), red_(std::uint8_t(redOf(color))) {
        if (bpp_ <= 8) index_ = nearestColorIndex(bitmap.colorTable(), red_, green_, blue_);
    }

    void operator()(long long x, long long y) {
        if (x < 0 || y < 0 || x >= bitmap_.width() || y >= bitmap_.height()) return;
        std::uint8_t* row = bitmap_.row(int(y));
        if (bpp_ == 32) {
            std::uint8_t* p = row + x * 4;
            p[0] = blue_;
            p[1] = green_;
            p[2] = red_;
            p[3] = 0;
        } else if (bpp_ == 24) {
            std::uint8_t* p = row + x * 3;
            p[0] = blue_;
            p[1] = green_;
            p[2] = red_;
        } else {
            putIndex(row, x, bpp_, index_);
        }
    }

private:
    Bitmap& bitmap_;
    int bpp_;
    std::uint8_t blue_, green_, red_;
    int index_ = 0;
};

} // namespace

void setPixelColor(Bitmap& bitmap, long long x, long long y, ColorRef color) { PixelWriter(bitmap, color)(x, y); }

void LineCanvas::lineTo(int x, int y) {
    bresenhamLine(x_, y_, x, y, PixelWriter(target_, pen_.color));
    x_ = x;
    y_ = y;
}

} // namespace raster
