// SPDX-License-Identifier: GPL-3.0-or-later
// Dilate, Erode, Edge Detect and Diffuse.
#include "tests/filters/filter_pictures.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace filtertest;
using namespace Module4;
namespace N = Module4::FilterNumber;

TEST(MorphologyFilters, OneWhitePixelInBlack) {
    raster::Bitmap dot = flat(7, 7, 0);
    putGray(dot, 3, 3, 255);
    const raster::Bitmap dilated = filtered(N::Dilate, dot);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x) {
            const bool inBlock = std::abs(x - 3) <= 1 && std::abs(y - 3) <= 1;
            EXPECT_EQ(at(dilated, x, y).g, inBlock ? 255 : 0) << x << "," << y;
        }
    EXPECT_EQ(bytesOf(filtered(N::Erode, dot)), bytesOf(flat(7, 7, 0)));
    EXPECT_EQ(bytesOf(filtered(N::EdgeDetect, dot)), bytesOf(dot)) << "255 - 0 at the dot, 0 - 0 around it";
}

TEST(MorphologyFilters, ReadTheUnchangedCopy) {
    // A white column one pixel wide becomes a band exactly three wide, not a spread to the right.
    raster::Bitmap column = flat(9, 5, 0);
    for (int y = 0; y < 5; ++y) putGray(column, 3, y, 255);
    const raster::Bitmap band = filtered(N::Dilate, column);
    for (int y = 1; y < 4; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(at(band, x, y).b, (x >= 2 && x <= 4) ? 255 : 0) << x << "," << y;
    EXPECT_EQ(at(band, 2, 0).b, 0) << "the top row keeps its value";

    // Erode of the inverse likewise gives a black band three wide.
    const raster::Bitmap inverse = filtered(N::Negative, column);
    const raster::Bitmap eroded = filtered(N::Erode, inverse);
    for (int x = 0; x < 9; ++x) EXPECT_EQ(at(eroded, x, 2).b, (x >= 2 && x <= 4) ? 0 : 255) << x;

    // Edge Detect: flat interior goes black, the border keeps its colour.
    const raster::Bitmap plain = flat(5, 4, 60);
    const raster::Bitmap edges = filtered(N::EdgeDetect, plain);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool border = x == 0 || y == 0 || x == 4 || y == 3;
            EXPECT_EQ(at(edges, x, y).r, border ? 60 : 0);
        }
    // Each plane on its own: a pixel's own green against the smallest green around it.
    raster::Bitmap mixed = flat(3, 3, 50);
    put(mixed, 1, 1, {70, 40, 90});
    put(mixed, 0, 0, {20, 50, 50});
    EXPECT_EQ(at(filtered(N::EdgeDetect, mixed), 1, 1), (Bgr{50, 0, 40}));
    EXPECT_EQ(at(filtered(N::Dilate, mixed), 1, 1), (Bgr{70, 50, 90}));
    EXPECT_EQ(at(filtered(N::Erode, mixed), 1, 1), (Bgr{20, 40, 50}));
}

TEST(MorphologyFilters, MatchAPlainComputationOnANoisyPicture) {
    const raster::Bitmap noisy = scrambled(41, 9);
    auto extreme = [](const int(&n)[3][3], bool largest) {
        int v = n[0][0];
        for (const auto& row : n)
            for (int value : row) v = largest ? std::max(v, value) : std::min(v, value);
        return v;
    };
    EXPECT_EQ(bytesOf(filtered(N::Dilate, noisy)),
              bytesOf(fromCopyReference(noisy, [&](int, const int(&n)[3][3]) { return extreme(n, true); })));
    EXPECT_EQ(bytesOf(filtered(N::Erode, noisy)),
              bytesOf(fromCopyReference(noisy, [&](int, const int(&n)[3][3]) { return extreme(n, false); })));
    EXPECT_EQ(bytesOf(filtered(N::EdgeDetect, noisy)),
              bytesOf(fromCopyReference(noisy, [&](int, const int(&n)[3][3]) { return n[1][1] - extreme(n, false); })));
}

TEST(MorphologyFilters, DiffuseDrawsTwoNumbersPerPixelAndStaysInside) {
    // 1 x 1: both offsets are dropped, the pixel stays, and two numbers are drawn.
    SeedFilterRandom(5);
    raster::Bitmap single = scrambled(1, 1);
    const auto before = bytesOf(single);
    EXPECT_EQ(bytesOf(filtered(N::Diffuse, single, 6)), before);
    const float third = DrawFilterRandom();
    SeedFilterRandom(5);
    DrawFilterRandom();
    DrawFilterRandom();
    EXPECT_EQ(DrawFilterRandom(), third);

    // A flat picture stays flat.
    EXPECT_EQ(bytesOf(filtered(N::Diffuse, flat(20, 10, 33), 6)), bytesOf(flat(20, 10, 33)));

    // One row of distinct pixels: vertical offsets always drop, and every horizontal offset is
    // either taken whole from the current row (already diffused to the left) or dropped.
    const int w = 12;
    raster::Bitmap row(w, 1, 32);
    for (int x = 0; x < w; ++x) put(row, x, 0, {x, 100 + x, 200 - x});
    SeedFilterRandom(2024);
    const raster::Bitmap diffused = filtered(N::Diffuse, row, 6);
    SeedFilterRandom(2024);
    std::vector<Bgr> expected;
    for (int x = 0; x < w; ++x) expected.push_back(at(row, x, 0));
    for (int x = 0; x < w; ++x) {
        const double u1 = DrawFilterRandom();
        DrawFilterRandom();
        int dx = int(std::nearbyint(u1 * 6 - 3));
        ASSERT_GE(dx, -3);
        ASSERT_LE(dx, 3);
        if (x + dx < 0 || x + dx >= w) dx = 0;
        expected[std::size_t(x)] = expected[std::size_t(x + dx)];
    }
    for (int x = 0; x < w; ++x) EXPECT_EQ(at(diffused, x, 0), expected[std::size_t(x)]) << x;

    // Every pixel of a large picture comes from inside it: the left column never takes the
    // colour that lies past the end of the row above.
    raster::Bitmap stripes(16, 40, 32);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 16; ++x) putGray(stripes, x, y, x < 4 ? 10 : (x >= 12 ? 250 : 128));
    const raster::Bitmap spread = filtered(N::Diffuse, stripes, 6);
    for (int y = 0; y < 40; ++y) EXPECT_EQ(at(spread, 0, y).g == 250, false) << y;
}

TEST(FilterRandom, UniformNumbersBelowOne) {
    SeedFilterRandom(314);
    int bins[10] = {};
    double sum = 0;
    const int draws = 200000;
    for (int i = 0; i < draws; ++i) {
        const float u = DrawFilterRandom();
        ASSERT_GE(u, 0.0f);
        ASSERT_LT(u, 1.0f);
        sum += u;
        ++bins[int(u * 10)];
    }
    EXPECT_NEAR(sum / draws, 0.5, 0.005);
    for (int count : bins) EXPECT_NEAR(count, draws / 10, draws / 100);
    // A batch continues the same sequence and hands its state back.
    SeedFilterRandom(8);
    const float first = DrawFilterRandom(), second = DrawFilterRandom(), third = DrawFilterRandom();
    SeedFilterRandom(8);
    {
        FilterRandomBatch batch;
        EXPECT_EQ(batch.next(), first);
        EXPECT_EQ(batch.next(), second);
    }
    EXPECT_EQ(DrawFilterRandom(), third);
    // Filling many at once gives the same numbers as drawing them one by one.
    SeedFilterRandom(77);
    std::vector<float> oneByOne(45);
    for (float& u : oneByOne) u = DrawFilterRandom();
    const float afterThem = DrawFilterRandom();
    SeedFilterRandom(77);
    std::vector<float> filled(45);
    {
        FilterRandomBatch batch;
        batch.fill(filled.data(), 40);
        batch.fill(filled.data() + 40, 5);
    }
    EXPECT_EQ(filled, oneByOne);
    EXPECT_EQ(DrawFilterRandom(), afterThem);
}
