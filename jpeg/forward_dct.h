// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The floating-point forward DCT of one 8 x 8 block by the Arai-Agui-Nakajima factorisation,
// and quantization of its output into 16-bit coefficients in zig-zag order.
#include "jpeg/quant_tables.h"

#include <cstddef>
#include <cstdint>

namespace jpeg {

// Transforms block (natural order, row * 8 + column) in place. The result is left TRANSPOSED
// (column * 8 + row) and scaled by 8 * a(u) * a(v); quantizeTransposed takes it as it is.
void forwardDctTransposed(float* block);
// The same for the block whose row r starts at rows + r * stride, into block.
void forwardDctTransposed(const float* rows, std::ptrdiff_t stride, float* block);
// The same for two blocks side by side (the second's rows start 8 floats after the first's).
void forwardDctTransposedPair(const float* rows, std::ptrdiff_t stride, float* first, float* second);

// Divisors rearranged to match the transposed output of forwardDctTransposed.
Divisors transposedDivisors(const Divisors& natural);

// Multiplies each coefficient by its divisor, rounds to the nearest 16-bit integer (halves to
// even, saturating) and stores the 64 results in zig-zag order.
void quantizeTransposed(const float* transposedBlock, const Divisors& transposedDivisors, std::int16_t* zigzagOut);

// The same into zigzagOut (16-byte aligned, for the caller's own use at once) and into stored, a
// 64-byte aligned block of a large store that is read only later: it is written with streaming
// stores, around the caches (the caller fences them before others read the store). Returns the
// block's nonzero mask, bit k for zig-zag coefficient k.
std::uint64_t quantizeToStore(const float* transposedBlock, const Divisors& transposedDivisors, std::int16_t* zigzagOut,
                              std::int16_t* stored);

} // namespace jpeg
