// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/scan/bmp_writer.h"

#include "formats/raster/dib_bits.h"
#include "platform/files/atomic_file.h"
#include "platform/imaging/picture_resolution.h"
#include "platform/imaging/qt_raster.h"

#include <QByteArray>

#include <limits>

namespace kavi {

namespace {

void put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    put16(p, v);
    put16(p + 2, v >> 16);
}

constexpr std::uint32_t kHeaderBytes = 14 + 40;

} // namespace

std::vector<std::uint8_t> encodeBmp24(const raster::Bitmap& bitmap, std::uint32_t pixelsPerMetreX,
                                      std::uint32_t pixelsPerMetreY) {
    if (bitmap.isNull()) return {};
    const std::uint64_t stride = (std::uint64_t(bitmap.width()) * 3 + 3) & ~std::uint64_t(3);
    const std::uint64_t imageBytes = stride * std::uint64_t(bitmap.height());
    if (imageBytes + kHeaderBytes > std::numeric_limits<std::uint32_t>::max()) return {};

    std::vector<std::uint8_t> file(kHeaderBytes + imageBytes, 0);
    std::uint8_t* h = file.data();
    h[0] = 'B';
    h[1] = 'M';
    put32(h + 2, std::uint32_t(file.size()));
    put32(h + 10, kHeaderBytes);
    put32(h + 14, 40);
    put32(h + 18, std::uint32_t(bitmap.width()));
    put32(h + 22, std::uint32_t(bitmap.height())); // positive: bottom-up rows
    put16(h + 26, 1);
    put16(h + 28, 24);
    put32(h + 34, std::uint32_t(imageBytes));
    put32(h + 38, pixelsPerMetreX);
    put32(h + 42, pixelsPerMetreY);

    const raster::Bitmap* source = &bitmap;
    raster::Bitmap converted;
    if (bitmap.bitsPerPixel() != 32) {
        converted = raster::toTopDown32(bitmap);
        source = &converted;
    }
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* in = source->row(y);
        std::uint8_t* out = h + kHeaderBytes + stride * std::uint64_t(bitmap.height() - 1 - y);
        for (int x = 0; x < bitmap.width(); ++x, in += 4, out += 3) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
    }
    return file;
}

bool savePictureAsBmp(const QImage& picture, const QString& path) {
    if (picture.isNull()) return false;
    const std::optional<QSize> dots = knownDotsPerMetre(picture);
    const std::vector<std::uint8_t> bytes = dots
        ? encodeBmp24(toBitmap(picture), std::uint32_t(dots->width()), std::uint32_t(dots->height()))
        : encodeBmp24(toBitmap(picture));
    if (bytes.empty()) return false;
    const QByteArray data =
        QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    return writeFileAtomically(path, data);
}

} // namespace kavi
