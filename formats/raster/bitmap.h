// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one bitmap type of the program, laid out like a device-independent bitmap: 1, 4, 8, 24 or
// 32 bits per pixel, an optional colour table, rows padded to 4 bytes, stored bottom-up or top-down.
// A 32-bit top-down bitmap has the bytes of QImage::Format_RGB32 (blue, green, red, reserved).
#include "formats/raster/pixel_memory.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace raster {

struct Rgbq {
    std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
    bool operator==(const Rgbq&) const = default;
};

enum class RowOrder { BottomUp, TopDown };

// Colour value as the rest of the program uses it: red + 256 * green + 65536 * blue.
using ColorRef = std::uint32_t;
constexpr ColorRef rgb(int r, int g, int b) {
    return ColorRef(r & 255) | (ColorRef(g & 255) << 8) | (ColorRef(b & 255) << 16);
}
constexpr int redOf(ColorRef c) { return int(c & 255); }
constexpr int greenOf(ColorRef c) { return int((c >> 8) & 255); }
constexpr int blueOf(ColorRef c) { return int((c >> 16) & 255); }

class Bitmap {
public:
    Bitmap() = default;
    // A new bitmap, all pixels zero. Throws std::invalid_argument for an unsupported depth or a
    // negative size, std::length_error when the size does not fit memory sizes.
    Bitmap(int width, int height, int bitsPerPixel, RowOrder order = RowOrder::TopDown,
           std::vector<Rgbq> colorTable = {});

    // A 32-bit top-down bitmap over memory held elsewhere (see PixelMemory::borrowed), rows of
    // width * 4 bytes; throws std::invalid_argument when the memory is too small.
    Bitmap(int width, int height, PixelMemory borrowed);

    Bitmap(const Bitmap& other);
    // Reuses this bitmap's pixel memory when the sizes match, so no page is touched for the first time.
    Bitmap& operator=(const Bitmap& other);
    Bitmap(Bitmap&&) noexcept = default;
    Bitmap& operator=(Bitmap&&) noexcept = default;

    bool isNull() const { return width_ <= 0 || height_ <= 0; }
    int width() const { return width_; }
    int height() const { return height_; }
    int bitsPerPixel() const { return bpp_; }
    RowOrder rowOrder() const { return order_; }
    std::size_t stride() const { return stride_; }
    std::size_t byteCount() const { return stride_ * std::size_t(height_ > 0 ? height_ : 0); }

    // Bytes in memory order (the bottom row first for a bottom-up bitmap).
    std::uint8_t* bits() { return memory_.data(); }
    const std::uint8_t* bits() const { return memory_.data(); }

    // Row y counted from the top of the picture, whatever the row order.
    std::uint8_t* row(int y) { return bits() + stride_ * std::size_t(memoryRow(y)); }
    const std::uint8_t* row(int y) const { return bits() + stride_ * std::size_t(memoryRow(y)); }

    // True for a bitmap over memory held elsewhere: its pixels must be copied before drawing into them.
    bool isBorrowed() const { return memory_.isBorrowed(); }

    const std::vector<Rgbq>& colorTable() const { return colors_; }
    void setColorTable(std::vector<Rgbq> table) { colors_ = std::move(table); }

    // Gives the bitmap a new width and height that take the same number of bytes (a 32-bit picture
    // turned a quarter), keeping its memory and bytes. False, with nothing changed, otherwise.
    bool reshape(int width, int height);

    // Bytes per row for a width and depth, padded to 4 bytes; 0 when it does not fit.
    static std::size_t strideFor(int width, int bitsPerPixel);
    static bool isSupportedDepth(int bitsPerPixel);

private:
    int memoryRow(int y) const { return order_ == RowOrder::TopDown ? y : height_ - 1 - y; }

    int width_ = 0;
    int height_ = 0;
    int bpp_ = 32;
    RowOrder order_ = RowOrder::TopDown;
    std::size_t stride_ = 0;
    std::vector<Rgbq> colors_;
    PixelMemory memory_;
};

} // namespace raster
