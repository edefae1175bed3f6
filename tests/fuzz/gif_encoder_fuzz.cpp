// SPDX-License-Identifier: GPL-3.0-or-later
// The GIF path of the image encoders over random pictures: the file decodes with Qt's reader at
// the picture's size, and a picture of few colours keeps them exactly.
#include "tests/fuzz/random_bitmap.h"

#include "platform/imaging/image_encoders.h"
#include "platform/imaging/qt_raster.h"

#include <QImage>
#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 8 * 1024) return 0;
    fuzz::ensureQtApplication();
    fuzz::Input in(data, size);
    const QImage picture = kavi::toImage(fuzz::randomBitmap(in, 200));
    const kavi::EncodedImage gif = kavi::encodeGif(picture);
    FUZZ_CHECK(gif.status == kavi::StatusOk, "a small picture could not be encoded");

    const QImage decoded = QImage::fromData(gif.bytes, "GIF");
    FUZZ_CHECK(!decoded.isNull(), "the GIF file does not decode");
    FUZZ_CHECK(decoded.size() == picture.size(), "the GIF file has another size");

    QSet<QRgb> colours;
    for (int y = 0; y < picture.height() && colours.size() <= 256; ++y)
        for (int x = 0; x < picture.width(); ++x) colours.insert(picture.pixel(x, y) | 0xFF000000u);
    if (colours.size() > 256) return 0;
    const QImage rgb = decoded.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            FUZZ_CHECK((rgb.pixel(x, y) | 0xFF000000u) == (picture.pixel(x, y) | 0xFF000000u),
                       "a picture of 256 colours or fewer changed colour");
    return 0;
}
