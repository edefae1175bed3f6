#pragma once
// A byte grid laid out exactly like a 32-bit top-down bitmap: four bytes a pixel (blue, green,
// red, reserved), rows of width * 4 bytes with no padding, the top row first.
#include "raster/pixel_memory.h"

#include <cstddef>
#include <cstdint>

namespace Module4 {

class PixelGrid {
public:
    // Gives the grid width x height pixels, all bytes zero. Throws std::bad_alloc when the memory
    // cannot be had; the grid is then empty.
    void sizeTo(int width, int height);
    // Back to 2 x 2 pixels, giving the big block back to the system.
    void shrink() { sizeTo(2, 2); }

    int width() const { return width_; }
    int height() const { return height_; }
    std::size_t byteCount() const { return memory_.size(); }
    std::size_t rowBytes() const { return std::size_t(width_) * 4; }

    std::uint8_t* data() { return memory_.data(); }
    const std::uint8_t* data() const { return memory_.data(); }
    // Row y counted from 0 at the top.
    std::uint8_t* row(int y) { return data() + std::size_t(y) * rowBytes(); }
    const std::uint8_t* row(int y) const { return data() + std::size_t(y) * rowBytes(); }

private:
    int width_ = 0;
    int height_ = 0;
    raster::PixelMemory memory_;
};

} // namespace Module4
