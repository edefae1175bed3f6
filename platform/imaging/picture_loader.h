#pragma once
// Decodes picture files (BMP, GIF, JPEG and whatever else Qt's image readers take).
#include <QImage>
#include <QString>

namespace kavi {

// The picture upright (EXIF orientation applied) as Format_RGB32, or a null image when the file
// cannot be decoded or would not fit in memory (over half of it, or over 8 GB as 32-bit pixels).
QImage loadPicture(const QString& path);

} // namespace kavi
