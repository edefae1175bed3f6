// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A byte grid laid out exactly like a 32-bit top-down bitmap: four bytes a pixel (blue, green,
// red, reserved), rows of width * 4 bytes with no padding, the top row first.
#include <cstddef>
#include <cstdint>

namespace Module4 {

class PixelGrid {
public:
    PixelGrid() = default;
    ~PixelGrid();
    PixelGrid(const PixelGrid&) = delete;
    PixelGrid& operator=(const PixelGrid&) = delete;

    // Gives the grid width x height pixels, all bytes zero. Throws std::bad_alloc when the memory
    // cannot be had; the grid is then empty.
    void sizeTo(int width, int height);
    // Back to 2 x 2 pixels, giving the big block back to the system.
    void shrink() { sizeTo(2, 2); }
    // Makes the grid a view of width x height pixels in memory held elsewhere, laid out like the
    // grid's own; the grid never frees it. The next sizeTo or shrink lets go of the view.
    void borrow(std::uint8_t* pixels, int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    std::size_t byteCount() const { return bytes_; }
    std::size_t rowBytes() const { return std::size_t(width_) * 4; }

    std::uint8_t* data() { return data_; }
    const std::uint8_t* data() const { return data_; }
    // Row y counted from 0 at the top.
    std::uint8_t* row(int y) { return data_ + std::size_t(y) * rowBytes(); }
    const std::uint8_t* row(int y) const { return data_ + std::size_t(y) * rowBytes(); }

private:
    void release();

    int width_ = 0;
    int height_ = 0;
    std::size_t bytes_ = 0;
    std::uint8_t* data_ = nullptr;
    std::size_t mappedBytes_ = 0; // non-zero when data_ is a mapping of its own
    bool borrowed_ = false; // data_ belongs to somebody else
};

} // namespace Module4
