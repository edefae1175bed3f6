// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bridges between Qt images and raster bitmaps. A 32-bit top-down bitmap and a Format_RGB32
// image share their byte layout, so the bridge is one copy of the rows.
#include "formats/raster/bitmap.h"

#include <QImage>

#include <memory>

namespace kavi {

// A 32-bit top-down bitmap with the image's pixels (converted to RGB32 first when needed; a picture
// with transparent parts laid over white paper, white_paper.h).
raster::Bitmap toBitmap(const QImage& image);
// A Format_RGB32 image with the bitmap's pixels, whatever its depth.
QImage toImage(const raster::Bitmap& bitmap);

// A 32-bit top-down bitmap over the image's own pixels, no copy, keeping the image alive; a copy
// (toBitmap) when the image's layout differs. The bitmap must not be drawn into (isBorrowed).
raster::Bitmap sharedBitmap(const QImage& image);
// A read-only Format_RGB32 image over a 32-bit top-down bitmap's pixels, no copy, keeping the
// bitmap alive; a copy (toImage) for other bitmaps. Drawing into the image copies it first.
QImage sharedImage(std::shared_ptr<const raster::Bitmap> bitmap);

} // namespace kavi
