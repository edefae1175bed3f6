// SPDX-License-Identifier: GPL-3.0-or-later
#include "manipulator/manipulator_buffers.h"
#include "manipulator/rotate_effect.h"

#include <gtest/gtest.h>

using namespace kavi;
using namespace raster;

namespace {

std::uint32_t at(const Bitmap& b, int x, int y) {
    return reinterpret_cast<const std::uint32_t*>(b.row(y))[x] & 0xFFFFFF;
}
void put(Bitmap& b, int x, int y, std::uint32_t v) { reinterpret_cast<std::uint32_t*>(b.row(y))[x] = v; }
constexpr std::uint32_t kBackground = 0xF0F0F0;

// Every pixel a distinct colour that no background shares: x in the low 12 bits, y above.
Bitmap numbered(int w, int h) {
    Bitmap b(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) put(b, x, y, std::uint32_t(x) | (std::uint32_t(y) << 12));
    return b;
}
int yOf(std::uint32_t v) { return int(v >> 12); }

// Four quadrant colours, to see orientation whatever the few pixels the turn loses.
Bitmap quadrants(int w, int h) {
    Bitmap b(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) put(b, x, y, (x < w / 2 ? 0x0000FF : 0x00FF00) | (y < h / 2 ? 0 : 0xFF0000));
    return b;
}

ManipulatorBuffers opened(Bitmap picture) {
    ManipulatorBuffers m;
    m.load(std::move(picture));
    return m;
}

bool samePixels(const Bitmap& a, const Bitmap& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (at(a, x, y) != at(b, x, y)) return false;
    return true;
}

} // namespace

TEST(RotateCommand, TurnsA300By200PictureAQuarterClockwiseAroundItsShiftedCentre) {
    ManipulatorBuffers m = opened(numbered(300, 200));
    m.rotate();
    const Bitmap& turned = m.NewImage.image();
    ASSERT_EQ(turned.width(), 200);
    ASSERT_EQ(turned.height(), 300);
    EXPECT_EQ(m.picpaint.width(), 200) << "the canvas exchanged its width and height";
    EXPECT_EQ(at(turned, 99, 150), (99u << 12) | 150u) << "the pixel above the source centre lands right of (98, 150)";
    // Away from rounding, target (98 + a, 150 + b) holds source (150 + b, 100 - a).
    EXPECT_EQ(at(turned, 98 + 40, 150 + 0), std::uint32_t(150 | (60 << 12)));
    EXPECT_EQ(at(turned, 98 - 90, 150 + 120), std::uint32_t(270 | (190 << 12)));
    for (int y = 0; y < 300; ++y) EXPECT_EQ(at(turned, 199, y), kBackground) << "right-hand strip, row " << y;
    bool row199 = false, row0 = false;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 199; ++x) {
            const std::uint32_t v = at(turned, x, y);
            if (v != kBackground && yOf(v) == 199) row199 = true;
            if (v != kBackground && yOf(v) == 0) row0 = true;
        }
    EXPECT_FALSE(row199) << "source row 199 falls off the left edge";
    EXPECT_TRUE(row0);
    EXPECT_TRUE(samePixels(m.picDest.image(), turned));
    EXPECT_EQ(m.picundo.width(), 300) << "the picture before the turn is kept for undo";
}

TEST(RotateCommand, BackgroundStripWidthFollowsTheSizes) {
    ManipulatorBuffers m = opened(numbered(17, 13));
    m.rotate();
    const Bitmap& turned = m.NewImage.image();
    ASSERT_EQ(turned.width(), 13);
    ASSERT_EQ(turned.height(), 17);
    for (int y = 0; y < 17; ++y) {
        EXPECT_EQ(at(turned, 12, y), kBackground);
        EXPECT_EQ(at(turned, 11, y), kBackground);
    }
    EXPECT_NE(at(turned, 10, 8), kBackground);
}

TEST(RotateCommand, FourTurnsGiveTheFirstOrientationAndUndoReturnsOnlyOneStep) {
    const Bitmap picture = quadrants(300, 200);
    ManipulatorBuffers m = opened(picture);
    m.rotate();
    EXPECT_EQ(at(m.NewImage.image(), 40, 40), 0xFF00FFu) << "bottom-left quadrant turned to the top-left";
    m.undo();
    EXPECT_TRUE(samePixels(m.NewImage.image(), picture));
    m.undo();
    EXPECT_TRUE(samePixels(m.NewImage.image(), picture)) << "a second undo changes nothing";
    for (int i = 0; i < 4; ++i) m.rotate();
    ASSERT_EQ(m.NewImage.width(), 300);
    ASSERT_EQ(m.NewImage.height(), 200);
    for (auto [x, y] : {std::pair{60, 40}, {240, 40}, {60, 160}, {240, 160}})
        EXPECT_EQ(at(m.NewImage.image(), x, y), at(picture, x, y)) << x << "," << y;
}

TEST(RotationEffect, WithoutTheMirrorFlagNinetyTurnsCounterClockwise) {
    PictureBox canvas, scratch;
    canvas.setPicture(quadrants(40, 20));
    mdlEffect::RunEffect(mdlEffect::kRotation, canvas, scratch, 90.0f, false);
    ASSERT_EQ(canvas.width(), 20);
    ASSERT_EQ(canvas.height(), 40);
    EXPECT_EQ(at(canvas.image(), 5, 5), 0x00FF00u) << "top-right quadrant turned to the top-left";
    EXPECT_EQ(scratch.width(), 40) << "the scratch holds the canvas as it was";
    PictureBox untouched;
    untouched.setPicture(quadrants(4, 4));
    mdlEffect::RunEffect(7, untouched, scratch, 90.0f, false);
    EXPECT_TRUE(samePixels(untouched.image(), quadrants(4, 4))) << "only effect 3 exists";
}

TEST(MirrorAndFlip, UndoThemselvesAndTogetherMakeAHalfTurn) {
    const Bitmap picture = numbered(7, 5);
    ManipulatorBuffers m = opened(picture);
    m.mirror();
    EXPECT_EQ(at(m.NewImage.image(), 0, 2), at(picture, 6, 2));
    EXPECT_TRUE(samePixels(m.picDest.image(), m.NewImage.image()));
    m.mirror();
    EXPECT_TRUE(samePixels(m.NewImage.image(), picture));
    m.flip();
    EXPECT_EQ(at(m.NewImage.image(), 3, 0), at(picture, 3, 4));
    m.flip();
    EXPECT_TRUE(samePixels(m.NewImage.image(), picture));
    m.mirror();
    m.flip();
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(at(m.NewImage.image(), x, y), at(picture, 6 - x, 4 - y));
    m.undo();
    EXPECT_EQ(at(m.NewImage.image(), 0, 0), at(picture, 6, 0)) << "undo returns to the mirrored picture";
}

TEST(BrightnessCommand, ClampsEachChannelAndAlwaysReplacesTheUndoPicture) {
    Bitmap picture(2, 1, 32);
    put(picture, 0, 0, (250u << 16) | (10u << 8) | 200u);
    put(picture, 1, 0, (99u << 16) | (120u << 8) | 50u);
    ManipulatorBuffers m = opened(picture);
    m.runToolbarCommand(4, 99);
    EXPECT_EQ(at(m.NewImage.image(), 0, 0), (255u << 16) | (109u << 8) | 255u) << "(200, 10, 250) + 99";
    EXPECT_TRUE(samePixels(m.picDest.image(), m.NewImage.image()));
    m.undo();
    m.runToolbarCommand(4, -99);
    EXPECT_EQ(at(m.NewImage.image(), 1, 0), (0u << 16) | (21u << 8) | 0u) << "(50, 120, 99) - 99";

    m.runToolbarCommand(2, 0); // mirror: the undo picture is now the darkened one
    const Bitmap mirrored = m.NewImage.image();
    m.runToolbarCommand(4, 0);
    EXPECT_TRUE(samePixels(m.NewImage.image(), mirrored)) << "0 changes no pixel";
    m.undo();
    EXPECT_TRUE(samePixels(m.NewImage.image(), mirrored)) << "yet the undo picture was replaced";
    m.runToolbarCommand(6, 50);
    m.runToolbarCommand(0, 50);
    EXPECT_TRUE(samePixels(m.NewImage.image(), mirrored)) << "indices outside 1...5 do nothing";
}

TEST(FilterFrame, UndoAfterAFilterReturnsToThePictureBeforeIt) {
    const Bitmap picture = numbered(5, 4);
    ManipulatorBuffers m = opened(picture);
    m.beginFilter();
    EXPECT_TRUE(samePixels(m.Picture1.image(), picture));
    put(m.Picture1.edit(), 2, 2, 0x123456); // what a filter would do
    EXPECT_TRUE(samePixels(m.NewImage.image(), picture)) << "buffers that shared the picture keep their own";
    EXPECT_TRUE(samePixels(m.Original.image(), picture));
    m.endFilter();
    EXPECT_EQ(at(m.NewImage.image(), 2, 2), 0x123456u);
    EXPECT_EQ(at(m.picDest.image(), 2, 2), 0x123456u);
    m.undo();
    EXPECT_TRUE(samePixels(m.NewImage.image(), picture));
    m.undo();
    EXPECT_TRUE(samePixels(m.NewImage.image(), picture));
    EXPECT_TRUE(samePixels(m.picDest.image(), picture));
}

TEST(Buffers, ActivationReturnsToTheOpenedPictureButKeepsUndo) {
    const Bitmap picture = numbered(6, 3);
    ManipulatorBuffers m = opened(picture);
    EXPECT_TRUE(samePixels(m.picorig.image(), picture));
    EXPECT_TRUE(samePixels(m.picundo.image(), picture));
    m.mirror();
    m.activate();
    EXPECT_TRUE(samePixels(m.NewImage.image(), picture));
    EXPECT_TRUE(samePixels(m.picDest.image(), picture));

    ManipulatorBuffers none = opened(Bitmap());
    none.rotate();
    none.mirror();
    none.brightness(10);
    EXPECT_TRUE(none.NewImage.isEmpty()) << "an empty picture stays empty through every command";
}
