#pragma once
// Turns the drawn pixels of one component into quantized coefficient blocks: colour conversion
// into floats, edge replication up to whole blocks, forward DCT and quantization.
#include "block_average.h"
#include "pixel_rows.h"
#include "quant_tables.h"

#include <cstdint>

namespace jpeg {

// One row of the colour conversion table: value = r * R + g * G + b * B + offset.
struct ColourRow {
    float r, g, b, offset;
};
extern const ColourRow kLuminanceRow;  // Y, level shift included
extern const ColourRow kBlueRow;       // Cb
extern const ColourRow kRedRow;        // Cr

// pixels holds the component's real samples (its sampled width and height); blocks beyond them
// are filled by replicating the last real column, then the last real row. Writes
// blocksWide * blocksHigh blocks of 64 coefficients in zig-zag order, blocks in raster order.
// With a whole reduction, pixels are the full-size source and the component's samples are the
// means of its blocks (pixels' size divided by the factors), made row by row as they are needed.
void transformComponent(const PixelRows& pixels, const ColourRow& colour, const Divisors& divisors,
                        int blocksWide, int blocksHigh, std::int16_t* store, Reduction reduction = {});

} // namespace jpeg
