// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A bitmap of random size, depth, row order, colour table and pixels, all taken from the input.
#include "tests/fuzz/fuzz_support.h"

#include "formats/raster/bitmap.h"

#include <cstring>

namespace fuzz {

inline raster::Bitmap randomBitmap(Input& in, int largestSide) {
    static const int depths[] = {1, 4, 8, 24, 32};
    const int width = in.inRange(1, largestSide);
    const int height = in.inRange(1, largestSide);
    const int bpp = depths[in.inRange(0, 4)];
    const raster::RowOrder order = in.byte() & 1 ? raster::RowOrder::BottomUp : raster::RowOrder::TopDown;
    std::vector<raster::Rgbq> table;
    if (bpp <= 8) {
        // Any length up to the full table, so that indices past its end occur too.
        table.resize(std::size_t(in.inRange(0, 1 << bpp)));
        for (raster::Rgbq& c : table) c = {in.byte(), in.byte(), in.byte(), 0};
    }
    raster::Bitmap bitmap(width, height, bpp, order, table);
    // The rest of the input fills the pixels, repeated when it is short.
    const std::uint8_t* fill = in.rest();
    const std::size_t fillSize = in.restSize();
    for (std::size_t i = 0; i < bitmap.byteCount(); ++i)
        bitmap.bits()[i] = fillSize ? fill[i % fillSize] : std::uint8_t(i * 37);
    return bitmap;
}

} // namespace fuzz
