#pragma once
// Decodes picture files (BMP, GIF, JPEG and whatever else Qt's image readers take).
#include <QImage>
#include <QString>

namespace kavi {

// The picture upright (EXIF orientation applied) as Format_RGB32, or a null image when the file
// cannot be decoded. Pictures as large as memory allows are accepted.
QImage loadPicture(const QString& path);

} // namespace kavi
