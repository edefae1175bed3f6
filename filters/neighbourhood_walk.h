// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The walk shared by every filter that reads a 3 x 3 neighbourhood over the interior pixels.
#include "filters/filter_routines.h"
#include "filters/row_blocks.h"

#include <algorithm>

#include <cstddef>
#include <cstdint>

namespace Module4 {

// A pointer to one plane's byte of a pixel in a row; [-4] and [4] are its left and right neighbours.
using ByteAt = const std::uint8_t*;

// Rows 2 to H - 1 and columns 2 to W - 1 (counted from 1), with progress after each row;
// rows(a, b, end) changes bytes 4 to end - 1 of rows a to b - 1 (0-based) of WorkPixels.
template <class Rows>
void walkInteriorRows(FilterPass& pass, Rows rows) {
    const PixelGrid& work = pass.work;
    const int w = work.width(), h = work.height();
    const std::size_t end = std::size_t(w > 1 ? w - 1 : 0) * 4;
    pass.start();
    const int last = h - 1;
    const int reached = inRowBlocks(
        1, last, w, [&](int a, int b) { rows(a, b, end); }, [&](int y) { return pass.rowDone(y + 1); });
    if (reached < last) return;
    pass.finish();
}

// value(i, up, mid, down) gets pointers to one plane's byte in the rows above, at and below
// the pixel (the left neighbour at [-4], the right at [4]) and the byte's offset i in its row
// (i & 3 is the plane), and gives the new value, already in 0 to 255.
//
// In place: reads WorkPixels as it writes it, so the top and left neighbours are already new.
// All three planes of a pixel are computed before any is stored. The rows run as a wavefront.
template <class Value>
void walkInteriorInPlace(FilterPass& pass, Value value) {
    PixelGrid& work = pass.work;
    const int w = work.width();
    walkInteriorRows(pass, [&](int a, int b, std::size_t end) {
        wavefront(a, b, w, 1, [&work, end, value](int y, int x0, int x1) {
            // Local copies: stores through byte pointers could change anything reached by reference.
            const Value v = value;
            const std::uint8_t* up = work.row(y - 1);
            const std::uint8_t* mid = work.row(y);
            const std::uint8_t* down = work.row(y + 1);
            std::uint8_t* out = work.row(y);
            const std::size_t from = std::size_t(std::max(x0, 1)) * 4, to = std::min(std::size_t(x1) * 4, end);
            for (std::size_t i = from; i < to; i += 4) {
                const std::uint8_t b = v(i, up + i, mid + i, down + i);
                const std::uint8_t g = v(i + 1, up + i + 1, mid + i + 1, down + i + 1);
                const std::uint8_t r = v(i + 2, up + i + 2, mid + i + 2, down + i + 2);
                out[i] = b;
                out[i + 1] = g;
                out[i + 2] = r;
            }
        });
    });
}

// In place, for values of the form chain(ahead(up, mid, down), newLeft): ahead() reads
// everything but the left neighbour (the row above, new; the pixel itself, its right neighbour
// and the row below, all still old) and gives an int; chain() adds the new left neighbour's value
// of the same plane and gives the new value, 0 to 255. The ahead parts of a whole span are made
// first, many bytes at once; only chain() then waits on the pixel to its left, whose new value
// stays in a register. The same bytes as walkInteriorInPlace with value = chain(ahead, m[-4]).
template <class Ahead, class Chain>
void walkInteriorChain(FilterPass& pass, Ahead ahead, Chain chain) {
    PixelGrid& work = pass.work;
    const int w = work.width();
    walkInteriorRows(pass, [&](int a, int b, std::size_t end) {
        wavefront(a, b, w, 1, [&work, end, ahead, chain](int y, int x0, int x1) {
            const Ahead before = ahead; // local copies, which byte stores cannot change
            const Chain link = chain;
            const std::uint8_t* up = work.row(y - 1);
            std::uint8_t* mid = work.row(y);
            const std::uint8_t* down = work.row(y + 1);
            const std::size_t from = std::size_t(std::max(x0, 1)) * 4, to = std::min(std::size_t(x1) * 4, end);
            if (from >= to) return;
            int part[kWavefrontSpan * 4];
            const std::size_t bytes = to - from;
            for (std::size_t k = 0; k < bytes; ++k) part[k] = before(up + from + k, mid + from + k, down + from + k);
            int blue = mid[from - 4], green = mid[from - 3], red = mid[from - 2];
            for (std::size_t k = 0; k < bytes; k += 4) {
                blue = link(part[k], blue);
                green = link(part[k + 1], green);
                red = link(part[k + 2], red);
                mid[from + k] = std::uint8_t(blue);
                mid[from + k + 1] = std::uint8_t(green);
                mid[from + k + 2] = std::uint8_t(red);
            }
        });
    });
}

// From the copy: reads SourcePixels only, so every byte of a row is independent and the
// compiler computes many at once, and rows run on several threads. value() also runs for plane
// 3, whose result is then replaced by the reserved byte as it was: that byte never changes.
template <class Value>
void walkInteriorFromCopy(FilterPass& pass, Value value) {
    PixelGrid& work = pass.work;
    const PixelGrid& source = pass.source;
    walkInteriorRows(pass, [&](int a, int b, std::size_t end) {
        rowsAtOnce(a, b, [&work, &source, end, value](int y) {
            const Value v = value; // local copies, which byte stores cannot change
            const std::size_t stop = end;
            const std::uint8_t* __restrict up = source.row(y - 1);
            const std::uint8_t* __restrict mid = source.row(y);
            const std::uint8_t* __restrict down = source.row(y + 1);
            std::uint8_t* __restrict out = work.row(y);
            for (std::size_t i = 4; i < stop; ++i) out[i] = v(i, up + i, mid + i, down + i);
            for (std::size_t i = 7; i < stop; i += 4) out[i] = mid[i];
        });
    });
}

} // namespace Module4
