// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Our own Windows BMP writer: 24 bits per pixel, rows bottom-up and padded to 4 bytes, behind a
// 54-byte header. It is used where a picture is saved without the image-file encoders.
#include "formats/raster/bitmap.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

namespace kavi {

// The resolution written when a picture carries none: 96 dots per inch.
constexpr std::uint32_t kDefaultPixelsPerMetre = 3780;

// The file's bytes for a bitmap of any depth; empty for a null bitmap or one too large for the format.
std::vector<std::uint8_t> encodeBmp24(const raster::Bitmap& bitmap,
                                      std::uint32_t pixelsPerMetreX = kDefaultPixelsPerMetre,
                                      std::uint32_t pixelsPerMetreY = kDefaultPixelsPerMetre);

// Writes the picture to path, whole or not at all, with the picture's resolution when it carries
// one. False for a null picture or a failed write.
bool savePictureAsBmp(const QImage& picture, const QString& path);

} // namespace kavi
