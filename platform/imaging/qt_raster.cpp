#include "qt_raster.h"

#include "raster/dib_bits.h"

#include <cstring>

namespace kavi {

raster::Bitmap toBitmap(const QImage& source) {
    if (source.isNull()) return {};
    const QImage image = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
                             ? source
                             : source.convertToFormat(QImage::Format_RGB32);
    raster::Bitmap bitmap(image.width(), image.height(), 32, raster::RowOrder::TopDown);
    const std::size_t rowBytes = std::size_t(image.width()) * 4;
    for (int y = 0; y < image.height(); ++y) std::memcpy(bitmap.row(y), image.constScanLine(y), rowBytes);
    return bitmap;
}

QImage toImage(const raster::Bitmap& bitmap) {
    if (bitmap.isNull()) return {};
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_RGB32);
    if (image.isNull()) return {};
    if (bitmap.bitsPerPixel() == 32) {
        const std::size_t rowBytes = std::size_t(bitmap.width()) * 4;
        for (int y = 0; y < bitmap.height(); ++y) std::memcpy(image.scanLine(y), bitmap.row(y), rowBytes);
    } else {
        const raster::Bitmap top = raster::toTopDown32(bitmap);
        return toImage(top);
    }
    return image;
}

} // namespace kavi
