#pragma once
// LOCAL STAND-IN, TO BE REPLACED by the raster device contexts' StretchBlt in HALFTONE mode once
// they are available: shrinks or enlarges 32-bit pixels by area averaging, each destination pixel
// taking the mean of the source area it covers (weighted by coverage, rounded to nearest).
#include "pixel_rows.h"

#include <cstdint>

namespace jpeg {

// Writes dstWidth x dstHeight 32-bit pixels, rows of dstStride bytes from the top, at dst.
void halftoneStretch(const PixelRows& src, int dstWidth, int dstHeight, std::uint8_t* dst,
                     std::ptrdiff_t dstStride);

} // namespace jpeg
