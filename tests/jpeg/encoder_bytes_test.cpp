// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes cJpeg writes for a set of pictures, sizes, sampling layouts and qualities, against
// fingerprints of the files the encoder wrote before its sampling was made faster: the faster
// paths (whole-number chroma means, rows of blocks on several threads) must not change one byte,
// on one thread or several.

#include "jpeg/block_average.h"
#include "jpeg/cjpeg.h"
#include "jpeg/vector_level.h"
#include "tests/jpeg/photo_picture.h"

#include "formats/raster/blit.h"
#include "formats/raster/dib_section.h"
#include "formats/raster/parallel_parts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace jpeg;

namespace {

std::uint64_t fingerprint(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t h = 1469598103934665603ull; // 64-bit FNV-1a
    for (const std::uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
    return h;
}

struct Case {
    int width, height, quality;
    int sampling[6];
    std::uint64_t fingerprint; // of the file as the encoder wrote it before
};

const std::vector<Case> kCases{
    {1, 1, 75, {2, 2, 1, 1, 1, 1}, 0x12466acbc951c389ull},
    {7, 5, 85, {2, 2, 1, 1, 1, 1}, 0x844f9e8e9d94586full},
    {64, 48, 85, {2, 2, 1, 1, 1, 1}, 0xb850faa723e1b31bull},
    {333, 222, 85, {2, 2, 1, 1, 1, 1}, 0x88372fec63120aa8ull},
    {1000, 750, 85, {2, 2, 1, 1, 1, 1}, 0x11be8a6f838e3e4aull},
    {1001, 751, 85, {2, 2, 1, 1, 1, 1}, 0x638b440793cbbe25ull},
    {640, 480, 50, {1, 1, 1, 1, 1, 1}, 0xddb2c0601aefc7ceull},
    {640, 480, 90, {2, 1, 1, 1, 1, 1}, 0x74f2f56ca6e52017ull},
    {640, 480, 90, {1, 2, 1, 1, 1, 1}, 0x5ef06b132c9c5f70ull},
    {640, 480, 70, {4, 4, 1, 1, 1, 1}, 0x6f92892fbaaa711bull},
    {640, 480, 70, {4, 2, 2, 1, 1, 1}, 0xcd2f53e34da4e38aull},
    {642, 480, 70, {3, 1, 1, 1, 1, 1}, 0xdd648dae506fd0bcull},
    {640, 480, 95, {2, 2, 0, 0, 0, 0}, 0xef5e14909927dd9aull},
    {2000, 1500, 85, {2, 2, 1, 1, 1, 1}, 0x4c6c2868922c96abull},
};

std::uint64_t encodedFingerprint(const Case& c) {
    const raster::Bitmap picture = jpegtest::photoPicture(c.width, c.height, std::uint32_t(c.width + c.height));
    cJpeg encoder;
    encoder.quality(c.quality);
    const int* s = c.sampling;
    encoder.SetSamplingFrequencies(s[0], s[1], s[2], s[3], s[4], s[5]);
    EXPECT_EQ(encoder.SampleHDC(jpegtest::MemoryDc(picture), c.width, c.height, 0, 0), 0);
    return fingerprint(encoder.EncodeToMemory());
}

struct ThreadCount {
    explicit ThreadCount(int n) { raster::setWorkerThreads(n); }
    ~ThreadCount() { raster::setWorkerThreads(0); }
};

// A 32-bit picture with every byte scrambled, reserved bytes included.
raster::Bitmap scrambled(int w, int h, std::uint32_t seed) {
    raster::Bitmap b(w, h, 32);
    for (std::size_t i = 0; i < b.byteCount(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        b.bits()[i] = std::uint8_t(seed >> 24);
    }
    return b;
}

PixelRows rowsOf(raster::Bitmap& b, int top, int width, int height) {
    return PixelRows{b.row(top), std::ptrdiff_t(b.stride()), width, height};
}

} // namespace

TEST(JpegBytes, TheFilesAreTheOnesWrittenBeforeOnEveryThreadCount) {
    for (const int threads : {1, 2, 3}) {
        const ThreadCount count(threads);
        for (const Case& c : kCases)
            EXPECT_EQ(encodedFingerprint(c), c.fingerprint)
                << c.width << " x " << c.height << " quality " << c.quality << " sampling " << c.sampling[0] << "x"
                << c.sampling[1] << " on " << threads << " threads";
    }
}

TEST(JpegBytes, NarrowerVectorsWriteTheSameFiles) {
    // The loops as a processor with AVX2 but not AVX-512, and with neither, runs them.
    for (const VectorLevel level : {VectorLevel::Avx2, VectorLevel::Sse2}) {
        limitVectors(level);
        for (const int threads : {1, 2}) {
            const ThreadCount count(threads);
            for (const Case& c : kCases)
                EXPECT_EQ(encodedFingerprint(c), c.fingerprint)
                    << c.width << " x " << c.height << " sampling " << c.sampling[0] << "x" << c.sampling[1] << " on "
                    << threads << " threads, " << (level == VectorLevel::Sse2 ? "SSE2" : "AVX2");
        }
    }
    limitVectors(VectorLevel::Avx512);
}

TEST(JpegBytes, PartsOfOneRowAndScansOfOneComponent) {
    // Heights that cut a scan into parts of a single row of MCUs or blocks, beside bigger ones,
    // and grey pictures whose scan is cut into rows of blocks: every thread count writes the
    // bytes that one thread writes.
    struct Layout {
        int width, height;
        int sampling[6];
    };
    const std::vector<Layout> layouts{{200, 16 * 9, {2, 2, 1, 1, 1, 1}},
                                      {31, 8 * 5 + 1, {1, 1, 0, 0, 0, 0}},
                                      {8, 8 * 13, {1, 1, 0, 0, 0, 0}},
                                      {90, 32 * 3, {4, 4, 1, 1, 1, 1}},
                                      {9, 17, {2, 1, 1, 1, 1, 1}}};
    for (const Layout& l : layouts) {
        const raster::Bitmap picture = scrambled(l.width, l.height, std::uint32_t(l.width * 7 + l.height));
        std::vector<std::uint8_t> reference;
        for (const int threads : {1, 2, 3, 5}) {
            const ThreadCount count(threads);
            cJpeg encoder;
            encoder.quality(97); // noise at a high quality: long codes and many 0xFF bytes
            const int* s = l.sampling;
            encoder.SetSamplingFrequencies(s[0], s[1], s[2], s[3], s[4], s[5]);
            ASSERT_EQ(encoder.SampleHDC(jpegtest::MemoryDc(picture), l.width, l.height, 0, 0), 0);
            const std::vector<std::uint8_t> bytes = encoder.EncodeToMemory();
            if (threads == 1) reference = bytes;
            else EXPECT_EQ(bytes, reference) << l.width << " x " << l.height << " on " << threads << " threads";
        }
    }
}

TEST(JpegBlockMeans, EqualTheHalftoneStretchForEveryWholeFactor) {
    for (const auto& [fx, fy] :
         std::vector<std::pair<int, int>>{{2, 1}, {1, 2}, {2, 2}, {4, 1}, {1, 4}, {4, 2}, {2, 4}, {4, 4}}) {
        for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {1, 9}, {9, 1}, {13, 7}, {150, 101}}) {
            raster::Bitmap source = scrambled(w * fx, h * fy, std::uint32_t(fx * 100 + fy * 10 + w));
            raster::DeviceContext sourceDc, stretchDc;
            raster::SelectObject(&sourceDc, &source);
            raster::Bitmap stretched(w, h + 3, 32), averaged(w, h + 3, 32); // drawn three rows down
            raster::SelectObject(&stretchDc, &stretched);
            raster::SetStretchBltMode(&stretchDc, raster::HALFTONE);
            ASSERT_TRUE(raster::StretchBlt(&stretchDc, 0, 3, w, h, &sourceDc, 0, 0, w * fx, h * fy, raster::SRCCOPY));
            ASSERT_TRUE(averageBlocks(rowsOf(source, 0, w * fx, h * fy), rowsOf(averaged, 3, w, h)));
            std::size_t firstDifference = 0;
            while (firstDifference < averaged.byteCount() &&
                   stretched.bits()[firstDifference] == averaged.bits()[firstDifference])
                ++firstDifference;
            EXPECT_EQ(firstDifference, averaged.byteCount()) << fx << " x " << fy << " on " << w << " x " << h;
        }
    }
}

TEST(JpegBlockMeans, OtherSizesAreLeftToTheStretch) {
    raster::Bitmap source = scrambled(12, 12, 1), target(4, 4, 32);
    const std::vector<std::uint8_t> before(target.bits(), target.bits() + target.byteCount());
    EXPECT_FALSE(averageBlocks(rowsOf(source, 0, 12, 12), rowsOf(target, 0, 4, 4))) << "a factor of 3";
    EXPECT_FALSE(averageBlocks(rowsOf(source, 0, 11, 12), rowsOf(target, 0, 4, 4))) << "not a whole factor";
    EXPECT_FALSE(averageBlocks(rowsOf(source, 0, 12, 12), rowsOf(target, 0, 4, 2))) << "a factor of 6";
    EXPECT_FALSE(averageBlocks(rowsOf(source, 0, 4, 4), rowsOf(target, 0, 4, 4))) << "the same size";
    EXPECT_EQ(std::vector<std::uint8_t>(target.bits(), target.bits() + target.byteCount()), before);
}
