#pragma once
// Our own Windows BMP writer: 24 bits per pixel, rows bottom-up and padded to 4 bytes, behind a
// 54-byte header. It is used where a picture is saved without the image-file encoders.
#include "raster/bitmap.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

namespace kavi {

// The file's bytes for a bitmap of any depth; empty for a null bitmap or one too large for the format.
std::vector<std::uint8_t> encodeBmp24(const raster::Bitmap& bitmap);

// Writes the picture to path, whole or not at all. False for a null picture or a failed write.
bool savePictureAsBmp(const QImage& picture, const QString& path);

} // namespace kavi
