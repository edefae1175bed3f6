// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reduction of a picture by whole-number factors, as the HALFTONE stretch computes it: each
// target pixel is the mean of its block of source pixels, rounded half up, per colour channel.
#include "jpeg/pixel_rows.h"

#include <cstdint>

namespace jpeg {

// The factors (fx, fy) by which source reduces to width x height, when both are whole, 1, 2 or
// 4, and not both 1; {0, 0} for any other pair of sizes.
struct Reduction {
    int fx = 0, fy = 0;
    bool whole() const { return fx > 0; }
};
Reduction wholeReduction(int sourceWidth, int sourceHeight, int width, int height);

// Row y of the reduction of source by r: width 32-bit pixels into out, reserved bytes 0.
void averageRow(const PixelRows& source, Reduction r, int y, int width, std::uint8_t* out);

// The whole reduction into target (its width and height), on several threads. Returns false,
// writing nothing, when the sizes are not a whole reduction.
bool averageBlocks(const PixelRows& source, const PixelRows& target);

} // namespace jpeg
