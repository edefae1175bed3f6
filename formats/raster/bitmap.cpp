// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/raster/bitmap.h"

#include <cstring>
#include <limits>
#include <stdexcept>

namespace raster {

bool Bitmap::isSupportedDepth(int bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24 || bpp == 32; }

std::size_t Bitmap::strideFor(int width, int bpp) {
    if (width < 0 || !isSupportedDepth(bpp)) return 0;
    const std::uint64_t bits = std::uint64_t(width) * std::uint64_t(bpp);
    const std::uint64_t bytes = (bits + 31) / 32 * 4;
    if (bytes > std::numeric_limits<std::size_t>::max()) return 0;
    return std::size_t(bytes);
}

Bitmap::Bitmap(int width, int height, int bpp, RowOrder order, std::vector<Rgbq> colorTable)
    : width_(width), height_(height), bpp_(bpp), order_(order), colors_(std::move(colorTable)) {
    if (!isSupportedDepth(bpp)) throw std::invalid_argument("unsupported bitmap depth");
    if (width < 0 || height < 0) throw std::invalid_argument("negative bitmap size");
    stride_ = strideFor(width, bpp);
    if (height > 0 && stride_ > std::numeric_limits<std::size_t>::max() / std::size_t(height))
        throw std::length_error("bitmap too large");
    memory_ = PixelMemory(byteCount());
}

Bitmap::Bitmap(int width, int height, PixelMemory borrowed)
    : width_(width), height_(height), bpp_(32), order_(RowOrder::TopDown), stride_(strideFor(width, 32)),
      memory_(std::move(borrowed)) {
    if (width < 0 || height < 0 || memory_.size() < byteCount()) throw std::invalid_argument("bitmap memory too small");
}

Bitmap::Bitmap(const Bitmap& other)
    : width_(other.width_), height_(other.height_), bpp_(other.bpp_), order_(other.order_), stride_(other.stride_),
      colors_(other.colors_), memory_(other.byteCount(), PixelMemory::Unfilled{}) {
    if (other.byteCount()) std::memcpy(memory_.data(), other.memory_.data(), other.byteCount());
}

Bitmap& Bitmap::operator=(const Bitmap& other) {
    if (this == &other) return *this;
    // Memory held elsewhere is never written: this bitmap gets its own.
    if (memory_.size() != other.byteCount() || memory_.isBorrowed())
        memory_ = PixelMemory(other.byteCount(), PixelMemory::Unfilled{});
    width_ = other.width_;
    height_ = other.height_;
    bpp_ = other.bpp_;
    order_ = other.order_;
    stride_ = other.stride_;
    colors_ = other.colors_;
    if (other.byteCount()) std::memcpy(memory_.data(), other.memory_.data(), other.byteCount());
    return *this;
}

bool Bitmap::reshape(int width, int height) {
    if (width < 0 || height < 0) return false;
    const std::size_t stride = strideFor(width, bpp_);
    if (height > 0 && stride > std::numeric_limits<std::size_t>::max() / std::size_t(height)) return false;
    if (stride * std::size_t(height) != byteCount()) return false;
    width_ = width;
    height_ = height;
    stride_ = stride;
    return true;
}

} // namespace raster
