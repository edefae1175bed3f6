#include "picture_loader.h"

#include <QImageReader>

namespace kavi {

QImage loadPicture(const QString& path) {
    // Qt refuses pictures over 256 MB by default; a large scan or photo must still open.
    QImageReader::setAllocationLimit(0);
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull()) return {};
    if (image.format() != QImage::Format_RGB32) image.convertTo(QImage::Format_RGB32);
    return image;
}

} // namespace kavi
