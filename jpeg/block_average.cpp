#include "block_average.h"

#include "raster/parallel_parts.h"

#include <cstdint>

namespace jpeg {

namespace {

// For n pixels of a block, sum S of one channel: floor((2S + n) / (2n)), the stretch's mean.
template <int FX, int FY>
void averageRows(const PixelRows& source, const PixelRows& target, int from, int to) {
    constexpr unsigned n = unsigned(FX * FY);
    for (int j = from; j < to; ++j) {
        std::uint8_t* out = const_cast<std::uint8_t*>(target.row(j));
        const std::uint8_t* rows[FY];
        for (int k = 0; k < FY; ++k) rows[k] = source.row(j * FY + k);
        for (int i = 0; i < target.width; ++i) {
            unsigned b = 0, g = 0, r = 0;
            for (int k = 0; k < FY; ++k)
                for (int m = 0; m < FX; ++m) {
                    const std::uint8_t* p = rows[k] + 4 * (i * FX + m);
                    b += p[0];
                    g += p[1];
                    r += p[2];
                }
            out[4 * i] = std::uint8_t((2 * b + n) / (2 * n));
            out[4 * i + 1] = std::uint8_t((2 * g + n) / (2 * n));
            out[4 * i + 2] = std::uint8_t((2 * r + n) / (2 * n));
            out[4 * i + 3] = 0;
        }
    }
}

template <int FX, int FY>
void averageAll(const PixelRows& source, const PixelRows& target) {
    raster::runRanges(target.height, 8, [&](int from, int to) { averageRows<FX, FY>(source, target, from, to); });
}

} // namespace

bool averageBlocks(const PixelRows& source, const PixelRows& target) {
    if (target.width < 1 || target.height < 1) return false;
    if (source.width % target.width || source.height % target.height) return false;
    const int fx = source.width / target.width, fy = source.height / target.height;
    switch (fx * 8 + fy) {
    case 1 * 8 + 2: averageAll<1, 2>(source, target); return true;
    case 2 * 8 + 1: averageAll<2, 1>(source, target); return true;
    case 2 * 8 + 2: averageAll<2, 2>(source, target); return true;
    case 4 * 8 + 1: averageAll<4, 1>(source, target); return true;
    case 1 * 8 + 4: averageAll<1, 4>(source, target); return true;
    case 4 * 8 + 2: averageAll<4, 2>(source, target); return true;
    case 2 * 8 + 4: averageAll<2, 4>(source, target); return true;
    case 4 * 8 + 4: averageAll<4, 4>(source, target); return true;
    default: return false;  // the same size, 3 and the rest: the stretch's own arithmetic
    }
}

} // namespace jpeg
