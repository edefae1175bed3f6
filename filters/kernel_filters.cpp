// SPDX-License-Identifier: GPL-3.0-or-later
// Sharpen, Blur, Smooth, Edge Enhance, Contour, Emboss, Engrave and Relief: each pixel becomes an
// integer combination of its 3 x 3 neighbourhood, plane by plane. The in-place members read
// WorkPixels while they write it, so the top and left neighbours they see are already new; that
// walking order is part of their result.
#include "filters/filter_math.h"
#include "filters/filter_routines.h"
#include "filters/neighbourhood_walk.h"
#include "filters/row_blocks.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace Module4 {

namespace {

inline int sumOfEight(ByteAt u, ByteAt m, ByteAt d) {
    return int(u[-4]) + u[0] + u[4] + m[-4] + m[4] + d[-4] + d[0] + d[4];
}

// The eight neighbours but the left one, which the in-place walks add last.
inline int sumOfSevenAhead(ByteAt u, ByteAt m, ByteAt d) {
    return int(u[-4]) + u[0] + u[4] + m[4] + d[-4] + d[0] + d[4];
}

bool hasInterior(const FilterPass& pass) {
    const PixelGrid& work = pass.work;
    return work.width() > 2 && work.height() > 2;
}

// (centreWeight * c - neighbourWeight * S8) / divisor, truncated toward zero, then clamped.
// For the parameters the window uses every numerator lies in a few thousand values, so the
// clamped quotient of each is looked up instead of divided: a division in the chain from each
// pixel to its right neighbour would set the pace of the whole filter. Absurd parameters divide
// in 64 bits, where no product overflows.
void weightedInPlace(FilterPass& pass, std::int64_t centreWeight, std::int64_t neighbourWeight, std::int64_t divisor) {
    if (divisor == 0 && hasInterior(pass)) throw FilterFailure("the parameter makes the divisor zero");
    const std::int64_t lowest = std::min<std::int64_t>(0, centreWeight * 255) - neighbourWeight * 8 * 255;
    const std::int64_t highest = std::max<std::int64_t>(0, centreWeight * 255);
    if (divisor != 0 && highest - lowest < (1 << 16)) {
        std::vector<std::uint8_t> quotients(std::size_t(highest - lowest + 1));
        for (std::int64_t n = lowest; n <= highest; ++n) quotients[std::size_t(n - lowest)] = clampByte(n / divisor);
        const std::uint8_t* table = quotients.data();
        const int centre = int(centreWeight), neighbour = int(neighbourWeight), offset = int(-lowest);
        walkInteriorChain(
            pass,
            [=](ByteAt u, ByteAt m, ByteAt d) { return centre * m[0] - neighbour * sumOfSevenAhead(u, m, d) + offset; },
            [=](int ahead, int left) { return int(table[ahead - neighbour * left]); });
        return;
    }
    walkInteriorInPlace(pass, [=](std::size_t, ByteAt u, ByteAt m, ByteAt d) {
        return clampByte((centreWeight * m[0] - neighbourWeight * sumOfEight(u, m, d)) / divisor);
    });
}

// The colour parameter's components by plane (blue, green, red), and 0 for the reserved byte.
struct ColorPlanes {
    int k[4];
};
ColorPlanes planesOf(int color) {
    const ColorParts c = SplitColor(color);
    return {{c.blue, c.green, c.red, 0}};
}

// Emboss and Engrave: rows 1 to H - 1, columns 1 to W - 1, each pixel from itself and its
// bottom-right neighbour, which the walk has not reached yet. A block's rows are cut into bands,
// one a thread; the row below a band's last row is read from a copy taken before the bands
// start, since the next band changes it.
template <class Value>
void walkWithBottomRight(FilterPass& pass, Value value) {
    PixelGrid& work = pass.work;
    const int w = work.width(), h = work.height();
    const std::size_t end = std::size_t(w - 1) * 4;
    const auto changeRow = [end, value](std::uint8_t* row, const std::uint8_t* below) {
        const Value v = value; // local copies, which byte stores cannot change
        const std::size_t stop = end;
        for (std::size_t i = 0; i < stop; i += 4) {
            const std::uint8_t b = v(0, row[i], below[i + 4]);
            const std::uint8_t g = v(1, row[i + 1], below[i + 5]);
            const std::uint8_t r = v(2, row[i + 2], below[i + 6]);
            row[i] = b;
            row[i + 1] = g;
            row[i + 2] = r;
        }
    };
    std::vector<std::uint8_t> firstRows; // the old first row of every band but the first
    pass.start();
    const int reached = inRowBlocks(
        0, h - 1, w,
        [&](int a, int b) {
            const int bands = std::max(1, std::min(b - a, raster::workerThreads()));
            const auto bandStart = [&](int k) { return a + int(std::int64_t(b - a) * k / bands); };
            firstRows.resize(std::size_t(bands) * work.rowBytes());
            for (int k = 1; k < bands; ++k)
                std::copy_n(work.row(bandStart(k)), work.rowBytes(),
                            firstRows.data() + std::size_t(k) * work.rowBytes());
            raster::runParts(bands, [&](int k) {
                const int from = bandStart(k), to = bandStart(k + 1);
                for (int y = from; y < to; ++y) {
                    const bool lastOfBand = y + 1 == to && k + 1 < bands;
                    changeRow(work.row(y),
                              lastOfBand ? firstRows.data() + std::size_t(k + 1) * work.rowBytes() : work.row(y + 1));
                }
            });
        },
        [&](int y) { return pass.rowDone(y + 1); });
    if (reached < h - 1) return;
    pass.finish();
}

inline std::uint8_t absUpTo255(int v) {
    v = std::abs(v);
    return std::uint8_t(v > 255 ? 255 : v);
}

} // namespace

void FilterSharpen(FilterPass& pass, int a) { weightedInPlace(pass, std::int64_t(a) + 24, 2, std::int64_t(a) + 8); }

void FilterEdgeEnhance(FilterPass& pass, int a) { weightedInPlace(pass, std::int64_t(a) + 9, 1, std::int64_t(a) + 1); }

void FilterBlur(FilterPass& pass) {
    walkInteriorChain(
        pass, [](ByteAt u, ByteAt m, ByteAt d) { return sumOfSevenAhead(u, m, d); },
        [](int ahead, int left) { return (ahead + left) >> 3; });
}

void FilterSmooth(FilterPass& pass) {
    walkInteriorChain(
        pass, [](ByteAt u, ByteAt m, ByteAt d) { return int(m[0]) + u[0] + d[0] + m[4]; },
        [](int ahead, int left) { return (ahead + left) / 5; });
}

void FilterContour(FilterPass& pass, int color) {
    // The component for every byte of a row, so that the row's bytes are computed alike.
    const ColorPlanes k = planesOf(color);
    std::vector<std::int16_t> kOfByte(pass.work.rowBytes());
    for (std::size_t i = 0; i < kOfByte.size(); ++i) kOfByte[i] = std::int16_t(k.k[i & 3]);
    const std::int16_t* kAt = kOfByte.data();
    walkInteriorFromCopy(pass, [kAt](std::size_t i, ByteAt u, ByteAt m, ByteAt d) {
        return clampByte(8 * int(m[0]) - sumOfEight(u, m, d) + kAt[i]);
    });
}

void FilterRelief(FilterPass& pass) {
    walkInteriorFromCopy(pass, [](std::size_t, ByteAt u, ByteAt m, ByteAt d) {
        const int t = (2 * int(u[-4]) + m[-4] + u[0] + m[0] - d[0] - m[4] - 2 * int(d[4])) / 2;
        return t > 205 ? std::uint8_t(255) : clampByte(t + 50);
    });
}

void FilterEmboss(FilterPass& pass, int color) {
    const ColorPlanes k = planesOf(color);
    walkWithBottomRight(pass,
                        [k](int plane, int c, int bottomRight) { return absUpTo255(c - bottomRight + k.k[plane]); });
}

void FilterEngrave(FilterPass& pass, int color) {
    const ColorPlanes k = planesOf(color);
    walkWithBottomRight(pass,
                        [k](int plane, int c, int bottomRight) { return absUpTo255(bottomRight - c + k.k[plane]); });
}

} // namespace Module4
