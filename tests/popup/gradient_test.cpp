// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/alert_gradient.h"
#include "tests/support/test_platform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using kavi::msnpopupGradient;
using raster::Bitmap;
using raster::rgb;

namespace {

constexpr std::uint32_t kSentinel = rgb(0, 255, 0);

Bitmap filled(int w, int h) {
    Bitmap b(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = b.row(y) + x * 4;
            p[0] = 0;
            p[1] = 255;
            p[2] = 0;
        }
    return b;
}

std::uint32_t at(const Bitmap& b, int x, int y) {
    const std::uint8_t* p = b.row(y) + x * 4;
    return rgb(p[2], p[1], p[0]);
}

// Paints red-to-blue at an angle and checks that no pixel was left unpainted.
Bitmap paint(float angle, int w = 40, int h = 30) {
    kavi::testing::FixedSystemColors colors;
    msnpopupGradient g(colors);
    g.setColor1(rgb(255, 0, 0));
    g.setColor2(rgb(0, 0, 255));
    g.setAngle(angle);
    Bitmap b = filled(w, h);
    EXPECT_TRUE(g.Draw(b));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) EXPECT_NE(at(b, x, y), kSentinel) << "gap at " << x << "," << y;
    return b;
}

int red(std::uint32_t c) { return raster::redOf(c); }

} // namespace

TEST(GradientRamp, BlendColorsDividesByTheStepCountAndEndsOnTheSecondColour) {
    std::vector<std::uint32_t> colours;
    EXPECT_EQ(msnpopupGradient::BlendColors(rgb(1, 2, 3), rgb(4, 5, 6), 1, colours), 2);
    EXPECT_EQ(colours, (std::vector<std::uint32_t>{rgb(1, 2, 3), rgb(4, 5, 6)}));
    EXPECT_EQ(msnpopupGradient::BlendColors(rgb(1, 2, 3), rgb(4, 5, 6), -7, colours), 2);

    ASSERT_EQ(msnpopupGradient::BlendColors(rgb(0, 0, 0), rgb(255, 0, 0), 4, colours), 4);
    EXPECT_EQ(colours, (std::vector<std::uint32_t>{rgb(0, 0, 0), rgb(64, 0, 0), rgb(128, 0, 0), rgb(255, 0, 0)}))
        << "63.75 rounds to 64 and 127.5 to the even 128";

    // Every component moves on its own, and falling components round the same way.
    ASSERT_EQ(msnpopupGradient::BlendColors(rgb(200, 10, 100), rgb(0, 110, 100), 5, colours), 5);
    EXPECT_EQ(colours[1], rgb(160, 30, 100));
    EXPECT_EQ(colours[3], rgb(80, 70, 100));
}

TEST(GradientSettings, AnglesAreKeptInOneTurnAndSystemColoursResolveBelowIndex25) {
    kavi::testing::FixedSystemColors colors;
    colors.colors[24] = rgb(1, 2, 3);
    colors.colors[kavi::kColorWindow] = rgb(250, 251, 252);
    msnpopupGradient g(colors);
    EXPECT_EQ(g.Color1(), 16777168u);
    EXPECT_EQ(g.Color2(), 4194304u);
    EXPECT_EQ(g.Angle(), 315.0f);

    g.setAngle(-100);
    EXPECT_EQ(g.Angle(), 260.0f);
    g.setAngle(720);
    EXPECT_EQ(g.Angle(), 0.0f);
    g.setAngle(-1e-9f);
    EXPECT_EQ(g.Angle(), 0.0f) << "never 360";
    g.setAngle(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(g.Angle(), 0.0f);

    g.setColor1(0x80000000u | 24);
    EXPECT_EQ(g.Color1(), rgb(1, 2, 3));
    g.setColor1(0x80000000u | 25);
    EXPECT_EQ(g.Color1(), 0x80000019u) << "index 25 is no system colour: stored as given";
    g.setColor2(0x80000000u | kavi::kColorWindow);
    EXPECT_EQ(g.Color2(), rgb(250, 251, 252));
    g.setColor2(24);
    EXPECT_EQ(g.Color2(), 24u) << "without the top bit a value is a plain colour";
}

TEST(GradientGeometry, RotatePointTurnsCounterClockwiseOnAYDownScreen) {
    msnpopupGradient::PointF p{11, 5};
    msnpopupGradient::RotatePoint({10, 5}, p, 90);
    EXPECT_NEAR(p.x, 10, 1e-5);
    EXPECT_NEAR(p.y, 4, 1e-5) << "a point right of the centre moves up the screen";
    msnpopupGradient::RotatePoint({10, 5}, p, 180);
    EXPECT_NEAR(p.x, 10, 1e-5);
    EXPECT_NEAR(p.y, 6, 1e-5);
}

TEST(GradientPaint, AngleZeroSweepsVerticalStrokesFromColor1OnTheLeft) {
    const Bitmap b = paint(0);
    for (int x = 0; x < b.width(); ++x)
        for (int y = 1; y < b.height(); ++y) ASSERT_EQ(at(b, x, y), at(b, x, 0)) << "column " << x;
    // The sweep starts on column 0 and runs one stroke past the right edge: 42 strokes.
    std::vector<std::uint32_t> ramp;
    msnpopupGradient::BlendColors(rgb(255, 0, 0), rgb(0, 0, 255), 42, ramp);
    for (int x = 0; x < b.width(); ++x) EXPECT_EQ(at(b, x, 0), ramp[std::size_t(x)]) << "column " << x;
}

TEST(GradientPaint, Angle90SweepsHorizontalStrokesFromColor1AtTheBottom) {
    const Bitmap b = paint(90);
    for (int y = 0; y < b.height(); ++y)
        for (int x = 1; x < b.width(); ++x) ASSERT_EQ(at(b, x, y), at(b, 0, y)) << "row " << y;
    // The first stroke lies just below the bottom row and the last just above the top: 32 strokes.
    std::vector<std::uint32_t> ramp;
    msnpopupGradient::BlendColors(rgb(255, 0, 0), rgb(0, 0, 255), 32, ramp);
    for (int y = 0; y < b.height(); ++y) EXPECT_EQ(at(b, 0, y), ramp[std::size_t(30 - y)]) << "row " << y;
}

TEST(GradientPaint, Angle260PutsColor1AtTheTopWithStrokesTiltedTenDegrees) {
    const Bitmap b = paint(-100, 120, 60);
    EXPECT_GT(red(at(b, 60, 0)), 200);
    EXPECT_GT(raster::blueOf(at(b, 60, 59)), 200);
    for (int y = 1; y < b.height(); ++y) EXPECT_LE(red(at(b, 60, y)), red(at(b, 60, y - 1)));
    // Tilted: a stroke 120 pixels long rises about 120 * tan 10 = 21 pixels, so along one row
    // the colour changes, and a colour found at the left of a row lies about 21 rows lower on the right.
    const std::uint32_t left = at(b, 0, 20);
    EXPECT_NE(left, at(b, 119, 20));
    int match = -1;
    for (int y = 0; y < b.height(); ++y)
        if (at(b, 119, y) == left) match = y;
    EXPECT_NEAR(match, 20 + 21, 2) << "sweeping down at 260 degrees, the strokes fall to the right";
}

TEST(GradientPaint, DrawNeedsMoreThanOnePixelEachWay) {
    kavi::testing::FixedSystemColors colors;
    msnpopupGradient g(colors);
    for (auto [w, h] : {std::pair{1, 50}, std::pair{50, 1}, std::pair{0, 0}, std::pair{1, 1}}) {
        Bitmap b = filled(w, h);
        EXPECT_FALSE(g.Draw(b)) << w << " x " << h;
        if (w && h) {
            EXPECT_EQ(at(b, 0, 0), kSentinel) << "nothing painted";
        }
    }
    Bitmap b = filled(2, 2);
    EXPECT_TRUE(g.Draw(b));
    EXPECT_NE(at(b, 1, 1), kSentinel);
}
