// SPDX-License-Identifier: GPL-3.0-or-later
// Lengths and paper: the exact DS size, unit round trips, and the printer object's codes and sizes.
#include "covers/cover_kinds.h"

#include <gtest/gtest.h>

using namespace kavi;

TEST(Length, TheDsCoverStaysExactAndUnitsRoundTrip) {
    const LengthSize ds = coverKind(7).printSize;
    EXPECT_EQ(ds, LengthSize::fromTwips(15652.8, 6580.8));
    EXPECT_EQ(ds.width.points(), 782.64);
    EXPECT_EQ(ds.height.points(), 329.04);
    EXPECT_EQ(ds, (LengthSize{Length::fromInches(10.87), Length::fromInches(4.57)}));

    EXPECT_EQ(Length::fromInches(1), Length::fromPoints(72));
    EXPECT_EQ(Length::fromInches(1).twips(), 1440);
    EXPECT_DOUBLE_EQ(Length::fromMillimetres(25.4).twips(), 1440);
    for (double v : {0.1, 12.75, 120.7, 276.1, 355.6, -3.3}) {
        EXPECT_DOUBLE_EQ(Length::fromMillimetres(v).millimetres(), v) << v;
        EXPECT_DOUBLE_EQ(Length::fromInches(v).inches(), v) << v;
        EXPECT_DOUBLE_EQ(Length::fromPoints(v).points(), v) << v;
    }
}

TEST(Paper, CodesAndSizesOfThePrinterObject) {
    EXPECT_EQ(printerCode(Paper::Letter), 1);
    EXPECT_EQ(printerCode(Paper::Legal), 5);
    EXPECT_EQ(printerCode(Orientation::Portrait), 1);
    EXPECT_EQ(printerCode(Orientation::Landscape), 2);
    EXPECT_EQ(paperSize(Paper::Letter), (LengthSize{Length::fromInches(8.5), Length::fromInches(11)}));
    EXPECT_EQ(sheetSize(Paper::Legal, Orientation::Landscape),
              (LengthSize{Length::fromInches(14), Length::fromInches(8.5)}));
}
