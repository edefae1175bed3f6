// SPDX-License-Identifier: GPL-3.0-or-later
// cJpeg over random pictures, rectangles, sampling factors and qualities: whenever the setters
// accept the input the file decodes with the sampled rectangle's size. libjpeg upsamples only by
// whole factors, so a layout with a fractional ratio (luminance 3, chrominance 2) is encoded but
// not decoded here.
#include "tests/fuzz/random_bitmap.h"

#include "formats/raster/device_context.h"
#include "jpeg/cjpeg.h"
#include "jpeg/jpeg_error.h"

#include <QImage>

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 8 * 1024) return 0;
    fuzz::ensureQtApplication();
    fuzz::Input in(data, size);
    int f[6];
    for (int& v : f) v = in.inRange(0, 5); // 0 and 5 are out of range but for an all-zero chrominance
    const int quality = in.inRange(-5, 105);
    const int width = in.inRange(1, 200), height = in.inRange(1, 200);
    const int left = in.inRange(-40, 160), top = in.inRange(-40, 160);
    raster::Bitmap bitmap = fuzz::randomBitmap(in, 160);

    jpeg::cJpeg encoder;
    encoder.quality(quality);
    try {
        encoder.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]);
    } catch (const jpeg::JpegError&) {
        const bool valid = [&] {
            const auto ok = [](int v) { return v >= 1 && v <= 4; };
            if (!ok(f[0]) || !ok(f[1])) return false;
            return (f[2] | f[3] | f[4] | f[5]) == 0 || std::all_of(f + 2, f + 6, ok);
        }();
        FUZZ_CHECK(!valid, "valid sampling factors were refused");
        return 0;
    }
    raster::DeviceContext dc;
    dc.select(&bitmap);
    FUZZ_CHECK(encoder.SampleHDC(&dc, width, height, left, top) == 0, "a small rectangle could not be sampled");
    const std::vector<std::uint8_t> file = encoder.EncodeToMemory();

    const bool grey = (f[2] | f[3] | f[4] | f[5]) == 0;
    const int hMax = grey ? 1 : std::max({f[0], f[2], f[4]}), vMax = grey ? 1 : std::max({f[1], f[3], f[5]});
    bool whole = true;
    if (!grey)
        for (int c = 0; c < 3; ++c) whole = whole && hMax % f[2 * c] == 0 && vMax % f[2 * c + 1] == 0;
    if (!whole) return 0;
    const QImage decoded = QImage::fromData(file.data(), int(file.size()), "JPEG");
    FUZZ_CHECK(!decoded.isNull(), "the JPEG file does not decode");
    FUZZ_CHECK(decoded.width() == width && decoded.height() == height, "the JPEG file has another size");
    return 0;
}
