#pragma once
// Bridges between Qt images and raster bitmaps. A 32-bit top-down bitmap and a Format_RGB32
// image share their byte layout, so the bridge is one copy of the rows.
#include "raster/bitmap.h"

#include <QImage>

namespace kavi {

// A 32-bit top-down bitmap with the image's pixels (converted to RGB32 first when needed).
raster::Bitmap toBitmap(const QImage& image);
// A Format_RGB32 image with the bitmap's pixels, whatever its depth.
QImage toImage(const raster::Bitmap& bitmap);

} // namespace kavi
