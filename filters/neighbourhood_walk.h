#pragma once
// The walk shared by every filter that reads a 3 x 3 neighbourhood over the interior pixels.
#include "filter_routines.h"

#include <cstddef>
#include <cstdint>

namespace Module4 {

// Rows 2 to H - 1 and columns 2 to W - 1 (counted from 1). value(plane, up, mid, down) gets
// pointers to the plane's byte in the rows above, at and below the pixel (the left neighbour at
// [-4], the right at [4]) and gives the new value, already in 0 to 255. All three planes of a
// pixel are computed before any is stored.
template <class Value>
void walkInterior(RowProgress& progress, const PixelGrid& from, Value value) {
    PixelGrid& work = moduleState().work;
    const int w = work.width(), h = work.height();
    const std::size_t end = std::size_t(w > 1 ? w - 1 : 0) * 4;
    progress.start();
    for (int y = 1; y < h - 1; ++y) {
        const std::uint8_t* up = from.row(y - 1);
        const std::uint8_t* mid = from.row(y);
        const std::uint8_t* down = from.row(y + 1);
        std::uint8_t* out = work.row(y);
        for (std::size_t i = 4; i < end; i += 4) {
            const std::uint8_t b = value(0, up + i, mid + i, down + i);
            const std::uint8_t g = value(1, up + i + 1, mid + i + 1, down + i + 1);
            const std::uint8_t r = value(2, up + i + 2, mid + i + 2, down + i + 2);
            out[i] = b;
            out[i + 1] = g;
            out[i + 2] = r;
        }
        if (!progress.rowDone(y + 1)) return;
    }
    progress.finish();
}

} // namespace Module4
