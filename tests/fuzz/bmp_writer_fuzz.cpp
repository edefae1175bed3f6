// SPDX-License-Identifier: GPL-3.0-or-later
// Our BMP writer over random bitmaps of every depth: Qt's reader takes the file back with the
// bitmap's size and, pixel for pixel, its colours.
#include "tests/fuzz/random_bitmap.h"

#include "formats/raster/dib_bits.h"
#include "output/scan/bmp_writer.h"

#include <QImage>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 8 * 1024) return 0;
    fuzz::ensureQtApplication();
    fuzz::Input in(data, size);
    const raster::Bitmap bitmap = fuzz::randomBitmap(in, 300);
    const std::uint32_t resolution = std::uint32_t(in.inRange(0, 20000));
    const std::vector<std::uint8_t> file = kavi::encodeBmp24(bitmap, resolution, resolution);
    FUZZ_CHECK(!file.empty(), "a bitmap of a small size gives no file");

    const QImage decoded = QImage::fromData(file.data(), int(file.size()), "BMP");
    FUZZ_CHECK(!decoded.isNull(), "the BMP file does not decode");
    FUZZ_CHECK(decoded.width() == bitmap.width() && decoded.height() == bitmap.height(),
               "the BMP file has another size");
    const raster::Bitmap expected = raster::toTopDown32(bitmap);
    const QImage rgb = decoded.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* want = expected.row(y);
        const QRgb* got = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < bitmap.width(); ++x, want += 4)
            FUZZ_CHECK(qBlue(got[x]) == want[0] && qGreen(got[x]) == want[1] && qRed(got[x]) == want[2],
                       "a pixel of the BMP file differs");
    }
    return 0;
}
