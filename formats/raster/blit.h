// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Block transfers between device contexts: BitBlt (same size), StretchBlt (scaled, with the
// destination's stretch mode) and PlgBlt (onto a parallelogram). Pixels are converted between the
// depths of the two bitmaps; palette destinations take the nearest colour of their colour table.
// Raster operations combine the colours channel by channel; the reserved byte of a 32-bit
// destination is copied by SRCCOPY between 32-bit bitmaps and is 0 otherwise.
#include "formats/raster/device_context.h"

namespace raster {

struct Point {
    int x = 0, y = 0;
};

// Copies w x h pixels from (sx, sy) of src to (x, y) of dst, clipped to both bitmaps. src may be
// null when the operation does not read a source. False when a needed bitmap is missing.
bool BitBlt(DeviceContext* dst, int x, int y, int w, int h, const DeviceContext* src, int sx, int sy,
            std::uint32_t rop);

// Scales the source rectangle (sx, sy, sw, sh) onto the destination rectangle (x, y, w, h). A negative
// extent covers the pixels before its origin (x + w ... x - 1) and mirrors along that axis; when the
// source and destination extents of one axis have opposite signs the picture is mirrored.
// HALFTONE: each target pixel is the area-weighted mean of the source pixels it covers, per channel,
// rounded half up. Other modes: the source pixel under the target pixel's centre.
// The source rectangle must lie inside the source bitmap (false otherwise); the destination is clipped.
bool StretchBlt(DeviceContext* dst, int x, int y, int w, int h, const DeviceContext* src, int sx, int sy, int sw,
                int sh, std::uint32_t rop);

// Draws the source rectangle (sx, sy, w, h) onto the parallelogram whose corners are the images of the
// rectangle's upper-left, upper-right and lower-left corners, points[0..2]. Each destination pixel
// takes the source pixel under the point its centre maps back to; pixels mapping outside the source
// rectangle are left alone. False for a missing bitmap, an empty rectangle or a flat parallelogram.
bool PlgBlt(DeviceContext* dst, const Point points[3], const DeviceContext* src, int sx, int sy, int w, int h);

// The result of a raster operation on one channel value.
std::uint8_t applyRop(std::uint32_t rop, std::uint8_t pattern, std::uint8_t source, std::uint8_t destination);
bool ropUsesSource(std::uint32_t rop);
bool ropUsesDestination(std::uint32_t rop);

} // namespace raster
