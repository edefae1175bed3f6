#pragma once
// Pixel transfer between a bitmap of any depth and plain 32-bit top-down pixels
// (blue, green, red, reserved; rows of width * 4 bytes), as GetDIBits and SetDIBits do.
#include "bitmap.h"

#include <cstdint>
#include <vector>

namespace raster {

// Fills out (width * height * 4 bytes) with src's pixels, top row first. Palette depths are
// looked up in the colour table (an index past its end reads as black); the reserved byte is
// copied from 32-bit bitmaps and zero otherwise.
void getDIBits32(const Bitmap& src, std::uint8_t* out);

// Writes 32-bit top-down pixels (width * height * 4 bytes) into dst, converting to its depth.
// Palette depths take the nearest colour of dst's colour table.
void setDIBits32(Bitmap& dst, const std::uint8_t* in);

// Index of the colour-table entry nearest to (r, g, b) by squared distance; the first on ties.
// Returns 0 for an empty table.
int nearestColorIndex(const std::vector<Rgbq>& table, int r, int g, int b);

// A 32-bit top-down copy of any bitmap.
Bitmap toTopDown32(const Bitmap& src);

} // namespace raster
