// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns drawn pixels into quantized coefficient blocks, several components in one pass over the
// source: colour conversion into floats, edge replication up to whole blocks, forward DCT and
// quantization, and the counting of each block's AC symbols while it is still in the cache.
#include "jpeg/block_average.h"
#include "jpeg/component_symbols.h"
#include "jpeg/pixel_rows.h"
#include "jpeg/quant_tables.h"

#include <cstdint>
#include <vector>

namespace jpeg {

// One row of the colour conversion table: value = r * R + g * G + b * B + offset.
struct ColourRow {
    float r, g, b, offset;
};
extern const ColourRow kLuminanceRow; // Y, level shift included
extern const ColourRow kBlueRow; // Cb
extern const ColourRow kRedRow; // Cr

// One component of a transform. Its samples are the source's pixels, or with a whole reduction
// the means of their blocks (the source's size divided by the factors), made row by row as they
// are needed. Blocks beyond the samples are filled by replicating the last real column, then the
// last real row. The component's blocksWide * blocksHigh blocks of 64 coefficients go to store in
// zig-zag order, blocks in raster order; symbols, when given, receives their AC symbol counts and
// DC coefficients.
struct TransformTarget {
    ColourRow colour{};
    const Divisors* divisors = nullptr;
    int blocksWide = 0, blocksHigh = 0;
    std::int16_t* store = nullptr; // 64-byte aligned
    Reduction reduction;
    ComponentSymbols* symbols = nullptr;
};

// Transforms every target from the same source, reading each band of source rows once for all
// of them, on several threads. Components of the same reduction share its block means.
void transformComponents(const PixelRows& pixels, const std::vector<TransformTarget>& targets);

} // namespace jpeg
