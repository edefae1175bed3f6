// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One image component: identifier, sampling factors, quantization table and its coefficients.
#include "formats/raster/pixel_memory.h"

#include <cstddef>
#include <cstdint>

namespace jpeg {

struct Component {
    int id = 1;
    int h = 1, v = 1; // sampling factors
    int table = 0; // quantization and Huffman table selector
    int width = 0, height = 0; // sampled size
    int blocksWide = 0, blocksHigh = 0;
    // blocksWide * blocksHigh blocks of 64 coefficients in zig-zag order, blocks in raster order.
    // Kept in pixel memory (huge pages) because a large picture's store is tens of megabytes.
    raster::PixelMemory store;

    std::size_t blockCount() const { return std::size_t(blocksWide) * std::size_t(blocksHigh); }
    const std::int16_t* block(int bx, int by) const {
        return reinterpret_cast<const std::int16_t*>(store.data()) +
            (std::size_t(by) * std::size_t(blocksWide) + std::size_t(bx)) * 64;
    }
};

} // namespace jpeg
