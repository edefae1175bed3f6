// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pixel transfer between a bitmap of any depth and plain 32-bit top-down pixels
// (blue, green, red, reserved; rows of width * 4 bytes), as GetDIBits and SetDIBits do.
#include "formats/raster/bitmap.h"

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

// Nearest-colour matching into one colour table, remembering recent answers so that pictures with
// many pixels of few colours do not search the table for each pixel.
class ColorMatcher {
public:
    explicit ColorMatcher(const std::vector<Rgbq>& table);
    int index(int r, int g, int b);

private:
    static constexpr std::size_t kSlots = 4096; // the cache is made on the first lookup
    const std::vector<Rgbq>& table_;
    std::vector<std::uint32_t> keys_;
    std::vector<std::uint8_t> values_;
};

// Reads n pixels of row y (counted from the top) starting at column x as 32-bit pixels.
// The caller keeps the span inside the bitmap.
void readPixels32(const Bitmap& src, int x, int y, int n, std::uint8_t* out);

// Writes n 32-bit pixels into row y (from the top) starting at column x, converting to the bitmap's
// depth; palette depths take the nearest entry through the matcher made for the bitmap's table.
void writePixels32(Bitmap& dst, int x, int y, int n, const std::uint8_t* in, ColorMatcher& matcher);

// A 32-bit top-down copy of any bitmap.
Bitmap toTopDown32(const Bitmap& src);

} // namespace raster
