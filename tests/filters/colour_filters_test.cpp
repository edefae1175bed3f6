// SPDX-License-Identifier: GPL-3.0-or-later
// Negative, Gray Scale, Black & White, Saturation, Add Noise, Contrast and SpillClamp.
#include "tests/filters/filter_pictures.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace filtertest;
using namespace Module4;
namespace N = Module4::FilterNumber;

namespace {

Bgr onePixel(int number, Bgr c, int parameter) {
    raster::Bitmap bmp(1, 1, 32);
    put(bmp, 0, 0, c);
    return at(filtered(number, bmp, parameter), 0, 0);
}

Bgr spill(std::int64_t b, std::int64_t g, std::int64_t r) {
    SpillClamp(b, g, r);
    return {int(b), int(g), int(r)};
}

} // namespace

TEST(ColourFilters, NegativeGrayScaleAndBlackWhite) {
    const raster::Bitmap pic = scrambled(5, 4);
    EXPECT_EQ(bytesOf(filtered(N::Negative, filtered(N::Negative, pic))), bytesOf(pic));
    EXPECT_EQ(onePixel(N::Negative, {0, 100, 255}, 0), (Bgr{255, 155, 0}));

    EXPECT_EQ(onePixel(N::Grayscale, {10, 20, 31}, 0), (Bgr{20, 20, 20})) << "61 \\ 3";
    EXPECT_EQ(onePixel(N::Grayscale, {255, 255, 255}, 0), (Bgr{255, 255, 255}));

    const int threshold = int(raster::rgb(180, 180, 180));
    EXPECT_EQ(onePixel(N::BlackWhite, {179, 179, 179}, threshold), (Bgr{0, 0, 0}));
    EXPECT_EQ(onePixel(N::BlackWhite, {0, 0, 180}, threshold), (Bgr{255, 255, 255})) << "red at its threshold";
    EXPECT_EQ(onePixel(N::BlackWhite, {180, 0, 0}, threshold), (Bgr{255, 255, 255})) << "blue at its threshold";
    // Each threshold applies to its own channel: red 10, green 20, blue 30.
    const int uneven = int(raster::rgb(10, 20, 30));
    EXPECT_EQ(onePixel(N::BlackWhite, {29, 19, 9}, uneven), (Bgr{0, 0, 0}));
    EXPECT_EQ(onePixel(N::BlackWhite, {29, 20, 9}, uneven), (Bgr{255, 255, 255}));
}

TEST(ColourFilters, SaturationRoundsTheSinglePrecisionFactorHalfToEven) {
    // Every pixel below has gray level 100.
    EXPECT_EQ(onePixel(N::Saturation, {110, 90, 100}, 15), (Bgr{112, 88, 100})) << "111.50000006 -> 112";
    EXPECT_EQ(onePixel(N::Saturation, {200, 50, 50}, 15), (Bgr{215, 42, 42}));
    EXPECT_EQ(onePixel(N::Saturation, {0, 150, 150}, 15), (Bgr{0, 158, 158})) << "-15 clamps to 0";
    EXPECT_EQ(onePixel(N::Saturation, {110, 90, 100}, -15), (Bgr{108, 92, 100}));
    EXPECT_EQ(onePixel(N::Saturation, {0, 150, 150}, -15), (Bgr{15, 142, 142}));
    // Exact halves with factor 0.5: 107.5 -> 108 and 92.5 -> 92 (gray 100); 106.5 -> 106 and
    // 100.5 -> 100 (gray 102).
    EXPECT_EQ(onePixel(N::Saturation, {105, 95, 100}, 50), (Bgr{108, 92, 100}));
    EXPECT_EQ(onePixel(N::Saturation, {105, 100, 101}, 50), (Bgr{106, 99, 100}));
}

TEST(ColourFilters, ContrastCurveAroundTheMeanGray) {
    // Mean gray level 100: half the pixels 90, half 110.
    raster::Bitmap bmp = flat(4, 2, 90);
    for (int x = 0; x < 4; ++x) putGray(bmp, x, 1, 110);
    put(bmp, 0, 0, {95, 90, 85}); // gray level still 90
    const raster::Bitmap out = filtered(N::Contrast, bmp, 10);
    const GrayLevels& curve = GrayTable();
    EXPECT_EQ(curve[95], 94);
    EXPECT_EQ(curve[105], 106);
    EXPECT_EQ(curve[0], -10);
    EXPECT_EQ(curve[255], 271) << "270.5000037 rounds up";
    EXPECT_EQ(curve[100], 100);
    EXPECT_EQ(curve[256], 85) << "entries past 255 keep the gray rule";
    EXPECT_EQ(at(out, 1, 0), (Bgr{89, 89, 89}));
    EXPECT_EQ(at(out, 0, 0), (Bgr{94, 89, 83}));
    EXPECT_EQ(at(out, 3, 1), (Bgr{111, 111, 111}));

    // A flat gray is its own mean and comes back unchanged, even past 8.4 million pixels, where a
    // 32-bit sum of the gray levels would overflow.
    const raster::Bitmap big = flat(3000, 2900, 255);
    EXPECT_EQ(bytesOf(filtered(N::Contrast, big, 10)), bytesOf(big));
    EXPECT_EQ(bytesOf(filtered(N::Contrast, flat(3, 3, 37), -10)), bytesOf(flat(3, 3, 37)));

    // Overshooting channels spill into the others through SpillClamp: 0 -> -10 darkens the rest.
    raster::Bitmap dark = flat(2, 1, 200);
    put(dark, 0, 0, {0, 0, 0});
    // mean (0 + 200) \ 2 = 100; curve 0 -> -10 for all three: all at or below 0 -> black.
    EXPECT_EQ(at(filtered(N::Contrast, dark, 10), 0, 0), (Bgr{0, 0, 0}));
}

TEST(ColourFilters, SpillClampExamples) {
    EXPECT_EQ(spill(300, 100, 100), (Bgr{255, 122, 122}));
    EXPECT_EQ(spill(-20, 100, 50), (Bgr{0, 90, 40}));
    EXPECT_EQ(spill(300, 255, 255), (Bgr{255, 255, 255}));
    EXPECT_EQ(spill(-5, -1, 0), (Bgr{0, 0, 0}));
    EXPECT_EQ(spill(12, 0, 255), (Bgr{12, 0, 255})) << "in range: untouched";
    // Green is judged with the values blue left it: blue -40 takes 20 from green (10 -> -10) and
    // red, green then takes 5 from blue (0 -> -5) and red, and the next passes settle blue.
    EXPECT_EQ(spill(-40, 10, 100), (Bgr{0, 0, 72}));
    // Red 400 hands 72 to green and blue; blue's overshoot of 67 comes back on the next pass,
    // and so on, halving, for five passes.
    EXPECT_EQ(spill(250, 100, 400), (Bgr{255, 236, 255}));
    // The extremes of 32-bit curve values settle without overflow.
    Bgr extreme = spill(INT32_MAX, INT32_MIN, 0);
    EXPECT_GE(extreme.b, 0);
    EXPECT_LE(extreme.g, 255);
}

TEST(ColourFilters, AddNoiseDrawsThreeNumbersPerPixelInPlaneOrder) {
    const raster::Bitmap pic = scrambled(37, 3);
    SeedFilterRandom(99);
    const raster::Bitmap once = filtered(N::AddNoise, pic, 50);
    const float nextAfterFilter = DrawFilterRandom();

    SeedFilterRandom(99);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 37; ++x)
            for (int p = 0; p < 3; ++p) {
                const double u = DrawFilterRandom();
                const double v = std::nearbyint(u * 101 - 50 + pic.row(y)[x * 4 + p]);
                ASSERT_EQ(once.row(y)[x * 4 + p], int(std::clamp(v, 0.0, 255.0))) << x << "," << y << " plane " << p;
            }
    EXPECT_EQ(DrawFilterRandom(), nextAfterFilter) << "exactly three draws per pixel";

    SeedFilterRandom(99);
    EXPECT_EQ(bytesOf(filtered(N::AddNoise, pic, 50)), bytesOf(once)) << "same generator state, same picture";
    // A parameter of 0 can only round the value or lift it by one.
    const raster::Bitmap calm = filtered(N::AddNoise, flat(8, 8, 77), 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_TRUE(at(calm, x, y).r == 77 || at(calm, x, y).r == 78);
}

TEST(ColourFilters, AddNoiseRoundsAlikeForSmallAndLargeParameters) {
    // Small parameters take a whole-number route, the others the double one: both must round
    // u * (2a + 1) - a + value as the double computation does, halves to even.
    const raster::Bitmap pic = scrambled(257, 5);
    for (const int a : {-65, -64, -63, -1, 0, 1, 7, 50, 63, 64, 1000, -1000}) {
        SeedFilterRandom(5);
        const raster::Bitmap noisy = filtered(N::AddNoise, pic, a);
        SeedFilterRandom(5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 257; ++x) {
                for (int p = 0; p < 3; ++p) {
                    const double u = DrawFilterRandom();
                    const double v = std::nearbyint(u * (2.0 * a + 1) - a + pic.row(y)[x * 4 + p]);
                    ASSERT_EQ(noisy.row(y)[x * 4 + p], int(std::clamp(v, 0.0, 255.0)))
                        << "parameter " << a << " at " << x << "," << y << " plane " << p;
                }
                ASSERT_EQ(noisy.row(y)[x * 4 + 3], pic.row(y)[x * 4 + 3]) << "the reserved byte stays";
            }
    }
}
