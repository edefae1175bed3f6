// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Memory device contexts over raster bitmaps, with the pixel and colour-table calls that work on the
// selected bitmap. A context holds at most one selected bitmap (it does not own it), a stretch mode
// and a brush colour, the pattern of the raster operations that use one.
#include "formats/raster/bitmap.h"

#include <cstdint>

namespace raster {

// Raster operations: bits 16..23 are the truth table over pattern (0xF0), source (0xCC) and
// destination (0xAA); any such code may be passed, these are the named ones.
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t SRCPAINT = 0x00EE0086;
constexpr std::uint32_t SRCAND = 0x008800C6;
constexpr std::uint32_t SRCINVERT = 0x00660046;
constexpr std::uint32_t SRCERASE = 0x00440328;
constexpr std::uint32_t NOTSRCCOPY = 0x00330008;
constexpr std::uint32_t NOTSRCERASE = 0x001100A6;
constexpr std::uint32_t MERGECOPY = 0x00C000CA;
constexpr std::uint32_t MERGEPAINT = 0x00BB0226;
constexpr std::uint32_t PATCOPY = 0x00F00021;
constexpr std::uint32_t PATPAINT = 0x00FB0A09;
constexpr std::uint32_t PATINVERT = 0x005A0049;
constexpr std::uint32_t DSTINVERT = 0x00550009;
constexpr std::uint32_t BLACKNESS = 0x00000042;
constexpr std::uint32_t WHITENESS = 0x00FF0062;

// Stretch modes. BLACKONWHITE and WHITEONBLACK pick the nearest pixel like COLORONCOLOR.
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;

// The colour GetPixel returns for a point outside the bitmap (or with no bitmap selected).
constexpr std::int32_t CLR_INVALID = -1;

class DeviceContext {
public:
    Bitmap* bitmap() const { return bitmap_; }
    // Selects a bitmap (or none) and returns the one selected before.
    Bitmap* select(Bitmap* bitmap) {
        Bitmap* previous = bitmap_;
        bitmap_ = bitmap;
        return previous;
    }
    int stretchMode() const { return stretchMode_; }
    void setStretchMode(int mode) { stretchMode_ = mode; }
    ColorRef brushColor() const { return brush_; }
    void setBrushColor(ColorRef c) { brush_ = c & 0xFFFFFF; }

private:
    Bitmap* bitmap_ = nullptr;
    int stretchMode_ = BLACKONWHITE;
    ColorRef brush_ = 0xFFFFFF; // a new context paints with a white brush
};

// Selects bmp into dc and returns the bitmap selected before (nullptr for a null dc).
Bitmap* SelectObject(DeviceContext* dc, Bitmap* bmp);
// Sets the stretch mode; returns the previous mode, or 0 for a null dc or an unknown mode.
int SetStretchBltMode(DeviceContext* dc, int mode);

// Colour of a pixel (red + 256 * green + 65536 * blue), CLR_INVALID outside the bitmap.
std::int32_t GetPixel(const DeviceContext* dc, int x, int y);
// Sets a pixel to the nearest colour the bitmap can hold and returns that colour;
// CLR_INVALID outside the bitmap. A 32-bit pixel's reserved byte becomes 0.
std::int32_t SetPixel(DeviceContext* dc, int x, int y, ColorRef color);
bool SetPixelV(DeviceContext* dc, int x, int y, ColorRef color);

// Colour tables of the selected bitmap (palette depths only). The number of entries read or set;
// entries past 2^depth are neither read nor set.
int GetDIBColorTable(const DeviceContext* dc, int start, int count, Rgbq* out);
int SetDIBColorTable(DeviceContext* dc, int start, int count, const Rgbq* in);

} // namespace raster
