// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A read-only view of 32-bit pixels (blue, green, red, reserved) as rows from the top.
#include <cstddef>
#include <cstdint>

namespace jpeg {

struct PixelRows {
    const std::uint8_t* top = nullptr; // first byte of the top row
    std::ptrdiff_t stride = 0; // bytes from one row to the next one down (may be negative)
    int width = 0;
    int height = 0;

    const std::uint8_t* row(int y) const { return top + stride * y; }
};

} // namespace jpeg
