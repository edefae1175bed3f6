// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg/quant_tables.h"

#include "jpeg/jpeg_error.h"

#include <cmath>

namespace jpeg {

namespace {

// Walks the anti-diagonals, alternating direction, as the zig-zag sequence does.
constexpr std::array<std::uint8_t, 64> makeZigzag() {
    std::array<std::uint8_t, 64> order{};
    int k = 0;
    for (int sum = 0; sum <= 14; ++sum) {
        const int lo = sum < 8 ? 0 : sum - 7;
        const int hi = sum < 8 ? sum : 7;
        for (int step = 0; step <= hi - lo; ++step) {
            // Even diagonals run upwards (row falling), odd ones downwards.
            const int row = (sum % 2 == 0) ? hi - step : lo + step;
            const int col = sum - row;
            order[k++] = std::uint8_t(row * 8 + col);
        }
    }
    return order;
}

constexpr std::array<std::uint8_t, 64> invert(const std::array<std::uint8_t, 64>& order) {
    std::array<std::uint8_t, 64> inverse{};
    for (int k = 0; k < 64; ++k) inverse[order[k]] = std::uint8_t(k);
    return inverse;
}

constexpr Table64 toZigzag(const Table64& natural) {
    const auto order = makeZigzag();
    Table64 out{};
    for (int k = 0; k < 64; ++k) out[k] = natural[order[k]];
    return out;
}

// Tables K.1 and K.2 of the JPEG standard, rows of the 8 x 8 block.
constexpr Table64 kLuminanceNatural = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                                       14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                                       18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                                       49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};

constexpr Table64 kChrominanceNatural = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                         24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                         99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                         99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

std::array<double, 8> makeDctFactors() {
    std::array<double, 8> f{};
    const double pi = std::acos(-1.0);
    for (int k = 0; k < 8; ++k) {
        const double a = k == 0 ? 1.0 : std::sqrt(2.0) * std::cos(k * pi / 16.0);
        f[k] = 1.0 / (std::sqrt(8.0) * a);
    }
    return f;
}

} // namespace

const std::array<std::uint8_t, 64> kZigzagToNatural = makeZigzag();
const std::array<std::uint8_t, 64> kNaturalToZigzag = invert(makeZigzag());
const Table64 kBaseLuminance = toZigzag(kLuminanceNatural);
const Table64 kBaseChrominance = toZigzag(kChrominanceNatural);
const std::array<double, 8> kDctFactors = makeDctFactors();

long long roundHalfEven(long long numerator, long long denominator) {
    const long long q = numerator / denominator;
    const long long twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator) return q + 1;
    if (twiceRest == denominator) return q + (q & 1);
    return q;
}

int qualityScale(int quality) {
    if (quality >= 50) return 200 - 2 * quality;
    return int(roundHalfEven(5000, quality));
}

Table64 scaledTable(const Table64& base, int quality) {
    const long long s = qualityScale(quality);
    Table64 out{};
    for (int k = 0; k < 64; ++k) {
        long long entry = roundHalfEven(base[k] * s + 50, 100);
        if (entry < 1) entry = 1;
        if (entry > 255) entry = 255;
        out[k] = std::uint16_t(entry);
    }
    return out;
}

Divisors divisorsFor(const Table64& zigzagTable) {
    Divisors d{};
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 8; ++j) {
            const int entry = zigzagTable[kNaturalToZigzag[i * 8 + j]];
            if (entry < 1 || entry > 255) raise(kBadQuantizationTable);
            d[i * 8 + j] = float(kDctFactors[i] * kDctFactors[j] / entry);
        }
    }
    return d;
}

} // namespace jpeg
