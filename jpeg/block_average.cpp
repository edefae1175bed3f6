// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg/block_average.h"

#include "formats/raster/parallel_parts.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace jpeg {

namespace {

// For n pixels of a block, sum S of one channel: floor((2S + n) / (2n)), the stretch's mean.
template <int FX, int FY>
void averageRowOf(const PixelRows& source, int y, int width, std::uint8_t* out) {
    constexpr unsigned n = unsigned(FX * FY);
    const std::uint8_t* rows[FY];
    for (int k = 0; k < FY; ++k) rows[k] = source.row(y * FY + k);
    for (int i = 0; i < width; ++i) {
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

#if defined(__SSE2__)
// The 2 x 2 means of four source pixels of two rows at a time, in 16-bit lanes: the sums of
// four bytes stay below 1024, and (S + 2) >> 2 is floor((2S + 4) / 8).
void averageRow22(const PixelRows& source, int y, int width, std::uint8_t* out) {
    const std::uint8_t* top = source.row(2 * y);
    const std::uint8_t* bottom = source.row(2 * y + 1);
    const __m128i zero = _mm_setzero_si128(), two = _mm_set1_epi16(2);
    const __m128i colourBytes = _mm_set1_epi32(0x00FFFFFF);
    int i = 0;
    for (; i + 2 <= width; i += 2) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + 8 * i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom + 8 * i));
        const __m128i low = _mm_add_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero));
        const __m128i high = _mm_add_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero));
        const __m128i first = _mm_add_epi16(low, _mm_srli_si128(low, 8)); // lanes 0-3: pixel i
        const __m128i second = _mm_add_epi16(high, _mm_srli_si128(high, 8)); // lanes 0-3: pixel i + 1
        const __m128i sums = _mm_unpacklo_epi64(first, second);
        const __m128i means = _mm_srli_epi16(_mm_add_epi16(sums, two), 2);
        const __m128i bytes = _mm_and_si128(_mm_packus_epi16(means, zero), colourBytes);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 4 * i), bytes);
    }
    if (i < width) {
        const PixelRows rest{source.top + 8 * i, source.stride, source.width - 2 * i, source.height};
        averageRowOf<2, 2>(rest, y, width - i, out + 4 * i);
    }
}
#endif

bool allowed(int f) { return f == 1 || f == 2 || f == 4; }

} // namespace

Reduction wholeReduction(int sourceWidth, int sourceHeight, int width, int height) {
    if (width < 1 || height < 1 || sourceWidth % width || sourceHeight % height) return {};
    const int fx = sourceWidth / width, fy = sourceHeight / height;
    if (!allowed(fx) || !allowed(fy) || (fx == 1 && fy == 1)) return {};
    return {fx, fy};
}

void averageRow(const PixelRows& source, Reduction r, int y, int width, std::uint8_t* out) {
    switch (r.fx * 8 + r.fy) {
    case 1 * 8 + 2: averageRowOf<1, 2>(source, y, width, out); break;
    case 1 * 8 + 4: averageRowOf<1, 4>(source, y, width, out); break;
    case 2 * 8 + 1: averageRowOf<2, 1>(source, y, width, out); break;
#if defined(__SSE2__)
    case 2 * 8 + 2: averageRow22(source, y, width, out); break;
#else
    case 2 * 8 + 2: averageRowOf<2, 2>(source, y, width, out); break;
#endif
    case 2 * 8 + 4: averageRowOf<2, 4>(source, y, width, out); break;
    case 4 * 8 + 1: averageRowOf<4, 1>(source, y, width, out); break;
    case 4 * 8 + 2: averageRowOf<4, 2>(source, y, width, out); break;
    case 4 * 8 + 4: averageRowOf<4, 4>(source, y, width, out); break;
    default: break;
    }
}

bool averageBlocks(const PixelRows& source, const PixelRows& target) {
    const Reduction r = wholeReduction(source.width, source.height, target.width, target.height);
    if (!r.whole()) return false;
    raster::runRanges(target.height, 8, [&](int from, int to) {
        for (int y = from; y < to; ++y)
            averageRow(source, r, y, target.width, const_cast<std::uint8_t*>(target.row(y)));
    });
    return true;
}

} // namespace jpeg
