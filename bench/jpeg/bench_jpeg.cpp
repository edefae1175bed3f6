// SPDX-License-Identifier: GPL-3.0-or-later
// Encodes two 4000 x 3000 pictures at quality 85 with 2 x 2 chroma sampling: a synthetic
// photograph-like one and a plasma fractal that ImageMagick draws for this run
// (`convert -seed 1 plasma:fractal`). cJpeg's SampleHDC plus the file's bytes in memory, against
// libjpeg-turbo through its API with its accurate integer DCT (JDCT_ISLOW) and optimize_coding on
// the same pixels and the same quantization tables. Prints the median of each, where cJpeg's time
// goes, and the ratio against its target.
#include "jpeg/cjpeg.h"
#include "jpeg/quant_tables.h"
#include "jpeg/vector_level.h"
#include "tests/jpeg/photo_picture.h"

#include "formats/raster/parallel_parts.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

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
    jpeg_set_defaults(&cinfo); // YCbCr, 2 x 2 luminance sampling
    for (int slot = 0; slot < 2; ++slot) {
        unsigned natural[64];
        const jpeg::Table64& zz = tablesFrom.QuantizationTable(slot);
        for (int k = 0; k < 64; ++k) natural[jpeg::kZigzagToNatural[k]] = zz[k];
        jpeg_add_quant_table(&cinfo, slot, natural, 100, TRUE);
    }
    cinfo.dct_method = JDCT_ISLOW;
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

// The plasma fractal as a 32-bit picture, or an empty one when ImageMagick cannot draw it.
raster::Bitmap plasmaPicture(int width, int height) {
    char folder[] = "/tmp/bench_jpeg_XXXXXX";
    if (!mkdtemp(folder)) return {};
    const std::string file = std::string(folder) + "/plasma.ppm";
    const std::string command = "convert -seed 1 -size " + std::to_string(width) + "x" + std::to_string(height) +
        " plasma:fractal -depth 8 " + file + " 2>/dev/null";
    raster::Bitmap picture;
    if (std::system(command.c_str()) == 0) {
        if (FILE* in = std::fopen(file.c_str(), "rb")) {
            int w = 0, h = 0, maxval = 0;
            if (std::fscanf(in, "P6 %d %d %d", &w, &h, &maxval) == 3 && maxval == 255 && std::fgetc(in) != EOF &&
                w == width && h == height) {
                picture = raster::Bitmap(w, h, 32);
                std::vector<std::uint8_t> rgb(std::size_t(w) * 3);
                for (int y = 0; y < h; ++y) {
                    if (std::fread(rgb.data(), 1, rgb.size(), in) != rgb.size()) {
                        picture = {};
                        break;
                    }
                    std::uint8_t* row = picture.row(y);
                    for (int x = 0; x < w; ++x) {
                        row[4 * x] = rgb[3 * std::size_t(x) + 2];
                        row[4 * x + 1] = rgb[3 * std::size_t(x) + 1];
                        row[4 * x + 2] = rgb[3 * std::size_t(x)];
                        row[4 * x + 3] = 0;
                    }
                }
            }
            std::fclose(in);
        }
    }
    std::remove(file.c_str());
    rmdir(folder);
    return picture;
}

void benchmark(const char* name, const raster::Bitmap& picture, int runs) {
    jpeg::cJpeg encoder;
    encoder.quality(85);
    encoder.SetSamplingFrequencies(2, 2, 1, 1, 1, 1);

    std::vector<double> ours, sample, save, anchor;
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
        if (i % 2) {
            runOurs();
            runAnchor();
        } else {
            runAnchor();
            runOurs();
        }
    }
    const double ratio = median(ours) / median(anchor);
    std::printf("%s %d x %d, quality 85, 2x2 sampling, median of %d runs\n", name, picture.width(), picture.height(),
                runs);
    std::printf("  cJpeg          %8.1f ms  (SampleHDC %.1f ms, SaveFile to memory %.1f ms)  %zu bytes\n", median(ours),
                median(sample), median(save), ourBytes);
    std::printf("  libjpeg-turbo  %8.1f ms  (JDCT_ISLOW, optimize_coding)  %zu bytes\n", median(anchor), anchorBytes);
    std::printf("  ratio cJpeg / libjpeg-turbo: %.2f   (target <= 0.50) %s\n", ratio, ratio <= 0.5 ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 9;
    if (argc > 2) raster::setWorkerThreads(std::atoi(argv[2])); // 1: cJpeg on one thread
    // KAVI_JPEG_VECTORS=sse2 or avx2 holds the encoder to narrower vectors, as on an older processor.
    const std::string vectors = std::getenv("KAVI_JPEG_VECTORS") ? std::getenv("KAVI_JPEG_VECTORS") : "";
    if (vectors == "sse2") jpeg::limitVectors(jpeg::VectorLevel::Sse2);
    if (vectors == "avx2") jpeg::limitVectors(jpeg::VectorLevel::Avx2);
    std::printf("cJpeg on %d threads%s%s\n", raster::workerThreads(), vectors.empty() ? "" : ", vectors held to ",
                vectors.c_str());
    benchmark("synthetic photograph", jpegtest::photoPicture(4000, 3000), runs);
    const raster::Bitmap plasma = argc > 3 ? raster::Bitmap() : plasmaPicture(4000, 3000);
    if (plasma.isNull()) {
        std::printf("plasma fractal: ImageMagick could not draw it, not measured   MISSED\n");
        return 1;
    }
    benchmark("plasma fractal", plasma, runs);
    return 0;
}
