// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small pictures and helpers for the filter tests.
#include "filters/filter_engine.h"
#include "filters/filter_random.h"
#include "formats/raster/bitmap.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace filtertest {

struct Bgr {
    int b, g, r;
    bool operator==(const Bgr&) const = default;
};

// A 32-bit top-down picture with every colour byte set to `value` and every reserved byte to 0.
inline raster::Bitmap flat(int w, int h, int value) {
    raster::Bitmap bmp(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = bmp.row(y) + x * 4;
            p[0] = p[1] = p[2] = std::uint8_t(value);
        }
    return bmp;
}

// A picture whose colour and reserved bytes are scrambled (a fixed sequence, not the generator).
inline raster::Bitmap scrambled(int w, int h, std::uint32_t seed = 12345) {
    raster::Bitmap bmp(w, h, 32);
    std::uint32_t s = seed;
    for (std::size_t i = 0; i < bmp.byteCount(); ++i) {
        s = s * 1664525u + 1013904223u;
        bmp.bits()[i] = std::uint8_t(s >> 24);
    }
    return bmp;
}

inline Bgr at(const raster::Bitmap& bmp, int x, int y) {
    const std::uint8_t* p = bmp.row(y) + x * 4;
    return {p[0], p[1], p[2]};
}

inline void put(raster::Bitmap& bmp, int x, int y, Bgr c) {
    std::uint8_t* p = bmp.row(y) + x * 4;
    p[0] = std::uint8_t(c.b);
    p[1] = std::uint8_t(c.g);
    p[2] = std::uint8_t(c.r);
}

inline void putGray(raster::Bitmap& bmp, int x, int y, int v) { put(bmp, x, y, {v, v, v}); }

inline std::vector<std::uint8_t> bytesOf(const raster::Bitmap& bmp) {
    return std::vector<std::uint8_t>(bmp.bits(), bmp.bits() + bmp.byteCount());
}

// Runs a filter to the end and returns the picture.
inline raster::Bitmap filtered(int number, raster::Bitmap bmp, int parameter = 0) {
    int progress = 0;
    Module4::ApplyFilter(number, &bmp, parameter, progress);
    return bmp;
}

// The interior computed plainly from the unchanged picture: value(plane, n) gets the plane's
// 3 x 3 neighbourhood n[row][column] and gives the new byte.
template <class Value>
raster::Bitmap fromCopyReference(const raster::Bitmap& before, Value value) {
    raster::Bitmap after = before;
    for (int y = 1; y + 1 < before.height(); ++y)
        for (int x = 1; x + 1 < before.width(); ++x)
            for (int p = 0; p < 3; ++p) {
                int n[3][3];
                for (int dy = 0; dy < 3; ++dy)
                    for (int dx = 0; dx < 3; ++dx) n[dy][dx] = before.row(y + dy - 1)[(x + dx - 1) * 4 + p];
                after.row(y)[x * 4 + p] = std::uint8_t(value(p, n));
            }
    return after;
}

// The numbers of all eighteen routines.
inline const std::vector<int>& allFilterNumbers() {
    static const std::vector<int> numbers{1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 13, 17, 18, 25, 26, 27, 29, 30};
    return numbers;
}

// The parameter the Cover Manipulator passes for a number.
inline int windowParameter(int number) {
    switch (number) {
    case 1: return 2;
    case 4: return 6;
    case 6: return 1;
    case 7: return int(raster::rgb(255, 255, 255));
    case 8:
    case 10: return int(raster::rgb(0, 120, 120));
    case 17: return 10;
    case 18: return int(raster::rgb(180, 180, 180));
    case 29: return 50;
    case 30: return 15;
    default: return 0;
    }
}

} // namespace filtertest
