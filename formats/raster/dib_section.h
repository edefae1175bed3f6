// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Device-independent bitmap descriptions and the transfers through them: making a bitmap from a
// description (CreateDIBSection) and reading or writing a bitmap's scan lines in any described
// format (GetDIBits, SetDIBits), converting between 1, 4, 8, 24 and 32 bits per pixel.
#include "formats/raster/bitmap.h"
#include "formats/raster/device_context.h"

#include <array>
#include <cstdint>
#include <memory>

namespace raster {

constexpr std::uint32_t BI_RGB = 0;
constexpr unsigned DIB_RGB_COLORS = 0;

struct BitmapInfoHeader {
    std::uint32_t biSize = 40;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0; // positive: bottom-up rows; negative: top-down
    std::uint16_t biPlanes = 1;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = BI_RGB;
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;
};

struct BitmapInfo {
    BitmapInfoHeader bmiHeader;
    std::array<Rgbq, 256> bmiColors{};
};

// Colour-table entries a description carries: biClrUsed, or 2^depth when that is 0, for palette depths.
int colorTableSize(const BitmapInfoHeader& header);

// A bitmap laid out as the description says, pixels zero, colour table from the description. Null
// for an unsupported depth or compression, a zero or negative width, a zero height or a size that
// does not fit memory. *bits (when given) receives the pixel memory.
std::unique_ptr<Bitmap> CreateDIBSection(const DeviceContext* dc, const BitmapInfo& info, unsigned usage,
                                         std::uint8_t** bits);

// Reads scan lines [start, start + lines) of the bitmap into bits (scan `start` first), laid out as info describes
// (its width must be the bitmap's; scan 0 is the bottom row of a bottom-up description and the top row
// of a top-down one). Palette formats take the nearest entries of info's colour table. Returns the
// number of lines copied, 0 on failure. With bits null only info's header is filled in.
int GetDIBits(const DeviceContext* dc, const Bitmap& bitmap, int start, int lines, std::uint8_t* bits, BitmapInfo& info,
              unsigned usage);

// Writes scan lines [start, start + lines), laid out as info describes and scan `start` first in bits,
// into the bitmap, converting to its depth.
// Returns the number of lines written, 0 on failure.
int SetDIBits(const DeviceContext* dc, Bitmap& bitmap, int start, int lines, const std::uint8_t* bits,
              const BitmapInfo& info, unsigned usage);

} // namespace raster
