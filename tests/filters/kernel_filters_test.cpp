// SPDX-License-Identifier: GPL-3.0-or-later
// Sharpen, Blur, Smooth, Edge Enhance, Contour, Emboss, Engrave and Relief.
#include "tests/filters/filter_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace filtertest;
namespace N = Module4::FilterNumber;

namespace {

// A 3 x 3 picture whose centre is `centre` and whose eight neighbours are `around`.
raster::Bitmap centreAmong(int centre, int around) {
    raster::Bitmap bmp = flat(3, 3, around);
    putGray(bmp, 1, 1, centre);
    return bmp;
}

// The in-place walk written plainly: every interior pixel, top to bottom, left to right, each
// plane from what the picture holds at that moment, divided in 64 bits and clamped.
raster::Bitmap plainInPlaceWalk(raster::Bitmap bmp, std::int64_t centre, std::int64_t neighbour, std::int64_t divisor) {
    for (int y = 1; y + 1 < bmp.height(); ++y)
        for (int x = 1; x + 1 < bmp.width(); ++x)
            for (int p = 0; p < 3; ++p) {
                std::int64_t s8 = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (dx || dy) s8 += bmp.row(y + dy)[(x + dx) * 4 + p];
                const std::int64_t v = (centre * bmp.row(y)[x * 4 + p] - neighbour * s8) / divisor;
                bmp.row(y)[x * 4 + p] = std::uint8_t(std::clamp<std::int64_t>(v, 0, 255));
            }
    return bmp;
}

bool borderKept(const raster::Bitmap& after, const raster::Bitmap& before) {
    const int w = after.width(), h = after.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x == 0 || y == 0 || x == w - 1 || y == h - 1) && !(at(after, x, y) == at(before, x, y))) return false;
    return true;
}

} // namespace

TEST(KernelFilters, InPlaceWalkSeesNewTopAndLeftNeighbours) {
    raster::Bitmap bmp = flat(4, 3, 0);
    putGray(bmp, 0, 0, 80);
    bmp = filtered(N::Blur, bmp);
    EXPECT_EQ(at(bmp, 1, 1), (Bgr{10, 10, 10}));
    EXPECT_EQ(at(bmp, 2, 1), (Bgr{1, 1, 1})) << "the new 10 at its left counts, so not 0";
    EXPECT_EQ(at(bmp, 0, 0), (Bgr{80, 80, 80}));

    // Smooth: 100 above (2, 2) gives 20 there, which then feeds its right and bottom neighbours.
    raster::Bitmap cross = flat(4, 4, 0);
    putGray(cross, 1, 0, 100);
    cross = filtered(N::Smooth, cross);
    EXPECT_EQ(at(cross, 1, 1).b, 20);
    EXPECT_EQ(at(cross, 2, 1).b, 4);
    EXPECT_EQ(at(cross, 1, 2).b, 4);
}

TEST(KernelFilters, InPlaceMembersMatchAPlainWalkOnANoisyPicture) {
    const raster::Bitmap noisy = scrambled(23, 17);
    for (int a : {2, 0, 300, -20, 100000})
        EXPECT_EQ(bytesOf(filtered(N::Sharpen, noisy, a)), bytesOf(plainInPlaceWalk(noisy, a + 24, 2, a + 8))) << a;
    for (int a : {1, 5, -3, 70000})
        EXPECT_EQ(bytesOf(filtered(N::EdgeEnhance, noisy, a)), bytesOf(plainInPlaceWalk(noisy, a + 9, 1, a + 1))) << a;
    EXPECT_EQ(bytesOf(filtered(N::Blur, noisy)), bytesOf(plainInPlaceWalk(noisy, 0, -1, 8)));
}

TEST(KernelFilters, ContourAndReliefMatchAPlainComputationOnANoisyPicture) {
    const raster::Bitmap noisy = scrambled(37, 11);
    const int k[3] = {10, 20, 30};
    const raster::Bitmap contour = fromCopyReference(noisy, [&](int p, const int(&n)[3][3]) {
        const int s8 = n[0][0] + n[0][1] + n[0][2] + n[1][0] + n[1][2] + n[2][0] + n[2][1] + n[2][2];
        return std::clamp(8 * n[1][1] - s8 + k[p], 0, 255);
    });
    EXPECT_EQ(bytesOf(filtered(N::Contour, noisy, int(raster::rgb(30, 20, 10)))), bytesOf(contour));
    const raster::Bitmap relief = fromCopyReference(noisy, [](int, const int(&n)[3][3]) {
        const int t = (2 * n[0][0] + n[1][0] + n[0][1] + n[1][1] - n[2][1] - n[1][2] - 2 * n[2][2]) / 2;
        return t > 205 ? 255 : std::max(0, t + 50);
    });
    EXPECT_EQ(bytesOf(filtered(N::Relief, noisy)), bytesOf(relief));
}

TEST(KernelFilters, PlanesAreComputedIndependently) {
    raster::Bitmap bmp = flat(3, 3, 0);
    put(bmp, 0, 0, {16, 32, 64});
    bmp = filtered(N::Blur, bmp);
    EXPECT_EQ(at(bmp, 1, 1), (Bgr{2, 4, 8}));
}

TEST(KernelFilters, SharpenAndEdgeEnhanceClampTheirResults) {
    EXPECT_EQ(at(filtered(N::Sharpen, centreAmong(0, 10), 2), 1, 1), (Bgr{0, 0, 0})) << "-16 clamps to 0";
    EXPECT_EQ(at(filtered(N::Sharpen, centreAmong(255, 0), 2), 1, 1), (Bgr{255, 255, 255})) << "663 clamps to 255";
    // (26 * 100 - 2 * 8 * 90) \ 10 = 116
    EXPECT_EQ(at(filtered(N::Sharpen, centreAmong(100, 90), 2), 1, 1).r, 116);
    // (10 * 13 - 8 * 14) \ 2 = 9
    EXPECT_EQ(at(filtered(N::EdgeEnhance, centreAmong(13, 14), 1), 1, 1).r, 9);
    EXPECT_EQ(at(filtered(N::EdgeEnhance, centreAmong(0, 200), 1), 1, 1).r, 0);
    // Large parameters take the dividing path: (1024 * 200) \ 1008 = 203; (1024 * 100 - 1440) \ 1008 = 100.
    EXPECT_EQ(at(filtered(N::Sharpen, centreAmong(200, 0), 1000), 1, 1).r, 203);
    EXPECT_EQ(at(filtered(N::Sharpen, centreAmong(100, 90), 1000), 1, 1).r, 100);
    // A negative divisor: (15 * 10 - 2 * 8 * 20) \ -1 = 170.
    EXPECT_EQ(at(filtered(N::Sharpen, centreAmong(10, 20), -9), 1, 1).r, 170);
    EXPECT_EQ(at(filtered(N::EdgeEnhance, centreAmong(200, 0), 1), 1, 1).r, 255);
}

TEST(KernelFilters, FlatPicturesThroughEveryKernel) {
    const raster::Bitmap plain = flat(6, 5, 100);
    for (auto [number, parameter] : {std::pair{N::Sharpen, 2}, {N::Blur, 0}, {N::Smooth, 0}, {N::EdgeEnhance, 1}})
        EXPECT_EQ(bytesOf(filtered(number, plain, parameter)), bytesOf(plain)) << "filter " << number;

    const raster::Bitmap contour = filtered(N::Contour, plain, int(raster::rgb(255, 255, 255)));
    EXPECT_TRUE(borderKept(contour, plain));
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 5; ++x) EXPECT_EQ(at(contour, x, y), (Bgr{255, 255, 255}));

    const raster::Bitmap relief = filtered(N::Relief, plain);
    EXPECT_TRUE(borderKept(relief, plain));
    EXPECT_EQ(at(relief, 2, 2), (Bgr{100, 100, 100}));
    EXPECT_EQ(at(filtered(N::Relief, flat(3, 3, 255)), 1, 1), (Bgr{177, 177, 177}));

    for (int number : {N::Emboss, N::Engrave}) {
        const raster::Bitmap out = filtered(number, plain, int(raster::rgb(0, 120, 120)));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x) {
                const Bgr expected = (x == 5 || y == 4) ? Bgr{100, 100, 100} : Bgr{120, 120, 0};
                EXPECT_EQ(at(out, x, y), expected) << "filter " << number << " at " << x << "," << y;
            }
    }
}

TEST(KernelFilters, ContourDarkensTheDarkSideOfAnEdge) {
    // Left half 50, right half 150, colour parameter 0 to see the raw kernel.
    raster::Bitmap bmp = flat(4, 3, 50);
    for (int y = 0; y < 3; ++y)
        for (int x = 2; x < 4; ++x) putGray(bmp, x, y, 150);
    bmp = filtered(N::Contour, bmp, 0);
    EXPECT_EQ(at(bmp, 1, 1).g, 0) << "8 * 50 - (5 * 50 + 3 * 150) is negative";
    EXPECT_EQ(at(bmp, 2, 1).g, 255) << "8 * 150 - (3 * 50 + 5 * 150) = 300";
    // The parameter's components go to their own planes.
    const raster::Bitmap lifted = filtered(N::Contour, flat(3, 3, 70), int(raster::rgb(30, 20, 10)));
    EXPECT_EQ(at(lifted, 1, 1), (Bgr{10, 20, 30}));
}

TEST(KernelFilters, ReliefTruncatesTowardZeroAndCapsAbove205) {
    raster::Bitmap bmp = flat(3, 3, 0);
    putGray(bmp, 1, 2, 1); // bottom neighbour 1: t = -1 \ 2 = 0
    EXPECT_EQ(at(filtered(N::Relief, bmp), 1, 1).g, 50) << "not 49";

    auto reliefOfTopLeft = [](int topLeft) {
        raster::Bitmap b = flat(3, 3, 0);
        putGray(b, 0, 0, topLeft); // t = 2 * TL \ 2 = TL
        return at(filtered(N::Relief, b), 1, 1).g;
    };
    EXPECT_EQ(reliefOfTopLeft(204), 254);
    EXPECT_EQ(reliefOfTopLeft(205), 255);
    EXPECT_EQ(reliefOfTopLeft(206), 255);

    raster::Bitmap bright = flat(3, 3, 255);
    for (int x = 0; x < 3; ++x) putGray(bright, x, 0, 0); // TL, T up to 0: t = (255 - 255 - 255 - 510) \ 2
    EXPECT_EQ(at(filtered(N::Relief, bright), 1, 1).g, 0) << "below 0 becomes 0";
}

TEST(KernelFilters, EmbossAndEngraveReadTheUnchangedBottomRight) {
    const raster::Bitmap before = scrambled(7, 6);
    const int color = int(raster::rgb(0, 120, 120));
    const int k[3] = {120, 120, 0};
    for (int number : {N::Emboss, N::Engrave}) {
        const raster::Bitmap after = filtered(number, before, color);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 7; ++x) {
                if (x == 6 || y == 5) {
                    EXPECT_EQ(at(after, x, y), at(before, x, y)) << "last row and column keep their values";
                    continue;
                }
                const std::uint8_t* c = before.row(y) + x * 4;
                const std::uint8_t* br = before.row(y + 1) + (x + 1) * 4;
                for (int p = 0; p < 3; ++p) {
                    const int diff = number == N::Emboss ? c[p] - br[p] : br[p] - c[p];
                    const int expected = std::min(255, std::abs(diff + k[p]));
                    ASSERT_EQ(after.row(y)[x * 4 + p], expected) << number << " at " << x << "," << y;
                }
            }
    }
    // One row or one column: only the last row or column, so nothing changes.
    EXPECT_EQ(bytesOf(filtered(N::Emboss, scrambled(1, 5), color)), bytesOf(scrambled(1, 5)));
    EXPECT_EQ(bytesOf(filtered(N::Engrave, scrambled(5, 1), color)), bytesOf(scrambled(5, 1)));
}
