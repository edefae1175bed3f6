// SPDX-License-Identifier: GPL-3.0-or-later
// The sheets of a disc-label job: at a printer's corner the guides that would fall off the printable area
// are left out, a calibration moves rings and guides together, and a stock's labels cut to a width keep
// their cut box.
#include "covers/disc_page.h"

#include <gtest/gtest.h>

using namespace kavi;

namespace {

Length mm(double v) { return Length::fromMillimetres(v); }

TEST(DiscPage, AtThePrintableCornerGuidesOffTheAreaAreLeftOut) {
    const LengthRect printable{mm(5), mm(5), mm(200), mm(260)};
    const DiscJobLayout job =
        discOnPlainPaper(kDiscLabel, Paper::Letter, Placement::AtPrintableCorner, printable, true);
    ASSERT_EQ(job.sheets.size(), 1u);
    const DiscSheetLayout& sheet = job.sheets[0];
    ASSERT_EQ(sheet.labels.size(), 1u);
    EXPECT_NEAR(sheet.labels[0].ring.centre.x.millimetres(), 63.5, 1e-9);
    EXPECT_NEAR(sheet.labels[0].ring.centre.y.millimetres(), 63.5, 1e-9);
    // Above and left of the ring there is no room: only the guides below and right remain.
    ASSERT_EQ(sheet.marks.size(), 2u);
    for (const MarkLine& m : sheet.marks) EXPECT_TRUE(m.from.x > mm(63) || m.from.y > mm(63));

    const DiscJobLayout centred = discOnPlainPaper(kMiniDiscLabel, Paper::A4, Placement::CentredOnSheet,
                                                   {mm(0), mm(0), mm(210), mm(297)}, true, 3);
    ASSERT_EQ(centred.sheets.size(), 3u);
    EXPECT_EQ(centred.sheets[2].marks.size(), 4u);
    EXPECT_EQ(centred.sheets[2].labels[0].ring.holeRadius, mm(20.5));

    EXPECT_FALSE(
        discOnPlainPaper({mm(60), mm(61)}, Paper::A4, Placement::CentredOnSheet, printable, false).error.empty());
    EXPECT_FALSE(discOnPlainPaper(kDiscLabel, Paper::A4, Placement::CentredOnSheet, printable, false, 0).error.empty());
}

TEST(DiscPage, ACalibrationMovesRingsAndGuidesTogether) {
    DiscSheetLayout sheet = discOnPlainPaper(kDiscLabel, Paper::Letter, Placement::CentredOnSheet,
                                             {mm(0), mm(0), mm(215.9), mm(279.4)}, true)
                                .sheets[0];
    const DiscSheetLayout before = sheet;
    calibrate(sheet, {2, -1, 98, 102});
    const RingOnSheet& ring = sheet.labels[0].ring;
    EXPECT_NEAR(ring.centre.x.millimetres(), 107.95 * 0.98 + 2, 1e-9);
    EXPECT_NEAR(ring.centre.y.millimetres(), 139.7 * 1.02 - 1, 1e-9);
    EXPECT_NEAR(ring.outerRadius.millimetres(), 58.5, 1e-9); // the mean of 98 % and 102 %
    EXPECT_NEAR(sheet.marks[0].from.y.millimetres(), before.marks[0].from.y.millimetres() * 1.02 - 1, 1e-9);
}

TEST(DiscPage, StockLabelsKeepTheirCutAndOnlyTheCopiesAreUsed) {
    DiscLabelStock stock;
    stock.brand = "Test";
    stock.part = "Card";
    stock.paper = {mm(210), mm(297)};
    stock.outerRadius = mm(29);
    stock.holeRadius = mm(8);
    stock.cutHeight = mm(40);
    stock.centres = {{mm(50), mm(50)}, {mm(150), mm(50)}, {mm(50), mm(150)}};
    const DiscJobLayout job = discOnStock(stock, 2, 3);
    ASSERT_EQ(job.sheets.size(), 2u);
    EXPECT_EQ(job.sheets[0].labels.size(), 3u);
    EXPECT_FALSE(job.sheets[0].labels[0].used);
    EXPECT_TRUE(job.sheets[0].labels[2].used);
    EXPECT_TRUE(job.sheets[1].labels[0].used);
    EXPECT_FALSE(job.sheets[1].labels[1].used);
    EXPECT_TRUE(job.sheets[0].marks.empty());
    EXPECT_FALSE(job.sheets[0].paper); // a paper name the printer does not know: a sheet of its own
    const std::optional<LengthRect> cut = job.sheets[0].labels[1].ring.cutBox();
    ASSERT_TRUE(cut);
    EXPECT_NEAR(cut->left.millimetres(), 150 - 29, 1e-9);
    EXPECT_NEAR(cut->top.millimetres(), 50 - 20, 1e-9);
    EXPECT_NEAR(cut->width.millimetres(), 58, 1e-9);
    EXPECT_NEAR(cut->height.millimetres(), 40, 1e-9);
    EXPECT_FALSE(discOnStock(stock, 4, 1).error.empty());
}

} // namespace
