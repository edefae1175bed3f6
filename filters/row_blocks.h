// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Spreads a filter's rows over the processor's cores while the caller still sees what the plain
// walk shows: one progress report and one yield per row, in row order, on the calling thread.
// The rows are computed a block at a time; the reports of a block's rows follow once the whole
// block is done. Every way of spreading the rows gives the very bytes of the plain walk.
#include "formats/raster/parallel_parts.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Module4 {

// About this many pixels a block: a few milliseconds of work between two rounds of yields.
constexpr std::int64_t kBlockPixels = std::int64_t(1) << 20;

// Computes rows [first, end) with compute(a, b) for consecutive blocks [a, b), and after each
// block calls report(y) for each of its rows in order. Returns the row whose report returned
// false (the walk stops there), or end when every row was reported.
template <class Compute, class Report>
int inRowBlocks(int first, int end, int width, Compute compute, Report report) {
    if (first >= end) return end;
    const int step = int(std::max<std::int64_t>(1, kBlockPixels / std::max(1, width)));
    for (int a = first; a < end;) {
        const int b = end - a > step ? a + step : end;
        compute(a, b);
        for (int y = a; y < b; ++y)
            if (!report(y)) return y;
        a = b;
    }
    return end;
}

// Rows [a, b) that do not read one another: row(y) for each, on several threads.
template <class Row>
void rowsAtOnce(int a, int b, Row row) {
    raster::runRanges(b - a, 1, [&](int from, int to) {
        Row local = row; // a copy of its own, which the row's byte stores cannot change
        for (int y = a + from; y < a + to; ++y) local(y);
    });
}

namespace detail {
inline void waitForColumns(const std::atomic<int>& done, int wanted) {
    for (int spins = 0; done.load(std::memory_order_acquire) < wanted; ++spins) {
        if (spins < 256) {
#if defined(__SSE2__)
            _mm_pause();
#endif
        } else {
            std::this_thread::yield(); // the row above belongs to a thread that is not running
        }
    }
}
} // namespace detail

// Rows [a, b) of an in-place walk, in which row y reads the new values of the rows above it and
// the old values of the rows below it, up to `lag` columns to either side of the pixel it
// computes. span(y, x0, x1) computes columns [x0, x1) of row y, left to right. The rows run as a
// wavefront: a thread takes the next row and computes a span only once the row above has
// finished `lag` columns beyond the span's end, so the row above is always at least `lag`
// columns ahead and the row below at least `lag` behind. Rows finish in order.
constexpr int kWavefrontSpan = 256; // columns a row computes between two looks at the row above

template <class Span>
void wavefront(int a, int b, int width, int lag, Span span) {
    constexpr int kSpan = kWavefrontSpan;
    const int rows = b - a;
    if (rows <= 0 || width <= 0) return;
    const std::unique_ptr<std::atomic<int>[]> done(new std::atomic<int>[std::size_t(rows)]);
    for (int i = 0; i < rows; ++i) done[std::size_t(i)].store(0, std::memory_order_relaxed);
    std::atomic<int> nextRow{0};
    const int threads = std::min(rows, raster::workerThreads());
    raster::runParts(threads, [&](int) {
        Span local = span; // a copy of its own, which the row's byte stores cannot change
        for (int i; (i = nextRow.fetch_add(1)) < rows;) {
            const int y = a + i;
            for (int x0 = 0; x0 < width; x0 += kSpan) {
                const int x1 = std::min(width, x0 + kSpan);
                if (i > 0) detail::waitForColumns(done[std::size_t(i - 1)], width - x1 > lag ? x1 + lag : width);
                local(y, x0, x1);
                done[std::size_t(i)].store(x1, std::memory_order_release);
            }
        }
    });
}

} // namespace Module4
