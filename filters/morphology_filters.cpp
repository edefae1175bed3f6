// SPDX-License-Identifier: GPL-3.0-or-later
// Dilate, Erode and Edge Detect pick from the unchanged 3 x 3 neighbourhood; Diffuse copies each
// pixel from a randomly displaced position, in place.
#include "filters/filter_math.h"
#include "filters/filter_random.h"
#include "filters/filter_routines.h"
#include "filters/neighbourhood_walk.h"
#include "filters/row_blocks.h"

#include <algorithm>
#include <cstdlib>

namespace Module4 {

namespace {

inline std::uint8_t largestOfNine(ByteAt u, ByteAt m, ByteAt d) {
    return std::max({u[-4], u[0], u[4], m[-4], m[0], m[4], d[-4], d[0], d[4]});
}

inline std::uint8_t smallestOfNine(ByteAt u, ByteAt m, ByteAt d) {
    return std::min({u[-4], u[0], u[4], m[-4], m[0], m[4], d[-4], d[0], d[4]});
}

// Columns [x0, x1) of row y of Diffuse (at most one wavefront span), drawing two numbers a
// pixel from `random`.
void diffuseSpan(PixelGrid& work, std::int64_t y, std::int64_t x0, std::int64_t x1, double reach, double half,
                 FilterRandomStream random) {
    const std::int64_t w = work.width(), h = work.height();
    std::uint8_t* out = work.row(int(y));
    float draws[2 * kWavefrontSpan]; // the span's draws at once, many in one go
    random.fill(draws, std::size_t(2 * (x1 - x0)));
    for (std::int64_t x = x0; x < x1; ++x) {
        const double u1 = draws[2 * (x - x0)];
        const double u2 = draws[2 * (x - x0) + 1];
        std::int64_t dx = roundHalfEven(u1 * reach - half);
        std::int64_t dy = roundHalfEven(u2 * reach - half);
        // An offset that would leave the picture is dropped, not shortened to the edge.
        if (x + dx < 0 || x + dx >= w) dx = 0;
        if (y + dy < 0 || y + dy >= h) dy = 0;
        const std::uint8_t* in = work.row(int(y + dy)) + (x + dx) * 4;
        std::uint8_t* px = out + x * 4;
        const std::uint8_t b = in[0], g = in[1], r = in[2];
        px[0] = b;
        px[1] = g;
        px[2] = r;
    }
}

} // namespace

void FilterDilate(FilterPass& pass) {
    walkInteriorFromCopy(pass, [](std::size_t, ByteAt u, ByteAt m, ByteAt d) { return largestOfNine(u, m, d); });
}

void FilterErode(FilterPass& pass) {
    walkInteriorFromCopy(pass, [](std::size_t, ByteAt u, ByteAt m, ByteAt d) { return smallestOfNine(u, m, d); });
}

void FilterEdgeDetect(FilterPass& pass) {
    walkInteriorFromCopy(
        pass, [](std::size_t, ByteAt u, ByteAt m, ByteAt d) { return std::uint8_t(m[0] - smallestOfNine(u, m, d)); });
}

void FilterDiffuse(FilterPass& pass, int a) {
    PixelGrid& work = pass.work;
    const int w = work.width(), h = work.height();
    const double reach = a, half = double(roundHalfEven(reach / 2));
    // In place, each pixel read from up to `most` columns and rows away: the rows run as a
    // wavefront that keeps neighbouring rows that many columns apart. Every row draws from the
    // place in the sequence where the plain walk would be.
    const std::int64_t most = std::max(std::abs(half), std::abs(reach - half)) + 1;
    const int lag = int(std::min<std::int64_t>(w, most + 1));
    const std::uint64_t start = FilterRandomPosition();
    const std::uint64_t drawsPerRow = std::uint64_t(w) * 2;
    pass.start();
    const int reached = inRowBlocks(
        0, h, w,
        [&](int from, int to) {
            wavefront(from, to, w, lag, [&](int y, int x0, int x1) {
                diffuseSpan(work, y, x0, x1, reach, half,
                            FilterRandomStream(start, std::uint64_t(y) * drawsPerRow + 2 * std::uint64_t(x0)));
            });
        },
        [&](int y) { return pass.rowDone(y + 1); });
    SetFilterRandomPosition(
        FilterRandomStream(start, std::uint64_t(std::min(reached + 1, h)) * drawsPerRow).position());
    if (reached < h) return;
    pass.finish();
}

} // namespace Module4
