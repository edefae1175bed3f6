// SPDX-License-Identifier: GPL-3.0-or-later
#include "manipulator/cimage.h"

#include "formats/raster/blit.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kavi;
using namespace raster;

namespace {

// A 24-bit picture whose every pixel tells its own position.
std::unique_ptr<cImage> numbered(int w, int h) {
    auto image = std::make_unique<cImage>();
    EXPECT_TRUE(image->Create(w, h, 24));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) SetPixelV(image->hDC(), x, y, rgb(x, y, 7));
    return image;
}

std::int32_t pixel(const cImage& image, int x, int y) { return GetPixel(image.hDC(), x, y); }

} // namespace

TEST(cImage, BytesPerScanLineFollowsTheDepthAndRefusesOverflow) {
    cImage image;
    for (std::int16_t depth : {1, 4, 8, 24}) {
        ASSERT_TRUE(image.Create(1, 1, depth));
        EXPECT_EQ(image.BytesPerScanLine(), 4) << depth;
    }
    ASSERT_TRUE(image.Create(5, 1, 24));
    EXPECT_EQ(image.BytesPerScanLine(), 16);
    ASSERT_TRUE(image.Create(33, 2, 1));
    EXPECT_EQ(image.BytesPerScanLine(), 8);
    ASSERT_TRUE(image.Create(9, 2, 4));
    EXPECT_EQ(image.BytesPerScanLine(), 8);
    EXPECT_EQ(image.bitmapInfo().bmiHeader.biSizeImage, 16u);

    // 3 x 800000000 + 3 does not fit 32 bits: the property fails, and so does Create.
    EXPECT_FALSE(image.Create(800000000, 1, 24));
    EXPECT_EQ(image.hDC(), nullptr);
    EXPECT_FALSE(cImage::bytesPerScanLine(800000000, 24).has_value());
    EXPECT_EQ(cImage::bytesPerScanLine(700000000, 24), 2100000000);
    EXPECT_EQ(cImage::bytesPerScanLine(std::numeric_limits<std::int32_t>::max(), 8), std::nullopt);
    EXPECT_EQ(cImage::bytesPerScanLine(std::numeric_limits<std::int32_t>::max(), 1), 268435456);
    EXPECT_FALSE(image.Create(std::numeric_limits<std::int32_t>::min(), 1, 8));
    EXPECT_FALSE(image.Create(40000, 40000, 24)) << "height x row bytes overflows";
}

TEST(cImage, CreateAcceptsOnlyPaletteDepthsAndTwentyFourWithAGreyRamp) {
    cImage image;
    ASSERT_TRUE(image.Create(3, 2, 8));
    for (std::int16_t depth : {16, 32, 0, 2}) {
        EXPECT_FALSE(image.Create(3, 2, depth)) << depth;
        EXPECT_EQ(image.hDC(), nullptr) << "a failed Create leaves the image empty";
        EXPECT_EQ(image.DIBitsPtr(), nullptr);
    }
    ASSERT_TRUE(image.Create(3, 2, 4));
    EXPECT_EQ(image.bitmapInfo().bmiColors[1], (Rgbq{17, 17, 17, 0}));
    EXPECT_EQ(image.bitmapInfo().bmiColors[15], (Rgbq{255, 255, 255, 0}));
    EXPECT_EQ(image.hDC()->bitmap()->colorTable().size(), 16u);
    ASSERT_TRUE(image.Create(2, 2, 1));
    EXPECT_EQ(image.bitmapInfo().bmiColors[1], (Rgbq{255, 255, 255, 0}));
    ASSERT_TRUE(image.Create(2, 2, 8));
    EXPECT_EQ(image.bitmapInfo().bmiColors[200], (Rgbq{200, 200, 200, 0}));
    EXPECT_EQ(image.height(), 2);
    EXPECT_EQ(image.hDC()->bitmap()->rowOrder(), RowOrder::BottomUp);
    EXPECT_EQ(image.DIBitsPtr(), image.hDC()->bitmap()->bits());
}

TEST(cImage, CopyStdPictureTakesTheDepthFromThePicture) {
    Bitmap picture(4, 3, 32);
    DeviceContext dc;
    dc.select(&picture);
    SetPixelV(&dc, 3, 0, rgb(10, 20, 30));

    cImage image;
    std::int16_t depth = 0;
    EXPECT_TRUE(image.CopyStdPicture({&picture, 16}, depth));
    EXPECT_EQ(depth, 24) << "a 16-bit picture is read as 24";
    EXPECT_EQ(image.bitcount(), 24);
    EXPECT_EQ(pixel(image, 3, 0), std::int32_t(rgb(10, 20, 30)));

    depth = 0;
    EXPECT_FALSE(image.CopyStdPicture({&picture, 0}, depth)) << "32 bits cannot be created";
    EXPECT_EQ(depth, 32);

    Bitmap palette(4, 1, 4, RowOrder::BottomUp, {{0, 0, 0, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}});
    DeviceContext pdc;
    pdc.select(&palette);
    SetPixelV(&pdc, 1, 0, rgb(255, 0, 0));
    depth = 0;
    ASSERT_TRUE(image.CopyStdPicture({&palette, 0}, depth));
    EXPECT_EQ(depth, 4);
    EXPECT_EQ(pixel(image, 1, 0), std::int32_t(rgb(255, 0, 0))) << "the picture's colour table came along";
    depth = 8;
    ASSERT_TRUE(image.CopyStdPicture({&palette, 0}, depth));
    EXPECT_EQ(pixel(image, 1, 0), std::int32_t(rgb(85, 85, 85))) << "a given depth keeps the grey ramp";
    EXPECT_FALSE(image.CopyStdPicture({nullptr, 0}, depth));
}

TEST(cImage, CopyHdcChoosesTheDepthFromTheColourTableSize) {
    auto source = numbered(3, 2);
    cImage image;
    ASSERT_TRUE(image.CopyHDC(source->hDC(), 2, 2, 0, 1, 0));
    EXPECT_EQ(image.bitcount(), 24) << "no colour table: 24 bits";
    EXPECT_EQ(pixel(image, 0, 1), std::int32_t(rgb(1, 1, 7)));

    const std::pair<int, int> sizes[] = {{2, 1}, {3, 4}, {16, 4}, {17, 8}, {256, 8}};
    for (auto [entries, depth] : sizes) {
        Bitmap b(2, 2, 8, RowOrder::BottomUp, std::vector<Rgbq>(std::size_t(entries), Rgbq{9, 9, 9, 0}));
        DeviceContext dc;
        dc.select(&b);
        ASSERT_TRUE(image.CopyHDC(&dc, 2, 2, 0, 0, 0)) << entries;
        EXPECT_EQ(image.bitcount(), depth) << entries;
        EXPECT_EQ(pixel(image, 0, 0), std::int32_t(rgb(9, 9, 9))) << "the table was copied";
    }
    ASSERT_TRUE(image.CopyHDC(source->hDC(), 3, 2, 8, 0, 0));
    EXPECT_EQ(image.bitcount(), 8);
    EXPECT_FALSE(image.CopyHDC(source->hDC(), 3, 2, 16, 0, 0));
}

TEST(cImage, CopyPalletHdcAndPaintHdc) {
    cImage a, b;
    ASSERT_TRUE(a.Create(2, 1, 1));
    ASSERT_TRUE(b.Create(2, 1, 24));
    EXPECT_FALSE(a.CopyPalletHDC(b.hDC())) << "a 24-bit source has no table";
    Bitmap red(1, 1, 8, RowOrder::BottomUp, {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}});
    DeviceContext dc;
    dc.select(&red);
    EXPECT_TRUE(a.CopyPalletHDC(&dc)) << "two of the three entries fit a 1-bit image";
    EXPECT_EQ(pixel(a, 0, 0), std::int32_t(rgb(255, 0, 0)));

    Bitmap target(4, 2, 32);
    DeviceContext tdc;
    tdc.select(&target);
    auto source = numbered(2, 2);
    source->PaintHDC(&tdc, 2, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(&tdc, 3, 1), std::int32_t(rgb(1, 1, 7)));
    EXPECT_EQ(GetPixel(&tdc, 1, 1), 0);
    cImage empty;
    empty.PaintHDC(&tdc, 0, 0, SRCCOPY);
}

TEST(cImage, TransformsReturnNewImagesAndLeaveTheSourceAlone) {
    auto source = numbered(3, 2);
    auto grey = source->GreyScale();
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->bitcount(), 8);
    EXPECT_EQ(pixel(*grey, 2, 1), std::int32_t(rgb(3, 3, 3))) << "nearest grey to (2, 1, 7)";
    cImage palette;
    ASSERT_TRUE(palette.Create(2, 2, 1));
    EXPECT_EQ(palette.GreyScale()->bitcount(), 8);

    auto same = source->Resample(3, 2);
    ASSERT_TRUE(same);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(pixel(*same, x, y), pixel(*source, x, y));
    auto small = source->Resample(1, 1);
    ASSERT_TRUE(small);
    EXPECT_EQ(pixel(*small, 0, 0), std::int32_t(rgb(1, 1, 7))) << "halftone mean of x 0..2 and y 0..1";
    EXPECT_EQ(small->hDC()->stretchMode(), HALFTONE);

    auto mirrored = source->Mirror(false);
    auto flipped = source->Mirror(true);
    ASSERT_TRUE(mirrored && flipped);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(pixel(*mirrored, x, y), pixel(*source, 2 - x, y));
            EXPECT_EQ(pixel(*flipped, x, y), pixel(*source, x, 1 - y));
        }
    EXPECT_EQ(pixel(*source, 0, 0), std::int32_t(rgb(0, 0, 7))) << "the source is unchanged";
}

TEST(cImage, RotateReducesTheAngleAndAcceptsOnlyQuarterTurnsAndTheCode91) {
    auto source = numbered(3, 2);
    auto ccw = source->rotate(90);
    ASSERT_TRUE(ccw);
    EXPECT_EQ(ccw->width(), 2);
    EXPECT_EQ(ccw->height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x) EXPECT_EQ(pixel(*ccw, x, y), pixel(*source, 2 - y, x)) << "counter-clockwise";
    auto cw = source->rotate(-90), cw2 = source->rotate(270), again = source->rotate(450);
    ASSERT_TRUE(cw && cw2 && again);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x) {
            EXPECT_EQ(pixel(*cw, x, y), pixel(*source, y, 1 - x)) << "clockwise";
            EXPECT_EQ(pixel(*cw, x, y), pixel(*cw2, x, y));
            EXPECT_EQ(pixel(*again, x, y), pixel(*ccw, x, y));
        }
    auto half = source->rotate(180);
    ASSERT_TRUE(half);
    EXPECT_EQ(pixel(*half, 0, 0), pixel(*source, 2, 1));
    auto stretched = source->rotate(91);
    ASSERT_TRUE(stretched);
    EXPECT_EQ(stretched->width(), 3);
    EXPECT_EQ(stretched->height(), 2);
    EXPECT_EQ(pixel(*stretched, 0, 1), pixel(*source, 0, 0)) << "the left end of the top row lands bottom left";
    EXPECT_FALSE(source->rotate(45));
    EXPECT_FALSE(source->rotate(-45));
    cImage empty;
    EXPECT_FALSE(empty.rotate(90));
}
