// Physical lengths and paper: the conversions between units, the exact DS size, and the paper
// codes and sizes the printer object needs.
#include "cover_kinds.h"
#include "length.h"
#include "paper.h"

#include <gtest/gtest.h>

using namespace kavi;

TEST(Length, UnitsAgreeOnOneInch) {
    const Length inch = Length::fromInches(1);
    EXPECT_EQ(inch.twips(), 1440);
    EXPECT_EQ(inch.points(), 72);
    EXPECT_DOUBLE_EQ(inch.millimetres(), 25.4);
    EXPECT_EQ(Length::fromPoints(72), inch);
    EXPECT_DOUBLE_EQ(Length::fromMillimetres(25.4).twips(), 1440);
    EXPECT_NEAR(Length::fromMillimetres(10).twips(), 567, 0.5);
}

TEST(Length, TheDsCoverStaysExactInTwipsPointsAndInches) {
    const LengthSize ds = coverKind(7).printSize;
    EXPECT_EQ(ds.width.twips(), 15652.8);
    EXPECT_EQ(ds.height.twips(), 6580.8);
    EXPECT_EQ(ds.width.points(), 782.64);
    EXPECT_EQ(ds.height.points(), 329.04);
    EXPECT_EQ(ds.width, Length::fromInches(10.87));
    EXPECT_EQ(ds.height, Length::fromInches(4.57));
}

TEST(Length, MillimetresInchesAndPointsRoundTrip) {
    for (double v : {0.0, 0.1, 1.0, 12.75, 25.4, 120.7, 276.1, 355.6, 1000.0, -3.3}) {
        EXPECT_DOUBLE_EQ(Length::fromMillimetres(v).millimetres(), v) << v;
        EXPECT_DOUBLE_EQ(Length::fromInches(v).inches(), v) << v;
        EXPECT_DOUBLE_EQ(Length::fromPoints(v).points(), v) << v;
        EXPECT_DOUBLE_EQ(Length::fromTwips(Length::fromMillimetres(v).twips()).millimetres(), v) << v;
    }
}

TEST(Length, ArithmeticAndOrder) {
    const Length a = Length::fromTwips(6840), b = Length::fromTwips(723);
    EXPECT_EQ((a + b).twips(), 7563);
    EXPECT_EQ((a - b).twips(), 6117);
    EXPECT_EQ((-b).twips(), -723);
    EXPECT_EQ((a * 2).twips(), 13680);
    EXPECT_EQ((2 * a), a + a);
    EXPECT_EQ((a / 4).twips(), 1710);
    EXPECT_EQ(Length::fromInches(11) / Length::fromInches(5.5), 2);
    EXPECT_LT(b, a);
    EXPECT_GT(a, b);
    EXPECT_NE(a, b);
    Length c = a;
    c += b;
    c -= a;
    EXPECT_EQ(c, b);

    const LengthRect r{Length::fromInches(1), Length::fromInches(2), Length::fromInches(3), Length::fromInches(4)};
    EXPECT_EQ(r.right(), Length::fromInches(4));
    EXPECT_EQ(r.bottom(), Length::fromInches(6));
    EXPECT_EQ(r.size().transposed(), (LengthSize{Length::fromInches(4), Length::fromInches(3)}));
}

TEST(Paper, CodesAndSizesOfThePrinterObject) {
    EXPECT_EQ(printerCode(Paper::Letter), 1);
    EXPECT_EQ(printerCode(Paper::Legal), 5);
    EXPECT_EQ(printerCode(Orientation::Portrait), 1);
    EXPECT_EQ(printerCode(Orientation::Landscape), 2);

    EXPECT_EQ(paperSize(Paper::Letter), (LengthSize{Length::fromInches(8.5), Length::fromInches(11)}));
    EXPECT_EQ(paperSize(Paper::Legal), (LengthSize{Length::fromInches(8.5), Length::fromInches(14)}));
    EXPECT_EQ(sheetSize(Paper::Legal, Orientation::Portrait), paperSize(Paper::Legal));
    EXPECT_EQ(sheetSize(Paper::Legal, Orientation::Landscape).width, Length::fromInches(14));
    EXPECT_EQ(sheetSize(Paper::Letter, Orientation::Landscape).height, Length::fromInches(8.5));
}
