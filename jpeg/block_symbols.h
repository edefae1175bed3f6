// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Huffman symbols of one block of zig-zag coefficients, walked by the writing pass and by the
// counting that the transform does while a block is still in the cache.
#include "jpeg/component_symbols.h"
#include "jpeg/huffman_table.h"

#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace jpeg {

constexpr std::uint8_t kEndOfBlock = 0x00;
constexpr std::uint8_t kZeroRun16 = 0xF0;

inline int category(int v) {
    const unsigned magnitude = unsigned(v < 0 ? -v : v);
    return magnitude ? 32 - std::countl_zero(magnitude) : 0;
}

// The low bits that follow a symbol: v itself, or v - 1 for negative values (ones' complement).
inline std::uint32_t magnitudeBits(int v, int cat) { return std::uint32_t(v < 0 ? v - 1 : v) & ((1u << cat) - 1); }

// Bit k set where zig-zag coefficient k is not zero.
inline std::uint64_t nonZeroMask(const std::int16_t* zz) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    std::uint64_t zeros = 0;
    for (int i = 0; i < 64; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(zz + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(zz + i + 8));
        const __m128i bytes = _mm_packs_epi16(_mm_cmpeq_epi16(a, zero), _mm_cmpeq_epi16(b, zero));
        zeros |= std::uint64_t(std::uint32_t(_mm_movemask_epi8(bytes))) << i;
    }
    return ~zeros;
#else
    std::uint64_t mask = 0;
    for (int k = 0; k < 64; ++k)
        if (zz[k]) mask |= std::uint64_t(1) << k;
    return mask;
#endif
}

// Walks one block's AC symbols: sink.ac(symbol, value, size) for each, end of block included;
// nonZero is nonZeroMask(zz).
template <class Sink>
inline void codeAc(const std::int16_t* zz, std::uint64_t nonZero, Sink& sink) {
    std::uint64_t mask = nonZero & ~std::uint64_t(1);
    int last = 0;
    while (mask) {
        const int k = std::countr_zero(mask);
        mask &= mask - 1;
        int run = k - last - 1;
        while (run > 15) {
            sink.ac(kZeroRun16, 0, 0);
            run -= 16;
        }
        const int v = zz[k];
        const int cat = category(v);
        sink.ac(std::uint8_t((run << 4) | cat), v, cat);
        last = k;
    }
    if (last != 63) sink.ac(kEndOfBlock, 0, 0);
}

// Walks one block's symbols: sink.dc(category, value) once, then its AC symbols.
template <class Sink>
inline void codeBlock(const std::int16_t* zz, int& lastDc, Sink& sink) {
    const int diff = zz[0] - lastDc;
    lastDc = zz[0];
    sink.dc(category(diff), diff);
    codeAc(zz, nonZeroMask(zz), sink);
}

// Adds one block's AC symbols to counts and their extra bits to extraBits; nonZero is
// nonZeroMask(zz).
inline void countAc(const std::int16_t* zz, std::uint64_t nonZero, SymbolCounts& counts, std::uint64_t& extraBits) {
    struct Counter {
        SymbolCounts& counts;
        unsigned extra = 0; // kept apart from the counts, so it stays in a register
        void ac(std::uint8_t symbol, int, int size) {
            ++counts[symbol];
            extra += unsigned(size);
        }
    } counter{counts};
    codeAc(zz, nonZero, counter);
    extraBits += counter.extra;
}

} // namespace jpeg
