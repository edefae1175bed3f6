// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg/forward_dct.h"

#include "jpeg/block_symbols.h"
#include "jpeg/vector_level.h"

#include <algorithm>
#include <array>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <xmmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace jpeg {

namespace {

// One-dimensional transform of eight rows (row r at in + r * stride), applied to all eight
// columns at once, so the inner loop runs over contiguous floats and vectorises; the result goes
// to b (8 floats a row), which may be in itself.
inline void verticalPass(const float* in, std::ptrdiff_t stride, float* b) {
    constexpr float c4 = 0.707106781f; // cos(4 pi / 16)
    constexpr float c6 = 0.382683433f; // cos(6 pi / 16)
    constexpr float c2m6 = 0.541196100f; // cos(2 pi / 16) - cos(6 pi / 16)
    constexpr float c2p6 = 1.306562965f; // cos(2 pi / 16) + cos(6 pi / 16)
    for (int c = 0; c < 8; ++c) {
        const float s07 = in[0 * stride + c] + in[7 * stride + c], d07 = in[0 * stride + c] - in[7 * stride + c];
        const float s16 = in[1 * stride + c] + in[6 * stride + c], d16 = in[1 * stride + c] - in[6 * stride + c];
        const float s25 = in[2 * stride + c] + in[5 * stride + c], d25 = in[2 * stride + c] - in[5 * stride + c];
        const float s34 = in[3 * stride + c] + in[4 * stride + c], d34 = in[3 * stride + c] - in[4 * stride + c];

        // Even half.
        const float e0 = s07 + s34, e3 = s07 - s34;
        const float e1 = s16 + s25, e2 = s16 - s25;
        b[0 * 8 + c] = e0 + e1;
        b[4 * 8 + c] = e0 - e1;
        const float rot = (e2 + e3) * c4;
        b[2 * 8 + c] = e3 + rot;
        b[6 * 8 + c] = e3 - rot;

        // Odd half.
        const float o0 = d34 + d25, o1 = d25 + d16, o2 = d16 + d07;
        const float shared = (o0 - o2) * c6;
        const float k2 = c2m6 * o0 + shared;
        const float k4 = c2p6 * o2 + shared;
        const float k3 = o1 * c4;
        const float a = d07 + k3, s = d07 - k3;
        b[5 * 8 + c] = s + k2;
        b[3 * 8 + c] = s - k2;
        b[1 * 8 + c] = a + k4;
        b[7 * 8 + c] = a - k4;
    }
}

inline void transpose(float* b) {
#if defined(__SSE2__)
    // Four 4 x 4 quarters: each diagonal quarter in place, the two others swapped as they turn.
    const auto load = [b](int row, int col, __m128& r0, __m128& r1, __m128& r2, __m128& r3) {
        r0 = _mm_loadu_ps(b + row * 8 + col);
        r1 = _mm_loadu_ps(b + (row + 1) * 8 + col);
        r2 = _mm_loadu_ps(b + (row + 2) * 8 + col);
        r3 = _mm_loadu_ps(b + (row + 3) * 8 + col);
        _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
    };
    const auto store = [b](int row, int col, __m128 r0, __m128 r1, __m128 r2, __m128 r3) {
        _mm_storeu_ps(b + row * 8 + col, r0);
        _mm_storeu_ps(b + (row + 1) * 8 + col, r1);
        _mm_storeu_ps(b + (row + 2) * 8 + col, r2);
        _mm_storeu_ps(b + (row + 3) * 8 + col, r3);
    };
    __m128 a0, a1, a2, a3, c0, c1, c2, c3;
    load(0, 0, a0, a1, a2, a3);
    store(0, 0, a0, a1, a2, a3);
    load(4, 4, a0, a1, a2, a3);
    store(4, 4, a0, a1, a2, a3);
    load(0, 4, a0, a1, a2, a3);
    load(4, 0, c0, c1, c2, c3);
    store(4, 0, a0, a1, a2, a3);
    store(0, 4, c0, c1, c2, c3);
    return;
#endif
    for (int r = 0; r < 8; ++r)
        for (int c = r + 1; c < 8; ++c) {
            const float t = b[r * 8 + c];
            b[r * 8 + c] = b[c * 8 + r];
            b[c * 8 + r] = t;
        }
}

// Zig-zag position k -> index in the transposed block (column * 8 + row), known when compiling so
// that the reordering unrolls into plain moves.
constexpr std::array<std::uint8_t, 64> transposedZigzag() {
    std::array<std::uint8_t, 64> index{};
    int k = 0;
    for (int d = 0; d < 15; ++d) // anti-diagonals row + column = d, walked up on even ones
        for (int i = 0; i < 8; ++i) {
            const int row = d % 2 ? i : d - i, col = d - row;
            if (row < 0 || row > 7 || col < 0 || col > 7) continue;
            index[std::size_t(k++)] = std::uint8_t(col * 8 + row);
        }
    return index;
}
constexpr std::array<std::uint8_t, 64> kTransposedZigzag = transposedZigzag();

#if defined(__x86_64__) && defined(__GNUC__)
#define KAVI_WIDE_VECTORS 1
// kTransposedZigzag as word indices for the permutations.
constexpr std::array<std::int16_t, 64> wideOrder() {
    std::array<std::int16_t, 64> order{};
    for (std::size_t k = 0; k < 64; ++k) order[k] = std::int16_t(kTransposedZigzag[k]);
    return order;
}
alignas(64) constexpr std::array<std::int16_t, 64> kWideOrder = wideOrder();

// The same products, rounding and saturation in 512-bit registers, and the reordering as two
// word permutations. Used where the processor has AVX-512BW.
// With stored, also streams the block there and returns its nonzero mask.
__attribute__((target("avx512f,avx512bw"))) std::uint64_t
quantizeWide(const float* block, const Divisors& divisors, std::int16_t* zigzagOut, std::int16_t* stored = nullptr) {
    __m512i words[2];
    for (int half = 0; half < 2; ++half) {
        const float* b = block + 32 * half;
        const float* d = divisors.data() + 32 * half;
        // The zero-masked forms: the plain ones pass an undefined value that GCC 12 warns about.
        const __mmask16 all = 0xFFFF;
        const __m512i lo = _mm512_maskz_cvtps_epi32(all, _mm512_mul_ps(_mm512_loadu_ps(b), _mm512_loadu_ps(d)));
        const __m512i hi =
            _mm512_maskz_cvtps_epi32(all, _mm512_mul_ps(_mm512_loadu_ps(b + 16), _mm512_loadu_ps(d + 16)));
        const __m512i low =
            _mm512_maskz_inserti64x4(0xFF, _mm512_setzero_si512(), _mm512_maskz_cvtsepi32_epi16(all, lo), 0);
        words[half] = _mm512_maskz_inserti64x4(0xFF, low, _mm512_maskz_cvtsepi32_epi16(all, hi), 1);
    }
    const __m512i out0 = _mm512_permutex2var_epi16(words[0], _mm512_load_si512(kWideOrder.data()), words[1]);
    const __m512i out1 = _mm512_permutex2var_epi16(words[0], _mm512_load_si512(kWideOrder.data() + 32), words[1]);
    _mm512_storeu_si512(zigzagOut, out0);
    _mm512_storeu_si512(zigzagOut + 32, out1);
    if (!stored) return 0;
    _mm512_stream_si512(reinterpret_cast<__m512i*>(stored), out0);
    _mm512_stream_si512(reinterpret_cast<__m512i*>(stored + 32), out1);
    return std::uint64_t(_mm512_test_epi16_mask(out0, out0)) | std::uint64_t(_mm512_test_epi16_mask(out1, out1)) << 32;
}

// The vertical pass on eight columns in one 256-bit register a row: the operations of
// verticalPass, in its order.
__attribute__((target("avx2"))) inline void verticalPassWide(__m256 (&r)[8]) {
    const __m256 c4 = _mm256_set1_ps(0.707106781f), c6 = _mm256_set1_ps(0.382683433f);
    const __m256 c2m6 = _mm256_set1_ps(0.541196100f), c2p6 = _mm256_set1_ps(1.306562965f);
    const __m256 s07 = _mm256_add_ps(r[0], r[7]), d07 = _mm256_sub_ps(r[0], r[7]);
    const __m256 s16 = _mm256_add_ps(r[1], r[6]), d16 = _mm256_sub_ps(r[1], r[6]);
    const __m256 s25 = _mm256_add_ps(r[2], r[5]), d25 = _mm256_sub_ps(r[2], r[5]);
    const __m256 s34 = _mm256_add_ps(r[3], r[4]), d34 = _mm256_sub_ps(r[3], r[4]);

    const __m256 e0 = _mm256_add_ps(s07, s34), e3 = _mm256_sub_ps(s07, s34);
    const __m256 e1 = _mm256_add_ps(s16, s25), e2 = _mm256_sub_ps(s16, s25);
    r[0] = _mm256_add_ps(e0, e1);
    r[4] = _mm256_sub_ps(e0, e1);
    const __m256 rot = _mm256_mul_ps(_mm256_add_ps(e2, e3), c4);
    r[2] = _mm256_add_ps(e3, rot);
    r[6] = _mm256_sub_ps(e3, rot);

    const __m256 o0 = _mm256_add_ps(d34, d25), o1 = _mm256_add_ps(d25, d16), o2 = _mm256_add_ps(d16, d07);
    const __m256 shared = _mm256_mul_ps(_mm256_sub_ps(o0, o2), c6);
    const __m256 k2 = _mm256_add_ps(_mm256_mul_ps(c2m6, o0), shared);
    const __m256 k4 = _mm256_add_ps(_mm256_mul_ps(c2p6, o2), shared);
    const __m256 k3 = _mm256_mul_ps(o1, c4);
    const __m256 a = _mm256_add_ps(d07, k3), s = _mm256_sub_ps(d07, k3);
    r[5] = _mm256_add_ps(s, k2);
    r[3] = _mm256_sub_ps(s, k2);
    r[1] = _mm256_add_ps(a, k4);
    r[7] = _mm256_sub_ps(a, k4);
}

__attribute__((target("avx2"))) inline void transposeWide(__m256 (&r)[8]) {
    __m256 t[8], u[8];
    for (int i = 0; i < 8; i += 2) {
        t[i] = _mm256_unpacklo_ps(r[i], r[i + 1]);
        t[i + 1] = _mm256_unpackhi_ps(r[i], r[i + 1]);
    }
    for (int i = 0; i < 8; i += 4) {
        u[i] = _mm256_shuffle_ps(t[i], t[i + 2], 0x44);
        u[i + 1] = _mm256_shuffle_ps(t[i], t[i + 2], 0xEE);
        u[i + 2] = _mm256_shuffle_ps(t[i + 1], t[i + 3], 0x44);
        u[i + 3] = _mm256_shuffle_ps(t[i + 1], t[i + 3], 0xEE);
    }
    for (int i = 0; i < 4; ++i) {
        r[i] = _mm256_permute2f128_ps(u[i], u[i + 4], 0x20);
        r[i + 4] = _mm256_permute2f128_ps(u[i], u[i + 4], 0x31);
    }
}

// The vertical pass on two blocks side by side, a row of each in one 512-bit register.
__attribute__((target("avx512f"))) inline void verticalPassPair(__m512 (&r)[8]) {
    const __m512 c4 = _mm512_set1_ps(0.707106781f), c6 = _mm512_set1_ps(0.382683433f);
    const __m512 c2m6 = _mm512_set1_ps(0.541196100f), c2p6 = _mm512_set1_ps(1.306562965f);
    const __m512 s07 = _mm512_add_ps(r[0], r[7]), d07 = _mm512_sub_ps(r[0], r[7]);
    const __m512 s16 = _mm512_add_ps(r[1], r[6]), d16 = _mm512_sub_ps(r[1], r[6]);
    const __m512 s25 = _mm512_add_ps(r[2], r[5]), d25 = _mm512_sub_ps(r[2], r[5]);
    const __m512 s34 = _mm512_add_ps(r[3], r[4]), d34 = _mm512_sub_ps(r[3], r[4]);

    const __m512 e0 = _mm512_add_ps(s07, s34), e3 = _mm512_sub_ps(s07, s34);
    const __m512 e1 = _mm512_add_ps(s16, s25), e2 = _mm512_sub_ps(s16, s25);
    r[0] = _mm512_add_ps(e0, e1);
    r[4] = _mm512_sub_ps(e0, e1);
    const __m512 rot = _mm512_mul_ps(_mm512_add_ps(e2, e3), c4);
    r[2] = _mm512_add_ps(e3, rot);
    r[6] = _mm512_sub_ps(e3, rot);

    const __m512 o0 = _mm512_add_ps(d34, d25), o1 = _mm512_add_ps(d25, d16), o2 = _mm512_add_ps(d16, d07);
    const __m512 shared = _mm512_mul_ps(_mm512_sub_ps(o0, o2), c6);
    const __m512 k2 = _mm512_add_ps(_mm512_mul_ps(c2m6, o0), shared);
    const __m512 k4 = _mm512_add_ps(_mm512_mul_ps(c2p6, o2), shared);
    const __m512 k3 = _mm512_mul_ps(o1, c4);
    const __m512 a = _mm512_add_ps(d07, k3), s = _mm512_sub_ps(d07, k3);
    r[5] = _mm512_add_ps(s, k2);
    r[3] = _mm512_sub_ps(s, k2);
    r[1] = _mm512_add_ps(a, k4);
    r[7] = _mm512_sub_ps(a, k4);
}

// Both blocks' 8 x 8 transposes at once, each in its half of the registers.
__attribute__((target("avx512f"))) inline void transposePair(__m512 (&r)[8]) {
    const __mmask16 all = 0xFFFF; // zero-masked forms, as in quantizeWide
    __m512 t[8], u[8];
    for (int i = 0; i < 8; i += 2) {
        t[i] = _mm512_maskz_unpacklo_ps(all, r[i], r[i + 1]);
        t[i + 1] = _mm512_maskz_unpackhi_ps(all, r[i], r[i + 1]);
    }
    for (int i = 0; i < 8; i += 4) {
        u[i] = _mm512_maskz_shuffle_ps(all, t[i], t[i + 2], 0x44);
        u[i + 1] = _mm512_maskz_shuffle_ps(all, t[i], t[i + 2], 0xEE);
        u[i + 2] = _mm512_maskz_shuffle_ps(all, t[i + 1], t[i + 3], 0x44);
        u[i + 3] = _mm512_maskz_shuffle_ps(all, t[i + 1], t[i + 3], 0xEE);
    }
    // 128-bit quarters: even ones of u[i] and u[i + 4] interleaved, then the odd ones.
    const __m512i evens = _mm512_setr_epi32(0, 1, 2, 3, 16, 17, 18, 19, 8, 9, 10, 11, 24, 25, 26, 27);
    const __m512i odds = _mm512_setr_epi32(4, 5, 6, 7, 20, 21, 22, 23, 12, 13, 14, 15, 28, 29, 30, 31);
    for (int i = 0; i < 4; ++i) {
        r[i] = _mm512_permutex2var_ps(u[i], evens, u[i + 4]);
        r[i + 4] = _mm512_permutex2var_ps(u[i], odds, u[i + 4]);
    }
}

__attribute__((target("avx512f,avx512dq"))) void forwardDctPairWide(const float* rows, std::ptrdiff_t stride,
                                                                    float* first, float* second) {
    __m512 r[8];
    for (int i = 0; i < 8; ++i) r[i] = _mm512_loadu_ps(rows + i * stride);
    verticalPassPair(r);
    transposePair(r);
    verticalPassPair(r);
    for (int i = 0; i < 8; ++i) {
        _mm256_storeu_ps(first + 8 * i, _mm512_maskz_extractf32x8_ps(0xFF, r[i], 0));
        _mm256_storeu_ps(second + 8 * i, _mm512_maskz_extractf32x8_ps(0xFF, r[i], 1));
    }
}

__attribute__((target("avx2"))) void forwardDctWide(const float* rows, std::ptrdiff_t stride, float* block) {
    __m256 r[8];
    for (int i = 0; i < 8; ++i) r[i] = _mm256_loadu_ps(rows + i * stride);
    verticalPassWide(r);
    transposeWide(r);
    verticalPassWide(r);
    for (int i = 0; i < 8; ++i) _mm256_storeu_ps(block + 8 * i, r[i]);
}
#endif

} // namespace

void forwardDctTransposed(float* block) { forwardDctTransposed(block, 8, block); }

void forwardDctTransposed(const float* rows, std::ptrdiff_t stride, float* block) {
#if defined(KAVI_WIDE_VECTORS)
    if (useAvx2()) {
        forwardDctWide(rows, stride, block);
        return;
    }
#endif
    verticalPass(rows, stride, block);
    transpose(block);
    verticalPass(block, 8, block);
}

void forwardDctTransposedPair(const float* rows, std::ptrdiff_t stride, float* first, float* second) {
#if defined(KAVI_WIDE_VECTORS)
    if (useAvx512()) {
        forwardDctPairWide(rows, stride, first, second);
        return;
    }
#endif
    forwardDctTransposed(rows, stride, first);
    forwardDctTransposed(rows + 8, stride, second);
}

Divisors transposedDivisors(const Divisors& natural) {
    Divisors t{};
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) t[c * 8 + r] = natural[r * 8 + c];
    return t;
}

void quantizeTransposed(const float* block, const Divisors& divisors, std::int16_t* zigzagOut) {
#if defined(KAVI_WIDE_VECTORS)
    if (useAvx512()) {
        quantizeWide(block, divisors, zigzagOut);
        return;
    }
#endif
    alignas(16) std::int16_t rounded[64];
#if defined(__SSE2__)
    // cvtps2dq rounds in the current mode, which is round-to-nearest-even; packs saturates.
    for (int i = 0; i < 64; i += 8) {
        const __m128 lo = _mm_mul_ps(_mm_loadu_ps(block + i), _mm_loadu_ps(divisors.data() + i));
        const __m128 hi = _mm_mul_ps(_mm_loadu_ps(block + i + 4), _mm_loadu_ps(divisors.data() + i + 4));
        const __m128i packed = _mm_packs_epi32(_mm_cvtps_epi32(lo), _mm_cvtps_epi32(hi));
        _mm_store_si128(reinterpret_cast<__m128i*>(rounded + i), packed);
    }
#else
    for (int i = 0; i < 64; ++i) {
        float v = std::nearbyint(block[i] * divisors[i]);
        v = v < -32768.0f ? -32768.0f : (v > 32767.0f ? 32767.0f : v);
        rounded[i] = std::int16_t(v);
    }
#endif
    for (int k = 0; k < 64; ++k) zigzagOut[k] = rounded[kTransposedZigzag[std::size_t(k)]];
}

std::uint64_t quantizeToStore(const float* block, const Divisors& divisors, std::int16_t* zigzagOut,
                              std::int16_t* stored) {
#if defined(KAVI_WIDE_VECTORS)
    if (useAvx512()) return quantizeWide(block, divisors, zigzagOut, stored);
#endif
    quantizeTransposed(block, divisors, zigzagOut);
#if defined(__SSE2__)
    for (int i = 0; i < 64; i += 8)
        _mm_stream_si128(reinterpret_cast<__m128i*>(stored + i),
                         _mm_load_si128(reinterpret_cast<const __m128i*>(zigzagOut + i)));
#else
    std::copy(zigzagOut, zigzagOut + 64, stored);
#endif
    return nonZeroMask(zigzagOut);
}

} // namespace jpeg
