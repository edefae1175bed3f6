#pragma once
// The reduction of a picture by whole-number factors, as the HALFTONE stretch computes it: each
// target pixel is the mean of its block of source pixels, rounded half up, per colour channel.
#include "pixel_rows.h"

namespace jpeg {

// Writes into target (32-bit pixels, reserved bytes 0) the means of source's fx x fy blocks,
// where source is exactly fx times target's width and fy times its height, fx and fy 1, 2 or 4
// and not both 1.
// Returns false, writing nothing, for any other pair of sizes.
bool averageBlocks(const PixelRows& source, const PixelRows& target);

} // namespace jpeg
