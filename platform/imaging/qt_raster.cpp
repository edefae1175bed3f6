// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imaging/qt_raster.h"

#include "formats/raster/dib_bits.h"
#include "platform/imaging/white_paper.h"

#include <cstring>

namespace kavi {

raster::Bitmap toBitmap(const QImage& source) {
    if (source.isNull()) return {};
    // A bitmap has no transparency: a picture with transparent parts comes as it looks on paper.
    const QImage image = onWhitePaper(source);
    if (image.isNull()) return {};
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

raster::Bitmap sharedBitmap(const QImage& image) {
    const bool sameLayout = image.format() == QImage::Format_RGB32 &&
        image.bytesPerLine() == qsizetype(raster::Bitmap::strideFor(image.width(), 32));
    if (image.isNull() || !sameLayout) return toBitmap(image);
    auto keeper = std::make_shared<const QImage>(image); // shares the pixels; never detached here
    auto* pixels = const_cast<std::uint8_t*>(keeper->constBits());
    const auto bytes = std::size_t(keeper->sizeInBytes());
    return raster::Bitmap(image.width(), image.height(),
                          raster::PixelMemory::borrowed(pixels, bytes, std::move(keeper)));
}

namespace {
void releaseBitmap(void* holder) { delete static_cast<std::shared_ptr<const raster::Bitmap>*>(holder); }
} // namespace

QImage sharedImage(std::shared_ptr<const raster::Bitmap> bitmap) {
    if (!bitmap || bitmap->isNull()) return {};
    if (bitmap->bitsPerPixel() != 32 || bitmap->rowOrder() != raster::RowOrder::TopDown) return toImage(*bitmap);
    const raster::Bitmap& b = *bitmap;
    auto* holder = new std::shared_ptr<const raster::Bitmap>(std::move(bitmap));
    QImage image(b.bits(), b.width(), b.height(), qsizetype(b.stride()), QImage::Format_RGB32, releaseBitmap, holder);
    if (image.isNull()) {
        delete holder;
        return {};
    }
    return image;
}

} // namespace kavi
