// SPDX-License-Identifier: GPL-3.0-or-later
// Negative, Gray Scale, Black & White, Saturation, Add Noise and Contrast: each pixel changes from
// its own three values alone. Every routine visits every pixel, top row first.
#include "filters/filter_math.h"
#include "filters/filter_random.h"
#include "filters/filter_routines.h"
#include "filters/row_blocks.h"

#include <algorithm>

#include <cstddef>
#include <vector>

namespace Module4 {

namespace {

// rowOf(in, out, bytes) changes one row: it reads blue, green and red at in[4x..4x+2] and writes
// out[4x..4x+2]; out[4x+3] keeps its value. The in-place filters pass WorkPixels as both grids.
// Rows are independent, so they run on several threads. Returns the number of rows reported
// (less than H when the caller asked to stop).
template <class Row>
int walkEveryRow(FilterPass& pass, const PixelGrid& from, Row rowOf) {
    PixelGrid& work = pass.work;
    const int h = work.height();
    pass.start();
    const int reached = inRowBlocks(
        0, h, work.width(),
        [&](int a, int b) {
            rowsAtOnce(a, b, [&](int y) {
                Row local = rowOf; // a copy of its own, which byte stores cannot change
                local(y, from.row(y), work.row(y), work.rowBytes());
            });
        },
        [&](int y) { return pass.rowDone(y + 1); });
    if (reached < h) return reached + 1;
    pass.finish();
    return h;
}

// The same, one pixel at a time: pixel(in, out) for each pixel of the row.
template <class Pixel>
void walkEveryPixel(FilterPass& pass, const PixelGrid& from, Pixel pixel) {
    walkEveryRow(pass, from, [pixel](int, const std::uint8_t* in, std::uint8_t* out, std::size_t bytes) {
        for (std::size_t i = 0; i < bytes; i += 4) pixel(in + i, out + i);
    });
}

// Entry k holds k \ 3, so that the table at b + g + r is the pixel's gray level.
void fillGrayRule(GrayLevels& gray) {
    for (int k = 0; k < int(gray.size()); ++k) gray[std::size_t(k)] = k / 3;
}

inline int grayIndex(const std::uint8_t* p) { return int(p[0]) + p[1] + p[2]; }

// Add Noise over a row's bytes for |span| <= 127, in 32-bit integers: each draw is k / 2^24 with a
// whole k, so u * span - offset + in is exactly (k * span) / 2^24 + (in - offset), a value the
// double computation also holds exactly; its floor and remainder give the same rounding, halves
// to even. The integer form runs eight bytes at once where the processor has 256-bit vectors.
__attribute__((target_clones("avx2", "default"))) void addSmallNoise(const float* __restrict u,
                                                                     const std::uint8_t* __restrict in,
                                                                     std::uint8_t* __restrict out, std::size_t bytes,
                                                                     int span, int offset) {
    for (std::size_t i = 0; i < bytes; ++i) {
        const int k = int(u[i] * 16777216.0f);
        const int product = k * span;
        const int floor = (product >> 24) + int(in[i]) - offset;
        const int rest = product & 0xFFFFFF;
        const int v = floor + ((rest > 0x800000) | ((rest == 0x800000) & floor));
        out[i] = std::uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v));
    }
}

} // namespace

void SpillClamp(std::int64_t& b, std::int64_t& g, std::int64_t& r) {
    auto inRange = [](std::int64_t v) { return v >= 0 && v <= 255; };
    // Each hand-on passes half of an overshoot, so the loop settles within a few dozen passes
    // even for values near the 32-bit limits; the bound only guards against a hang.
    for (int pass = 0; pass < 100; ++pass) {
        if (inRange(b) && inRange(g) && inRange(r)) return;
        if (b <= 0 && g <= 0 && r <= 0) {
            b = g = r = 0;
            return;
        }
        if (b >= 255 && g >= 255 && r >= 255) {
            b = g = r = 255;
            return;
        }
        // Values are 64-bit, so the halves never overflow for 32-bit inputs.
        auto settle = [](std::int64_t& self, std::int64_t& other1, std::int64_t& other2) {
            if (self < 0) {
                other1 += self / 2;
                other2 += self / 2;
                self = 0;
            } else if (self > 255) {
                other1 += (self - 255) / 2;
                other2 += (self - 255) / 2;
                self = 255;
            }
        };
        settle(b, g, r);
        settle(g, b, r);
        settle(r, g, b);
    }
    b = clampByte(b);
    g = clampByte(g);
    r = clampByte(r);
}

void FilterNegative(FilterPass& pass) {
    PixelGrid& work = pass.work;
    walkEveryPixel(pass, work, [](const std::uint8_t* in, std::uint8_t* out) {
        out[0] = std::uint8_t(255 - in[0]);
        out[1] = std::uint8_t(255 - in[1]);
        out[2] = std::uint8_t(255 - in[2]);
    });
}

void FilterGrayscale(FilterPass& pass) {
    fillGrayRule(pass.gray);
    const GrayLevels& gray = pass.gray;
    walkEveryPixel(pass, pass.work, [&gray](const std::uint8_t* in, std::uint8_t* out) {
        const auto level = std::uint8_t(gray[std::size_t(grayIndex(in))]);
        out[0] = out[1] = out[2] = level;
    });
}

void FilterBlackWhite(FilterPass& pass, int color) {
    const ColorParts t = SplitColor(color);
    walkEveryPixel(pass, pass.source, [t](const std::uint8_t* in, std::uint8_t* out) {
        const bool dark = in[2] < t.red && in[1] < t.green && in[0] < t.blue;
        out[0] = out[1] = out[2] = dark ? 0 : 255;
    });
}

void FilterSaturation(FilterPass& pass, int a) {
    fillGrayRule(pass.gray);
    const GrayLevels& gray = pass.gray;
    const double f = float(double(a) / 100.0); // the factor is single precision
    // A channel's new value depends only on its own value v and the pixel's gray level t (0...255),
    // so every answer is worked out once, by the same arithmetic, into a 64 KB table by t and v.
    std::vector<std::uint8_t> answers(256 * 256);
    for (int t = 0; t < 256; ++t)
        for (int v = 0; v < 256; ++v) answers[std::size_t(t * 256 + v)] = roundToByte(f * (v - t) + v);
    const std::uint8_t* table = answers.data();
    walkEveryPixel(pass, pass.source, [&gray, table](const std::uint8_t* in, std::uint8_t* out) {
        const std::uint8_t* byLevel = table + std::size_t(gray[std::size_t(grayIndex(in))]) * 256;
        for (int p = 0; p < 3; ++p) out[p] = byLevel[in[p]];
    });
}

void FilterAddNoise(FilterPass& pass, int a) {
    const double span = 2.0 * a + 1, offset = a;
    const bool small = a >= -64 && a <= 63; // |2a + 1| <= 127
    // Three draws a pixel in plane order, row after row: each row draws from the place in the
    // sequence where the plain walk would be, and the generator moves on by the rows reported.
    const std::size_t drawsPerRow = std::size_t(pass.work.width()) * 3;
    const std::uint64_t start = FilterRandomPosition();
    const auto noisyRow = [=](int y, const std::uint8_t* in, std::uint8_t* out, std::size_t bytes) {
        thread_local std::vector<float> draws;
        draws.resize(bytes);
        FilterRandomStream(start, std::uint64_t(y) * drawsPerRow).fillByPixel(draws.data(), bytes / 4);
        // Every byte alike, many at once; the reserved bytes then get their own value back.
        const float* __restrict u = draws.data();
        const std::uint8_t* __restrict from = in;
        std::uint8_t* __restrict to = out;
        if (small) addSmallNoise(u, from, to, bytes, 2 * a + 1, a);
        else
            for (std::size_t i = 0; i < bytes; ++i) to[i] = roundToByte(double(u[i]) * span - offset + from[i]);
        for (std::size_t i = 3; i < bytes; i += 4) to[i] = from[i];
    };
    const int rows = walkEveryRow(pass, pass.source, noisyRow);
    SetFilterRandomPosition(FilterRandomStream(start, std::uint64_t(rows) * drawsPerRow).position());
}

void FilterContrast(FilterPass& pass, int a) {
    GrayLevels& curve = pass.gray;
    pass.start();
    fillGrayRule(curve);

    // Mean gray level over the picture, summed in 64 bits (a 32-bit sum overflows past about
    // 8.4 million pixels), a band of rows a thread.
    const PixelGrid& source = pass.source;
    const int h = source.height();
    const int bands = std::max(1, std::min(h, raster::workerThreads()));
    std::vector<std::int64_t> bandSums(std::size_t(bands), 0);
    raster::runParts(bands, [&](int k) {
        const std::uint8_t* px = source.row(int(std::int64_t(h) * k / bands));
        const std::uint8_t* stop = source.row(int(std::int64_t(h) * (k + 1) / bands));
        std::int64_t sum = 0;
        for (; px < stop; px += 4) sum += curve[std::size_t(grayIndex(px))];
        bandSums[std::size_t(k)] = sum;
    });
    std::int64_t sum = 0;
    for (const std::int64_t s : bandSums) sum += s;
    const std::int64_t count = std::int64_t(source.byteCount() / 4);
    const std::int64_t m = count > 0 ? sum / count : 0;

    const double e = float((double(a) + 100.0) / 100.0);
    for (int k = 0; k <= 255; ++k) {
        // The curve is not clamped; only absurd parameters reach the 32-bit limits.
        const std::int64_t v = roundHalfEven(e * double(k - m) + double(m));
        curve[std::size_t(k)] = std::int32_t(v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : v));
    }
    if (!pass.report(5)) return;

    PixelGrid& work = pass.work;
    const std::size_t rowBytes = work.rowBytes();
    const auto changeRow = [&source, &work, &curve, rowBytes](int y) {
        const std::uint8_t* in = source.row(y);
        std::uint8_t* out = work.row(y);
        for (std::size_t i = 0; i < rowBytes; i += 4) {
            std::int64_t b = curve[in[i]], g = curve[in[i + 1]], r = curve[in[i + 2]];
            // Within 0 to 255 nothing spills over: the common case, without the loop.
            if ((std::uint64_t(b) | std::uint64_t(g) | std::uint64_t(r)) > 255) SpillClamp(b, g, r);
            out[i] = std::uint8_t(b);
            out[i + 1] = std::uint8_t(g);
            out[i + 2] = std::uint8_t(r);
        }
    };
    const int reached = inRowBlocks(
        0, h, work.width(), [&](int a, int b) { rowsAtOnce(a, b, changeRow); },
        [&](int y) { return pass.report(int(5 + std::int64_t(y + 1) * 95 / h)); });
    if (reached < h) return;
    pass.finish();
}

} // namespace Module4
