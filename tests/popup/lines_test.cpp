// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/raster/lines.h"

#include <gtest/gtest.h>

using namespace raster;

namespace {

ColorRef pixel32(const Bitmap& b, int x, int y) {
    const std::uint8_t* p = b.row(y) + x * 4;
    return rgb(p[2], p[1], p[0]);
}

int countPainted(const Bitmap& b) {
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) n += pixel32(b, x, y) != 0;
    return n;
}

} // namespace

TEST(Lines, LeaveOutTheEndPixelInEveryDirection) {
    const ColorRef red = rgb(255, 0, 0);
    struct Case {
        int x0, y0, x1, y1;
    };
    for (const Case c : {Case{1, 1, 6, 1}, Case{6, 1, 1, 1}, Case{2, 0, 2, 7}, Case{2, 7, 2, 0}, Case{0, 0, 7, 7},
                         Case{7, 7, 0, 0}, Case{0, 7, 7, 0}, Case{0, 0, 7, 3}, Case{1, 7, 3, 0}}) {
        Bitmap b(8, 8, 32);
        LineCanvas canvas(b);
        canvas.selectPen(Pen{red});
        canvas.moveTo(c.x0, c.y0);
        canvas.lineTo(c.x1, c.y1);
        const int major = std::max(std::abs(c.x1 - c.x0), std::abs(c.y1 - c.y0));
        EXPECT_EQ(countPainted(b), major) << "one pixel per step of the longer axis";
        EXPECT_EQ(pixel32(b, c.x0, c.y0), red) << "the start pixel is painted";
        EXPECT_EQ(pixel32(b, c.x1, c.y1), 0u) << "the end pixel is left out";
        EXPECT_EQ(canvas.x(), c.x1);
        EXPECT_EQ(canvas.y(), c.y1);
    }
}

TEST(Lines, BresenhamStaysWithinHalfAPixelOfTheIdealLine) {
    Bitmap b(20, 10, 32);
    LineCanvas canvas(b);
    canvas.selectPen(Pen{rgb(1, 2, 3)});
    canvas.moveTo(0, 0);
    canvas.lineTo(19, 7);
    for (int x = 0; x < 19; ++x) {
        int hits = 0;
        for (int y = 0; y < 10; ++y) {
            if (pixel32(b, x, y) == 0) continue;
            ++hits;
            EXPECT_LE(std::abs(y - x * 7.0 / 19.0), 0.5 + 1e-9) << "column " << x;
        }
        EXPECT_EQ(hits, 1) << "column " << x;
    }
}

TEST(Lines, ClipToTheBitmapAndWriteEveryDepth) {
    Bitmap b(4, 4, 32);
    LineCanvas canvas(b);
    canvas.selectPen(Pen{rgb(9, 9, 9)});
    canvas.moveTo(-100000, 2);
    canvas.lineTo(100000, 2);
    EXPECT_EQ(countPainted(b), 4) << "only the row inside the bitmap";
    canvas.moveTo(-5, -5);
    canvas.lineTo(-1, -9);
    EXPECT_EQ(countPainted(b), 4) << "a line wholly outside paints nothing";

    Bitmap b24(3, 2, 24, RowOrder::BottomUp);
    LineCanvas c24(b24);
    c24.selectPen(Pen{rgb(10, 20, 30)});
    c24.moveTo(0, 0);
    c24.lineTo(3, 0);
    EXPECT_EQ(b24.row(0)[0], 30);
    EXPECT_EQ(b24.row(0)[1], 20);
    EXPECT_EQ(b24.row(0)[2], 10);
    EXPECT_EQ(b24.row(1)[0], 0) << "the top row of a bottom-up bitmap is the one drawn";

    Bitmap b4(5, 1, 4, RowOrder::TopDown, {Rgbq{0, 0, 0, 0}, Rgbq{0, 0, 250, 0}, Rgbq{250, 0, 0, 0}});
    LineCanvas c4(b4);
    c4.selectPen(Pen{rgb(0, 0, 255)});
    c4.moveTo(1, 0);
    c4.lineTo(4, 0);
    EXPECT_EQ(b4.row(0)[0], 0x02) << "pixel 1 takes the nearest entry, blue (index 2)";
    EXPECT_EQ(b4.row(0)[1], 0x22);
    EXPECT_EQ(b4.row(0)[2], 0x00) << "the end pixel 4 is left out";

    const Pen old = canvas.selectPen(Pen{rgb(1, 1, 1)});
    EXPECT_EQ(old.color, rgb(9, 9, 9)) << "selecting a pen hands back the previous one";
}
