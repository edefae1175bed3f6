// Encodes a 4000 x 3000 photograph-like picture at quality 85 with 2 x 2 chroma sampling:
// cJpeg's SampleHDC plus the file's bytes in memory, against libjpeg-turbo through its API with
// JDCT_FLOAT and optimize_coding on the same pixels and the same quantization tables.
// Prints the median of each and their ratio, and where cJpeg's time goes.
#include "cjpeg.h"
#include "photo_picture.h"
#include "quant_tables.h"

#include "raster/blit.h"
#include "raster/dib_section.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

using Clock = std::chrono::steady_clock;

double millisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::size_t encodeWithLibjpeg(const raster::Bitmap& bmp, const jpeg::cJpeg& tablesFrom) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(bmp.width());
    cinfo.image_height = JDIMENSION(bmp.height());
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&cinfo);  // YCbCr, 2 x 2 luminance sampling
    for (int slot = 0; slot < 2; ++slot) {
        unsigned natural[64];
        const jpeg::Table64& zz = tablesFrom.QuantizationTable(slot);
        for (int k = 0; k < 64; ++k) natural[jpeg::kZigzagToNatural[k]] = zz[k];
        jpeg_add_quant_table(&cinfo, slot, natural, 100, TRUE);
    }
    cinfo.dct_method = JDCT_FLOAT;
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(bmp.row(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::free(out);
    return size;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 9;
    const raster::Bitmap picture = jpegtest::photoPicture(4000, 3000);
    jpeg::cJpeg encoder;
    encoder.quality(85);
    encoder.SetSamplingFrequencies(2, 2, 1, 1, 1, 1);

    std::vector<double> ours, sample, save, anchor, stretch;
    std::size_t ourBytes = 0, anchorBytes = 0;
    for (int i = 0; i < runs; ++i) {
        // Alternate the order so neither side always runs on a warmer cache.
        const auto runOurs = [&] {
            const auto t0 = Clock::now();
            if (encoder.SampleHDC(jpegtest::MemoryDc(picture), picture.width(), picture.height(), 0, 0) != 0)
                std::abort();
            const double sampled = millisSince(t0);
            const auto t1 = Clock::now();
            ourBytes = encoder.EncodeToMemory().size();
            const double saved = millisSince(t1);
            sample.push_back(sampled);
            save.push_back(saved);
            ours.push_back(sampled + saved);
        };
        const auto runAnchor = [&] {
            const auto t0 = Clock::now();
            anchorBytes = encodeWithLibjpeg(picture, encoder);
            anchor.push_back(millisSince(t0));
        };
        if (i % 2) { runOurs(); runAnchor(); } else { runAnchor(); runOurs(); }

        // The share of SampleHDC spent in the HALFTONE stretch of the chroma (its first step).
        raster::DeviceContext source, target;
        raster::SelectObject(&source, const_cast<raster::Bitmap*>(&picture));
        raster::BitmapInfo info;
        info.bmiHeader.biWidth = 2000;
        info.bmiHeader.biHeight = -1504;
        info.bmiHeader.biBitCount = 32;
        const auto scratch = raster::CreateDIBSection(&target, info, raster::DIB_RGB_COLORS, nullptr);
        raster::SelectObject(&target, scratch.get());
        raster::SetStretchBltMode(&target, raster::HALFTONE);
        const auto t0 = Clock::now();
        raster::StretchBlt(&target, 0, 4, 2000, 1500, &source, 0, 0, 4000, 3000, raster::SRCCOPY);
        stretch.push_back(millisSince(t0));
    }
    std::printf("4000 x 3000, quality 85, 2x2 sampling, median of %d runs\n", runs);
    std::printf("cJpeg          %8.1f ms  (SampleHDC %.1f ms, SaveFile to memory %.1f ms)  %zu bytes\n",
                median(ours), median(sample), median(save), ourBytes);
    std::printf("  of which the HALFTONE StretchBlt of the chroma: %.1f ms\n", median(stretch));
    std::printf("libjpeg-turbo  %8.1f ms  (JDCT_FLOAT, optimize_coding)  %zu bytes\n", median(anchor),
                anchorBytes);
    std::printf("ratio cJpeg / libjpeg-turbo: %.2f\n", median(ours) / median(anchor));
    return 0;
}
