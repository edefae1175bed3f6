// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/raster/blit.h"
#include "formats/raster/device_context.h"
#include "formats/raster/dib_section.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace raster;

namespace {

// A bitmap selected into its own context, for drawing tests.
struct Canvas {
    Bitmap bitmap;
    DeviceContext dc;
    explicit Canvas(Bitmap b) : bitmap(std::move(b)) { dc.select(&bitmap); }
    Canvas(int w, int h, int depth = 32, std::vector<Rgbq> table = {})
        : Canvas(Bitmap(w, h, depth, RowOrder::BottomUp, table)) {}
    std::int32_t at(int x, int y) const { return GetPixel(&dc, x, y); }
    void fill(ColorRef c) {
        for (int y = 0; y < bitmap.height(); ++y)
            for (int x = 0; x < bitmap.width(); ++x) SetPixelV(&dc, x, y, c);
    }
};

std::vector<Rgbq> greyRamp(int entries) {
    std::vector<Rgbq> t(static_cast<std::size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        const auto v = std::uint8_t(i * 255 / (entries - 1));
        t[std::size_t(i)] = {v, v, v, 0};
    }
    return t;
}

} // namespace

TEST(RasterPixels, GetPixelIsInvalidOutsideAndSetPixelTakesTheNearestColourItCanHold) {
    Canvas c(3, 2, 24);
    EXPECT_EQ(c.at(-1, 0), CLR_INVALID);
    EXPECT_EQ(c.at(3, 0), CLR_INVALID);
    EXPECT_EQ(c.at(0, 2), CLR_INVALID);
    EXPECT_EQ(SetPixel(&c.dc, 5, 0, 0x123456), CLR_INVALID);
    EXPECT_FALSE(SetPixelV(&c.dc, 0, -1, 0));
    EXPECT_EQ(SetPixel(&c.dc, 2, 1, rgb(1, 2, 3)), std::int32_t(rgb(1, 2, 3)));
    EXPECT_EQ(c.bitmap.row(1)[6], 3) << "blue is stored first";
    DeviceContext empty;
    EXPECT_EQ(GetPixel(&empty, 0, 0), CLR_INVALID);

    Canvas grey(2, 1, 4, greyRamp(16));
    EXPECT_EQ(SetPixel(&grey.dc, 0, 0, rgb(40, 40, 40)), std::int32_t(rgb(34, 34, 34)));
    EXPECT_EQ(SetPixel(&grey.dc, 1, 0, rgb(255, 0, 0)), std::int32_t(rgb(85, 85, 85)))
        << "nearest by squared distance over the three channels";
    EXPECT_EQ(grey.bitmap.row(0)[0], 0x25);
}

TEST(RasterPixels, ColourTablesAreReadAndWrittenWithinTheDepth) {
    Canvas c(2, 2, 1, greyRamp(2));
    Rgbq got[256];
    EXPECT_EQ(GetDIBColorTable(&c.dc, 0, 256, got), 2);
    EXPECT_EQ(got[1], (Rgbq{255, 255, 255, 0}));
    const Rgbq red[3] = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
    EXPECT_EQ(SetDIBColorTable(&c.dc, 0, 3, red), 2) << "a 1-bit table has two entries";
    EXPECT_EQ(c.at(0, 0), std::int32_t(rgb(255, 0, 0)));
    Canvas deep(2, 2, 24);
    EXPECT_EQ(GetDIBColorTable(&deep.dc, 0, 256, got), 0);
    EXPECT_EQ(SetDIBColorTable(&deep.dc, 0, 1, red), 0);
}

TEST(RasterBitBlt, CopiesClipsAndConvertsBetweenDepths) {
    Canvas src(4, 3, 32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) SetPixelV(&src.dc, x, y, rgb(x * 60, y * 100, 7));
    Canvas dst(3, 3, 24);
    dst.fill(rgb(9, 9, 9));
    ASSERT_TRUE(BitBlt(&dst.dc, 1, -1, 4, 3, &src.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(dst.at(0, 0), std::int32_t(rgb(9, 9, 9))) << "left of the target rectangle";
    EXPECT_EQ(dst.at(1, 0), std::int32_t(rgb(0, 100, 7))) << "source row 0 was clipped away above";
    EXPECT_EQ(dst.at(2, 1), std::int32_t(rgb(60, 200, 7)));
    EXPECT_EQ(dst.at(2, 2), std::int32_t(rgb(9, 9, 9))) << "below the source's last row";

    Canvas grey(4, 3, 8, greyRamp(256));
    ASSERT_TRUE(BitBlt(&grey.dc, 0, 0, 4, 3, &src.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(grey.at(3, 0), std::int32_t(rgb(62, 62, 62))) << "nearest grey to (180, 0, 7)";

    Canvas mono(4, 1, 1, greyRamp(2));
    ASSERT_TRUE(BitBlt(&mono.dc, 0, 0, 4, 1, &src.dc, 0, 2, SRCCOPY));
    EXPECT_EQ(mono.at(0, 0), 0);
    EXPECT_EQ(mono.at(3, 0), 0xFFFFFF) << "(180, 200, 7) is nearer white than black";

    EXPECT_FALSE(BitBlt(&dst.dc, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY)) << "SRCCOPY needs a source";
    DeviceContext noBitmap;
    EXPECT_FALSE(BitBlt(&noBitmap, 0, 0, 1, 1, &src.dc, 0, 0, SRCCOPY));
}

TEST(RasterBitBlt, RasterOperationsCombineSourceDestinationAndPattern) {
    Canvas src(1, 1, 32), dst(1, 1, 32);
    SetPixelV(&src.dc, 0, 0, rgb(0xF0, 0x0F, 0x55));
    auto run = [&](std::uint32_t rop, const DeviceContext* source) {
        SetPixelV(&dst.dc, 0, 0, rgb(0xCC, 0xAA, 0x0F));
        EXPECT_TRUE(BitBlt(&dst.dc, 0, 0, 1, 1, source, 0, 0, rop));
        return dst.at(0, 0);
    };
    EXPECT_EQ(run(SRCAND, &src.dc), std::int32_t(rgb(0xC0, 0x0A, 0x05)));
    EXPECT_EQ(run(SRCPAINT, &src.dc), std::int32_t(rgb(0xFC, 0xAF, 0x5F)));
    EXPECT_EQ(run(SRCINVERT, &src.dc), std::int32_t(rgb(0x3C, 0xA5, 0x5A)));
    EXPECT_EQ(run(SRCERASE, &src.dc), std::int32_t(rgb(0x30, 0x05, 0x50)));
    EXPECT_EQ(run(NOTSRCCOPY, &src.dc), std::int32_t(rgb(0x0F, 0xF0, 0xAA)));
    EXPECT_EQ(run(MERGEPAINT, &src.dc), std::int32_t(rgb(0xCF, 0xFA, 0xAF)));
    EXPECT_EQ(run(DSTINVERT, nullptr), std::int32_t(rgb(0x33, 0x55, 0xF0))) << "no source needed";
    EXPECT_EQ(run(BLACKNESS, nullptr), 0);
    EXPECT_EQ(run(WHITENESS, nullptr), 0xFFFFFF);
    dst.dc.setBrushColor(rgb(0x12, 0x34, 0x56));
    EXPECT_EQ(run(PATCOPY, nullptr), std::int32_t(rgb(0x12, 0x34, 0x56)));
    EXPECT_EQ(run(PATINVERT, nullptr), std::int32_t(rgb(0x12 ^ 0xCC, 0x34 ^ 0xAA, 0x56 ^ 0x0F)));
    EXPECT_EQ(run(MERGECOPY, &src.dc), std::int32_t(rgb(0x12 & 0xF0, 0x34 & 0x0F, 0x56 & 0x55)));
}

TEST(RasterBitBlt, OverlappingCopyWithinOneBitmapReadsTheOriginalPixels) {
    Canvas c(5, 1, 8, greyRamp(256));
    for (int x = 0; x < 5; ++x) SetPixelV(&c.dc, x, 0, rgb(x, x, x));
    ASSERT_TRUE(BitBlt(&c.dc, 1, 0, 4, 1, &c.dc, 0, 0, SRCCOPY));
    for (int x = 1; x < 5; ++x) EXPECT_EQ(c.at(x, 0), std::int32_t(rgb(x - 1, x - 1, x - 1))) << x;
}

TEST(RasterStretchBlt, HalftoneIsTheAreaWeightedMeanRoundedHalfUp) {
    Canvas src(3, 1, 24), dst(2, 1, 24);
    SetPixelV(&src.dc, 0, 0, rgb(0, 1, 2));
    SetPixelV(&src.dc, 1, 0, rgb(100, 2, 3));
    SetPixelV(&src.dc, 2, 0, rgb(201, 3, 3));
    EXPECT_EQ(SetStretchBltMode(&dst.dc, HALFTONE), BLACKONWHITE);
    ASSERT_TRUE(StretchBlt(&dst.dc, 0, 0, 2, 1, &src.dc, 0, 0, 3, 1, SRCCOPY));
    // Target 0 covers source 0 and half of source 1: red (0 + 50) / 1.5 = 33.3, green (1 + 1) / 1.5,
    // blue (2 + 1.5) / 1.5.
    EXPECT_EQ(dst.at(0, 0), std::int32_t(rgb(33, 1, 2)));
    EXPECT_EQ(dst.at(1, 0), std::int32_t(rgb(167, 3, 3)));

    Canvas pair(2, 2, 32), one(1, 1, 32);
    SetPixelV(&pair.dc, 0, 0, rgb(0, 2, 255));
    SetPixelV(&pair.dc, 1, 0, rgb(1, 3, 255));
    SetPixelV(&pair.dc, 0, 1, rgb(0, 2, 254));
    SetPixelV(&pair.dc, 1, 1, rgb(1, 3, 254));
    SetStretchBltMode(&one.dc, HALFTONE);
    ASSERT_TRUE(StretchBlt(&one.dc, 0, 0, 1, 1, &pair.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(one.at(0, 0), std::int32_t(rgb(1, 3, 255))) << "0.5 -> 1, 2.5 -> 3, 254.5 -> 255: half up, not to even";

    // Enlarging: each target pixel lies in one source pixel and copies it.
    Canvas big(4, 2, 32);
    SetStretchBltMode(&big.dc, HALFTONE);
    ASSERT_TRUE(StretchBlt(&big.dc, 0, 0, 4, 2, &src.dc, 1, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(big.at(1, 1), std::int32_t(rgb(100, 2, 3)));
    EXPECT_EQ(big.at(2, 0), std::int32_t(rgb(201, 3, 3)));
}

TEST(RasterStretchBlt, ColorOnColorTakesTheNearestPixelAndNegativeExtentsMirror) {
    Canvas src(4, 2, 32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) SetPixelV(&src.dc, x, y, rgb(x * 10, y * 10, 0));
    Canvas half(2, 1, 32);
    SetStretchBltMode(&half.dc, COLORONCOLOR);
    ASSERT_TRUE(StretchBlt(&half.dc, 0, 0, 2, 1, &src.dc, 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(half.at(0, 0), std::int32_t(rgb(10, 10, 0))) << "centre of target 0 lies over source (1, 1)";
    EXPECT_EQ(half.at(1, 0), std::int32_t(rgb(30, 10, 0)));

    Canvas mirrored(4, 2, 32);
    ASSERT_TRUE(StretchBlt(&mirrored.dc, 4, 0, -4, 2, &src.dc, 0, 0, 4, 2, SRCCOPY));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(mirrored.at(x, 1), src.at(3 - x, 1)) << x;
    Canvas flipped(4, 2, 32);
    ASSERT_TRUE(StretchBlt(&flipped.dc, 0, 2, 4, -2, &src.dc, 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(flipped.at(2, 0), src.at(2, 1));
    ASSERT_TRUE(StretchBlt(&src.dc, 4, 0, -4, 2, &src.dc, 0, 0, 4, 2, SRCCOPY)) << "in place";
    EXPECT_EQ(src.bitmap.row(0)[0], mirrored.bitmap.row(0)[0]);
    EXPECT_EQ(src.at(0, 0), std::int32_t(rgb(30, 0, 0)));

    EXPECT_FALSE(StretchBlt(&half.dc, 0, 0, 2, 1, &src.dc, 1, 0, 4, 2, SRCCOPY)) << "source rectangle outside";
    EXPECT_EQ(SetStretchBltMode(&half.dc, 9), 0);
}

TEST(RasterPlgBlt, ParallelogramsTurnAndMirrorPixelExactly) {
    Canvas src(3, 2, 32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) SetPixelV(&src.dc, x, y, rgb(x, y, 1));
    Canvas turned(2, 3, 32);
    const Point ccw[3] = {{0, 3}, {0, 0}, {2, 3}};
    ASSERT_TRUE(PlgBlt(&turned.dc, ccw, &src.dc, 0, 0, 3, 2));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x) EXPECT_EQ(turned.at(x, y), src.at(2 - y, x)) << x << "," << y;

    Canvas mirror(3, 2, 32);
    const Point lr[3] = {{3, 0}, {0, 0}, {3, 2}};
    ASSERT_TRUE(PlgBlt(&mirror.dc, lr, &src.dc, 0, 0, 3, 2));
    for (int x = 0; x < 3; ++x) EXPECT_EQ(mirror.at(x, 1), src.at(2 - x, 1));

    Canvas untouched(3, 3, 32);
    untouched.fill(rgb(5, 5, 5));
    const Point small[3] = {{0, 0}, {3, 0}, {0, 2}};
    ASSERT_TRUE(PlgBlt(&untouched.dc, small, &src.dc, 0, 0, 3, 2));
    EXPECT_EQ(untouched.at(1, 2), std::int32_t(rgb(5, 5, 5))) << "outside the parallelogram";
    const Point flat[3] = {{0, 0}, {3, 0}, {6, 0}};
    EXPECT_FALSE(PlgBlt(&untouched.dc, flat, &src.dc, 0, 0, 3, 2));
}

TEST(RasterDibBits, ScanLinesMoveBetweenEveryDepthInEitherRowOrder) {
    Canvas src(5, 3, 24);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) SetPixelV(&src.dc, x, y, (x + y) % 2 ? 0xFFFFFF : 0);
    BitmapInfo info;
    EXPECT_EQ(GetDIBits(&src.dc, src.bitmap, 0, 3, nullptr, info, DIB_RGB_COLORS), 3);
    EXPECT_EQ(info.bmiHeader.biBitCount, 24);
    EXPECT_EQ(info.bmiHeader.biSizeImage, 48u);

    for (int depth : {1, 4, 8, 24, 32}) {
        BitmapInfo d;
        d.bmiHeader.biWidth = 5;
        d.bmiHeader.biHeight = -3;
        d.bmiHeader.biBitCount = std::uint16_t(depth);
        d.bmiColors[0] = {0, 0, 0, 0};
        for (std::size_t i = 1; i < 256; ++i) d.bmiColors[i] = {255, 255, 255, 0};
        const std::size_t stride = Bitmap::strideFor(5, depth);
        std::vector<std::uint8_t> bits(stride * 3, 0xEE);
        ASSERT_EQ(GetDIBits(&src.dc, src.bitmap, 0, 3, bits.data(), d, DIB_RGB_COLORS), 3) << depth;
        if (depth == 1) {
            EXPECT_EQ(bits[0], 0x50) << "top row 0 1 0 1 0, most significant bit first";
        }
        if (depth == 32) {
            EXPECT_EQ(bits[4], 255);
        }

        Canvas back(5, 3, 32);
        ASSERT_EQ(SetDIBits(&back.dc, back.bitmap, 0, 3, bits.data(), d, DIB_RGB_COLORS), 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) EXPECT_EQ(back.at(x, y), src.at(x, y)) << depth << " " << x << "," << y;
    }

    // Bottom-up descriptions count scan lines from the bottom.
    BitmapInfo up;
    up.bmiHeader.biWidth = 5;
    up.bmiHeader.biHeight = 3;
    up.bmiHeader.biBitCount = 32;
    std::vector<std::uint8_t> one(20);
    ASSERT_EQ(GetDIBits(&src.dc, src.bitmap, 2, 5, one.data(), up, DIB_RGB_COLORS), 1);
    EXPECT_EQ(one[0], 0) << "scan 2 of 3 is the top row, whose first pixel is black";
    EXPECT_EQ(one[4], 255);
    std::vector<std::uint8_t> white(20, 255);
    Canvas back(5, 3, 24);
    ASSERT_EQ(SetDIBits(&back.dc, back.bitmap, 1, 1, white.data(), up, DIB_RGB_COLORS), 1);
    EXPECT_EQ(back.at(0, 1), 0xFFFFFF) << "scan 1 of a bottom-up description is the middle row";
    EXPECT_EQ(back.at(0, 0), 0);
    up.bmiHeader.biWidth = 4;
    EXPECT_EQ(GetDIBits(&src.dc, src.bitmap, 0, 3, one.data(), up, DIB_RGB_COLORS), 0) << "width mismatch";
}

TEST(RasterDibBits, CreateDibSectionFollowsTheDescription) {
    BitmapInfo info;
    info.bmiHeader.biWidth = 3;
    info.bmiHeader.biHeight = 2;
    info.bmiHeader.biBitCount = 4;
    info.bmiColors[15] = {1, 2, 3, 0};
    std::uint8_t* bits = nullptr;
    auto dib = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits);
    ASSERT_TRUE(dib);
    EXPECT_EQ(bits, dib->bits());
    EXPECT_EQ(dib->rowOrder(), RowOrder::BottomUp);
    EXPECT_EQ(dib->colorTable().size(), 16u);
    EXPECT_EQ(dib->colorTable()[15], (Rgbq{1, 2, 3, 0}));
    info.bmiHeader.biBitCount = 16;
    EXPECT_FALSE(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits));
    EXPECT_EQ(bits, nullptr);
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biWidth = 0x7FFFFFFF;
    info.bmiHeader.biHeight = 0x7FFFFFFF;
    EXPECT_FALSE(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits)) << "absurd size: no section, no crash";
    info.bmiHeader.biWidth = 40000;
    info.bmiHeader.biHeight = -40000;
    EXPECT_FALSE(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits)) << "6.4 GB does not fit a DIB's image size";
}
