// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder's building blocks: quality scaling, divisors, the forward DCT with quantization,
// and the optimal Huffman tables.
#include "jpeg/cjpeg.h"
#include "jpeg/forward_dct.h"
#include "jpeg/huffman_table.h"
#include "jpeg/jpeg_error.h"
#include "jpeg/quant_tables.h"
#include "jpeg/vector_level.h"
#include "tests/jpeg/thrown_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace jpeg;

namespace {

int naturalEntry(const Table64& zz, int row, int col) { return zz[kNaturalToZigzag[row * 8 + col]]; }

} // namespace

TEST(JpegQuality, ScalesTheBaseTablesWithHalvesToEven) {
    cJpeg enc;
    // Zig-zag order walks the anti-diagonals: position 2 is row 1, column 0.
    EXPECT_EQ(kZigzagToNatural[2], 8);
    EXPECT_EQ(kZigzagToNatural[63], 63);
    EXPECT_EQ(naturalEntry(kBaseLuminance, 7, 7), 99);
    EXPECT_EQ(naturalEntry(kBaseChrominance, 0, 3), 47);

    enc.quality(50); // b + 0.5 rounds to the even one of b and b + 1
    for (int k = 0; k < 64; ++k) {
        const int b = kBaseLuminance[k], c = kBaseChrominance[k];
        EXPECT_EQ(enc.QuantizationTable(0)[k], b % 2 ? b + 1 : b) << k;
        EXPECT_EQ(enc.QuantizationTable(1)[k], c % 2 ? c + 1 : c) << k;
    }
    enc.quality(100);
    for (int k = 0; k < 64; ++k) EXPECT_EQ(enc.QuantizationTable(0)[k], 1);
    enc.quality(1); // s = 5000: every entry from 6 up clamps to 255
    for (int k = 0; k < 64; ++k) EXPECT_EQ(enc.QuantizationTable(0)[k], std::min(255, 50 * kBaseLuminance[k])) << k;
    EXPECT_EQ(qualityScale(3), 1667);
    EXPECT_EQ(qualityScale(75), 50);
    // At 75 an even b gives b / 2 + 0.5: 16 -> 8.5 -> 8 and 10 -> 5.5 -> 6 (neither truncated nor up).
    EXPECT_EQ(naturalEntry(scaledTable(kBaseLuminance, 75), 0, 0), 8);
    EXPECT_EQ(naturalEntry(scaledTable(kBaseLuminance, 75), 0, 2), 6);

    const Table64 before = enc.QuantizationTable(0);
    enc.quality(0);
    enc.quality(101);
    enc.quality(-5);
    EXPECT_EQ(enc.quality(), 1);
    EXPECT_EQ(enc.QuantizationTable(0), before);
    EXPECT_EQ(cJpeg().quality(), 75);
}

TEST(JpegQuality, DivisorsFoldTheDctScaleAndRefuseBadEntries) {
    Table64 t;
    t.fill(2);
    const Divisors d = divisorsFor(t);
    EXPECT_NEAR(d[0], 0.125f / 2, 1e-7);
    EXPECT_NEAR(d[7 * 8 + 7], 1.281457724 * 1.281457724 / 2, 1e-6);
    EXPECT_NEAR(kDctFactors[1], 0.254897789, 1e-9);

    t[5] = 0;
    EXPECT_EQ(thrownText([&] { divisorsFor(t); }), "1 Bad Quantization Table");
    t[5] = 256;
    EXPECT_EQ(thrownText([&] { divisorsFor(t); }), "1 Bad Quantization Table");
}

// Quantized output of the float DCT against the defining sum, for blocks of random content.
TEST(JpegTransform, MatchesTheDefiningDctAndStoresZigzag) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> sample(-128, 127);
    Table64 ones;
    ones.fill(1);
    const Divisors div = transposedDivisors(divisorsFor(ones));
    const double pi = std::acos(-1.0);
    for (int trial = 0; trial < 20; ++trial) {
        float block[64];
        double input[64];
        for (int i = 0; i < 64; ++i) input[i] = block[i] = sample(rng);
        std::int16_t out[64];
        forwardDctTransposed(block);
        quantizeTransposed(block, div, out);
        for (int u = 0; u < 8; ++u)
            for (int v = 0; v < 8; ++v) {
                double sum = 0;
                for (int y = 0; y < 8; ++y)
                    for (int x = 0; x < 8; ++x)
                        sum += input[y * 8 + x] * std::cos((2 * y + 1) * u * pi / 16) *
                            std::cos((2 * x + 1) * v * pi / 16);
                const double cu = u ? 1 : std::sqrt(0.5), cv = v ? 1 : std::sqrt(0.5);
                const double exact = 0.25 * cu * cv * sum;
                EXPECT_LE(std::abs(out[kNaturalToZigzag[u * 8 + v]] - exact), 0.5 + 1e-3)
                    << "row " << u << " column " << v;
            }
    }
    // Rounding is half to even and saturates at 16 bits.
    float halves[64] = {};
    Divisors unit;
    unit.fill(1.0f);
    halves[0] = 2.5f;
    halves[8] = -3.5f; // transposed position of zig-zag 1
    halves[1] = 1e6f; // transposed position of zig-zag 2
    std::int16_t out[64];
    quantizeTransposed(halves, unit, out);
    EXPECT_EQ(out[0], 2);
    EXPECT_EQ(out[1], -4);
    EXPECT_EQ(out[2], 32767);
}

TEST(JpegTransform, WideVectorsGiveTheSameCoefficients) {
    if (!useAvx2() && !useAvx512()) GTEST_SKIP() << "this processor has neither AVX2 nor AVX-512";
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> sample(-128, 127);
    Table64 fine, coarse;
    fine.fill(1);
    for (int k = 0; k < 64; ++k) coarse[std::size_t(k)] = std::uint16_t(1 + k * 4);
    for (const Table64& table : {fine, coarse}) {
        const Divisors div = transposedDivisors(divisorsFor(table));
        for (int trial = 0; trial < 200; ++trial) {
            // Two blocks side by side in rows 20 floats apart, as a strip holds them, and now and
            // then a value far out of range, whose coefficients saturate.
            float rows[8 * 20];
            for (float& v : rows) v = sample(rng);
            if (trial % 5 == 0) rows[rng() % 160] = trial % 2 ? 3e9f : -1e7f;
            std::int16_t wide[3][64], narrow[3][64];
            float blocks[3][64];
            const auto run = [&](std::int16_t(&out)[3][64]) {
                forwardDctTransposed(rows + 3, 20, blocks[0]);
                forwardDctTransposedPair(rows + 3, 20, blocks[1], blocks[2]);
                for (int b = 0; b < 3; ++b) quantizeTransposed(blocks[b], div, out[b]);
            };
            run(wide);
            limitVectors(VectorLevel::Sse2);
            run(narrow);
            limitVectors(VectorLevel::Avx512);
            for (int b = 0; b < 3; ++b)
                for (int k = 0; k < 64; ++k)
                    ASSERT_EQ(wide[b][k], narrow[b][k]) << "trial " << trial << " block " << b << " coefficient " << k;
            for (int k = 0; k < 64; ++k) ASSERT_EQ(narrow[1][k], narrow[0][k]) << "the pair's first block";
        }
    }
}

namespace {

void expectOptimalTable(const SymbolCounts& counts) {
    const HuffmanSpec huffman = optimalTable(counts);
    const HuffmanCodes codes = codesFor(huffman);
    int total = 0;
    for (int len = 1; len <= 16; ++len) total += huffman.bits[len];
    ASSERT_EQ(total, int(huffman.values.size()));
    double kraft = 0;
    for (int s = 0; s < 256; ++s) {
        if (counts[s] == 0) {
            EXPECT_EQ(codes.length[s], 0) << "code for unused symbol " << s;
            continue;
        }
        ASSERT_GE(codes.length[s], 1) << "no code for used symbol " << s;
        ASSERT_LE(codes.length[s], 16);
        EXPECT_NE(codes.code[s], (1u << codes.length[s]) - 1) << "all-ones code for " << s;
        kraft += std::ldexp(1.0, -codes.length[s]);
    }
    EXPECT_LT(kraft, 1.0); // one code point stays reserved
}

} // namespace

TEST(JpegHuffman, OptimalLengthsStayWithinSixteenBits) {
    SymbolCounts counts{};
    // Fibonacci counts build a maximally deep tree (30+ levels) that must be folded to 16.
    std::uint64_t a = 1, b = 1;
    for (int s = 0; s < 40; ++s) {
        counts[std::size_t(s * 5)] = a;
        const std::uint64_t next = a + b;
        a = b;
        b = next;
    }
    expectOptimalTable(counts);

    SymbolCounts one{};
    one[0] = 1000; // a single symbol gets a one-bit code 0
    const HuffmanCodes c = codesFor(optimalTable(one));
    EXPECT_EQ(c.length[0], 1);
    EXPECT_EQ(c.code[0], 0);

    SymbolCounts all{};
    for (int s = 0; s < 256; ++s) all[std::size_t(s)] = 1 + std::uint64_t(s % 7) * 1000;
    expectOptimalTable(all);

    // More frequent symbols never get longer codes.
    SymbolCounts skew{};
    skew[1] = 500, skew[2] = 300, skew[3] = 100, skew[4] = 5;
    const HuffmanCodes k = codesFor(optimalTable(skew));
    EXPECT_LE(k.length[1], k.length[2]);
    EXPECT_LE(k.length[2], k.length[3]);
    EXPECT_LE(k.length[3], k.length[4]);
}

TEST(JpegHuffman, ImpossibleTablesAreRefused) {
    HuffmanSpec huffman;
    huffman.bits[1] = 3; // three one-bit codes cannot exist
    huffman.values = {1, 2, 3};
    EXPECT_EQ(thrownText([&] { codesFor(huffman); }), "1 Bad Huffman Table");
    huffman.bits[1] = 2; // two one-bit codes would use the all-ones code 1
    huffman.values = {1, 2};
    EXPECT_EQ(thrownText([&] { codesFor(huffman); }), "1 Bad Huffman Table");
    huffman.bits[1] = 1; // bits do not match the symbols
    EXPECT_EQ(thrownText([&] { codesFor(huffman); }), "1 Bad Huffman Table");
}
