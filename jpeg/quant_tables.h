// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Quantization tables: the zig-zag order, the two example base tables, quality scaling and the
// floating-point divisors that fold the forward DCT's output scaling into quantization.
#include <array>
#include <cstdint>

namespace jpeg {

using Table64 = std::array<std::uint16_t, 64>;
using Divisors = std::array<float, 64>;

// kZigzagToNatural[k] is the natural (row * 8 + column) position of zig-zag position k.
extern const std::array<std::uint8_t, 64> kZigzagToNatural;
extern const std::array<std::uint8_t, 64> kNaturalToZigzag;

// The example luminance and chrominance tables, in zig-zag order.
extern const Table64 kBaseLuminance;
extern const Table64 kBaseChrominance;

// The eight scaled DCT factors 1 / (sqrt(8) * a(k)), a(0) = 1, a(k) = sqrt(2) * cos(k * pi / 16).
extern const std::array<double, 8> kDctFactors;

// Scale factor for a quality of 1...100: 200 - 2q from 50 up, else 5000 / q rounded half to even.
int qualityScale(int quality);

// base scaled by a quality's factor: (b * s + 50) / 100 rounded half to even, clamped to 1...255.
Table64 scaledTable(const Table64& base, int quality);

// Divisors in natural order: f(i) * f(j) / entry. Throws "Bad Quantization Table" for an entry
// below 1 or above 255.
Divisors divisorsFor(const Table64& zigzagTable);

// Rounds numerator / denominator (both positive) to the nearest integer, halves to even.
long long roundHalfEven(long long numerator, long long denominator);

} // namespace jpeg
