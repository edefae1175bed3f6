// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/raster/bitmap.h"
#include "formats/raster/dib_bits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

using namespace raster;

TEST(Bitmap, RowsArePaddedToFourBytesForEveryDepth) {
    EXPECT_EQ(Bitmap::strideFor(1, 1), 4u);
    EXPECT_EQ(Bitmap::strideFor(33, 1), 8u);
    EXPECT_EQ(Bitmap::strideFor(9, 4), 8u);
    EXPECT_EQ(Bitmap::strideFor(5, 8), 8u);
    EXPECT_EQ(Bitmap::strideFor(3, 24), 12u);
    EXPECT_EQ(Bitmap::strideFor(5, 24), 16u);
    EXPECT_EQ(Bitmap::strideFor(7, 32), 28u);
    EXPECT_EQ(Bitmap::strideFor(7, 16), 0u) << "16 bits per pixel is not a supported depth";
    EXPECT_THROW(Bitmap(2, 2, 16), std::invalid_argument);
    EXPECT_THROW(Bitmap(-1, 2, 32), std::invalid_argument);
}

TEST(Bitmap, RowOrderDecidesWhereTheTopRowLives) {
    Bitmap up(2, 3, 24, RowOrder::BottomUp);
    up.row(0)[0] = 7;
    EXPECT_EQ(up.bits()[2 * up.stride()], 7) << "the top row of a bottom-up bitmap is stored last";
    Bitmap down(2, 3, 24, RowOrder::TopDown);
    down.row(0)[0] = 7;
    EXPECT_EQ(down.bits()[0], 7);
}

TEST(Bitmap, CopiesAreDeepAndAssignmentReusesTheBuffer) {
    Bitmap a(4, 4, 32);
    a.row(1)[5] = 9;
    Bitmap b(4, 4, 32);
    const std::uint8_t* before = b.bits();
    b = a;
    EXPECT_EQ(b.bits(), before) << "same size: the old pixel memory is reused";
    EXPECT_EQ(b.row(1)[5], 9);
    a.row(1)[5] = 1;
    EXPECT_EQ(b.row(1)[5], 9) << "the copy does not share pixels";
    Bitmap c(1, 1, 8);
    c = a;
    EXPECT_EQ(c.width(), 4);
    EXPECT_EQ(c.bitsPerPixel(), 32);
}

TEST(Bitmap, LargeBitmapsAreZeroedAndHugePageAligned) {
    Bitmap big(1500, 1000, 32);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(big.bits()) % (2u << 20), 0u);
    EXPECT_EQ(big.row(999)[5999], 0);
}

TEST(DibBits, PaletteDepthsReadThroughTheColourTableAndWriteTheNearestEntry) {
    const std::vector<Rgbq> table = {{0, 0, 0, 0}, {255, 255, 255, 0}, {0, 0, 200, 0}};
    for (int depth : {1, 4, 8}) {
        std::vector<Rgbq> t = table;
        if (depth == 1) t.resize(2);
        Bitmap b(9, 2, depth, RowOrder::BottomUp, t);
        std::vector<std::uint8_t> px(9 * 2 * 4, 0);
        for (int x = 0; x < 9; ++x) {
            px[4 * x + 0] = 250;
            px[4 * x + 1] = 240;
            px[4 * x + 2] = 245; // near white
        }
        px[4 * 9 + 4 * 8 + 2] = 190; // bottom-right pixel near red (only where the table has it)
        setDIBits32(b, px.data());
        std::vector<std::uint8_t> back(px.size(), 1);
        getDIBits32(b, back.data());
        EXPECT_EQ(back[0], 255) << depth;
        EXPECT_EQ(back[3], 0) << "reserved byte reads zero";
        const std::uint8_t* last = &back[4 * 9 + 4 * 8];
        if (depth == 1) EXPECT_EQ(last[2], 0);
        else EXPECT_EQ(last[2], 200) << depth;
    }
}

TEST(DibBits, TwentyFourBitRoundTripIsExact) {
    Bitmap b(3, 2, 24, RowOrder::BottomUp);
    std::vector<std::uint8_t> px(3 * 2 * 4);
    for (std::size_t i = 0; i < px.size(); ++i) px[i] = (i % 4 == 3) ? 0 : std::uint8_t(i * 11);
    setDIBits32(b, px.data());
    std::vector<std::uint8_t> back(px.size());
    getDIBits32(b, back.data());
    EXPECT_EQ(back, px);
    EXPECT_EQ(b.row(0)[0], px[0]);
}

TEST(Bitmap, ABitmapOverBorrowedMemoryGetsItsOwnBeforeAnythingIsWrittenIntoIt) {
    std::vector<std::uint8_t> lender(4 * 3 * 2, 7);
    raster::Bitmap borrowed(3, 2, raster::PixelMemory::borrowed(lender.data(), lender.size(), nullptr));
    EXPECT_TRUE(borrowed.isBorrowed());
    EXPECT_EQ(borrowed.bits(), lender.data());
    raster::Bitmap other(3, 2, 32);
    borrowed = other; // same size: an ordinary bitmap would reuse its memory
    EXPECT_FALSE(borrowed.isBorrowed());
    EXPECT_NE(borrowed.bits(), lender.data());
    EXPECT_EQ(lender, std::vector<std::uint8_t>(4 * 3 * 2, 7));
    EXPECT_THROW(raster::Bitmap(4, 2, raster::PixelMemory::borrowed(lender.data(), lender.size(), nullptr)),
                 std::invalid_argument);
}
