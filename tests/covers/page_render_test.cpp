// SPDX-License-Identifier: GPL-3.0-or-later
// Paper choice, placement on the sheet, the fit check, calibration and cut marks.
#include "covers/calibration_page.h"
#include "covers/page_render.h"

#include "tests/covers/ticks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace kavi;
using kavi::testing::ticks;

namespace {

// Every tick set the selection rules allow: each single kind, and each jewel-case combination.
std::vector<std::vector<int>> allowedSets() {
    std::vector<std::vector<int>> sets = {{1}, {2}, {3}, {1, 2}, {1, 3}, {2, 3}, {1, 2, 3}};
    for (int kind = 4; kind <= 10; ++kind) sets.push_back({kind});
    return sets;
}

LengthRect inset(const LengthSize& sheet, double left, double top, double right, double bottom) {
    return {Length::fromInches(left), Length::fromInches(top), sheet.width - Length::fromInches(left + right),
            sheet.height - Length::fromInches(top + bottom)};
}

bool overlaps(const LengthRect& a, const LengthRect& b) {
    return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

double inches(Length l) { return l.inches(); }

} // namespace

TEST(PaperChoice, A4ReplacesEveryPaperStepAndKeepsEverythingElse) {
    for (const auto& set : allowedSets()) {
        const PrintJob us = planPrintJob(ticks(set));
        const PrintJob a4 = planPrintJob(ticks(set), PaperChoice::A4);
        EXPECT_EQ(a4.question, PaperQuestion::A4Paper);
        std::vector<PrintStep> expected = printSteps(us);
        for (PrintStep& step : expected)
            if (auto* paper = std::get_if<SetPaper>(&step)) paper->paper = Paper::A4;
        EXPECT_EQ(printSteps(a4), expected) << "set starting with kind " << set.front();
    }
    EXPECT_EQ(paperOfCode(9), Paper::A4);
    EXPECT_NEAR(paperSize(Paper::A4).height.millimetres(), 297, 1e-9);
}

TEST(FitCheck, EveryCoverFitsItsSheetAndMarginsDecide) {
    for (PaperChoice choice : {PaperChoice::LetterAndLegal, PaperChoice::A4})
        for (const auto& set : allowedSets())
            for (const PlannedPage& page : planPrintJob(ticks(set), choice).pages) {
                const auto placed = coversOnSheet(page, Placement::AtPrintableCorner, wholeSheet(page));
                EXPECT_TRUE(overhangs(placed, wholeSheet(page)).empty()) << "kind " << set.front();
            }

    // HD-DVD is 10.5 in wide; from a 0.5 in margin on Letter landscape it loses 0.5 in on the right.
    const PlannedPage hd = planPrintJob(ticks({9})).pages.at(0);
    const LengthRect margins = inset(hd.sheet(), 0.5, 0.5, 0.5, 0.5);
    const auto lost = overhangs(coversOnSheet(hd, Placement::AtPrintableCorner, margins), margins);
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_EQ(lost[0].kind, 9);
    EXPECT_EQ(lost[0].side, Side::Right);
    EXPECT_NEAR(inches(lost[0].amount), 0.5, 1e-9);

    // DS (10.87 in) on A4 landscape (11.69 in) fits while the side margins add up to 0.82 in or
    // within the tolerance above it, and not beyond.
    const PlannedPage ds = planPrintJob(ticks({7}), PaperChoice::A4).pages.at(0);
    const double spare = ds.sheet().width.inches() - 10.87;
    for (double extra : {0.0, 0.009, 0.012}) {
        const LengthRect area = inset(ds.sheet(), spare / 2, 0.25, spare / 2 + extra, 0.25);
        const bool fits = overhangs(coversOnSheet(ds, Placement::AtPrintableCorner, area), area).empty();
        EXPECT_EQ(fits, extra < 0.01) << extra;
    }
}

TEST(Placement, PdfPagesCentreTheCoversAsOneGroup) {
    for (const auto& set : allowedSets())
        for (const PlannedPage& page : planPrintJob(ticks(set)).pages) {
            const auto placed = coversOnSheet(page, Placement::CentredOnSheet, wholeSheet(page));
            const LengthRect b = coversBounds(placed);
            const LengthSize sheet = page.sheet();
            EXPECT_NEAR(inches(b.left), inches(sheet.width - b.right()), 1e-9);
            EXPECT_NEAR(inches(b.top), inches(sheet.height - b.bottom()), 1e-9);
            for (std::size_t i = 1; i < placed.size(); ++i) {
                EXPECT_EQ(placed[i].rect.left - placed[0].rect.left,
                          page.covers[i].rect.left - page.covers[0].rect.left);
                EXPECT_EQ(placed[i].rect.top - placed[0].rect.top, kSecondCoverTop);
            }
        }
    // At the printer the plan's rectangles are taken from the printable area's corner.
    const PlannedPage dvd = planPrintJob(ticks({4})).pages.at(0);
    const auto atPrinter = coversOnSheet(dvd, Placement::AtPrintableCorner, inset(dvd.sheet(), 0.25, 0.5, 0.25, 0.5));
    EXPECT_EQ(atPrinter.at(0).rect.left, Length::fromInches(0.25));
    EXPECT_EQ(atPrinter.at(0).rect.top, Length::fromInches(0.5));
}

TEST(Calibration, ScalesFromTheSheetCornerThenMovesAndRefusesValuesOutOfRange) {
    const Calibration c{2, -1.5, 101, 99};
    const LengthRect r{Length::fromMillimetres(10), Length::fromMillimetres(20), Length::fromMillimetres(100),
                       Length::fromMillimetres(50)};
    const LengthRect out = c.apply(r);
    EXPECT_NEAR(out.left.millimetres(), 10 * 1.01 + 2, 1e-9);
    EXPECT_NEAR(out.top.millimetres(), 20 * 0.99 - 1.5, 1e-9);
    EXPECT_NEAR(out.width.millimetres(), 101, 1e-9);
    EXPECT_NEAR(out.height.millimetres(), 49.5, 1e-9);
    EXPECT_TRUE(Calibration{}.isIdentity());
    EXPECT_EQ(Calibration{}.apply(r), r);

    EXPECT_EQ((Calibration{20, -20, 90, 110}.problem()), "");
    EXPECT_EQ((Calibration{26, -26, 90, 112}.problem()), "") << "what a printer at 90 % that is 20 mm off needs";
    EXPECT_NE((Calibration{26.01, 0, 100, 100}.problem()).find("horizontal offset"), std::string::npos);
    EXPECT_NE((Calibration{0, -27, 100, 100}.problem()).find("vertical offset"), std::string::npos);
    EXPECT_NE((Calibration{0, 0, 89.9, 100}.problem()).find("horizontal scale"), std::string::npos);
    EXPECT_NE((Calibration{0, 0, 100, 112.5}.problem()).find("vertical scale"), std::string::npos);
    EXPECT_NE((Calibration{std::nan(""), 0, 100, 100}.problem()), "");
    EXPECT_NE((Calibration{0, 0, 100, INFINITY}.problem()), "");
}

TEST(CutMarks, OutsideEveryPictureInsideThePrintableAreaAndCoversNeverMove) {
    for (const auto& set : allowedSets())
        for (const PlannedPage& page : planPrintJob(ticks(set)).pages)
            for (Placement placement : {Placement::AtPrintableCorner, Placement::CentredOnSheet}) {
                const LengthRect area = placement == Placement::CentredOnSheet
                    ? wholeSheet(page)
                    : inset(page.sheet(), 0.25, 0.25, 0.25, 0.25);
                PageOptions options{placement, area, false, {}};
                const RenderedPage plain = renderPage(page, options);
                options.cutMarks = true;
                const RenderedPage marked = renderPage(page, options);
                EXPECT_EQ(marked.covers, plain.covers) << "covers never move for marks";
                EXPECT_TRUE(plain.marks.empty());
                for (const MarkLine& m : marked.marks) {
                    const LengthRect ink{std::min(m.from.x, m.to.x) - kMarkWidth / 2,
                                         std::min(m.from.y, m.to.y) - kMarkWidth / 2, (m.to.x - m.from.x) + kMarkWidth,
                                         (m.to.y - m.from.y) + kMarkWidth};
                    for (const PlacedCover& c : marked.covers) EXPECT_FALSE(overlaps(ink, c.rect)) << "kind " << c.kind;
                    EXPECT_GE(ink.left, area.left);
                    EXPECT_LE(ink.right(), area.right());
                    EXPECT_GE(ink.top, area.top);
                    EXPECT_LE(ink.bottom(), area.bottom());
                }
            }

    // A centred DVD on Legal has room all round: eight corner marks and two fold marks above and
    // below, at the spine's edges 7 mm either side of the middle.
    const PlannedPage dvd = planPrintJob(ticks({4})).pages.at(0);
    const RenderedPage page = renderPage(dvd, {Placement::CentredOnSheet, wholeSheet(dvd), true, {}});
    ASSERT_EQ(page.marks.size(), 12u);
    const LengthRect& r = page.covers.at(0).rect;
    const Length middle = r.left + r.width / 2;
    int folds = 0;
    for (const MarkLine& m : page.marks)
        if (m.from.x == m.to.x && std::abs((m.from.x - middle).millimetres()) > 1) {
            if (m.from.x == r.left || m.from.x == r.right()) continue;
            EXPECT_NEAR(std::abs((m.from.x - middle).millimetres()), 7, 1e-9);
            ++folds;
        }
    EXPECT_EQ(folds, 4);

    // At the corner of a printer's printable area the marks left of and above the cover are left out.
    const RenderedPage atCorner =
        renderPage(dvd, {Placement::AtPrintableCorner, inset(dvd.sheet(), 0.25, 0.25, 0.25, 0.25), true, {}});
    for (const MarkLine& m : atCorner.marks) {
        EXPECT_GE(m.from.x, atCorner.covers[0].rect.left);
        EXPECT_GE(m.from.y, atCorner.covers[0].rect.top);
    }
    EXPECT_LT(atCorner.marks.size(), page.marks.size());
}

TEST(CutMarks, FoldsOfTheWrapAroundKindsAndTheBackCard) {
    const Length w = Length::fromMillimetres(200);
    const std::pair<int, double> spines[] = {{4, 14}, {6, 14}, {7, 16}, {8, 7}, {9, 14}, {10, 14}};
    for (const auto& [kind, spine] : spines) {
        const auto folds = foldsOf(kind, w);
        ASSERT_EQ(folds.size(), 2u) << kind;
        EXPECT_NEAR((folds[1] - folds[0]).millimetres(), spine, 1e-9) << kind;
        EXPECT_NEAR((folds[0] + folds[1]).millimetres(), 200, 1e-9) << "centred " << kind;
    }
    const auto back = foldsOf(3, w);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_NEAR(back[0].millimetres(), 6.5, 1e-9);
    EXPECT_NEAR(back[1].millimetres(), 193.5, 1e-9);
    for (int kind : {1, 2, 5}) EXPECT_TRUE(foldsOf(kind, w).empty()) << kind;
}

TEST(PageRender, CalibrationMovesCoversAndMarksButTheFitCheckSeesThePlan) {
    const PlannedPage psp = planPrintJob(ticks({6})).pages.at(0);
    // A printable area 3 in narrower than the cover on the right, so that there is an overhang to see.
    const LengthSize cover = coverKind(6).printSize;
    const double right = psp.sheet().width.inches() - 0.25 - (cover.width.inches() - 3);
    const LengthRect area = inset(psp.sheet(), 0.25, 0.25, right, 0.25);
    const RenderedPage plain = renderPage(psp, {Placement::AtPrintableCorner, area, true, {}});
    const Calibration c{3, 4, 102, 98};
    const RenderedPage calibrated = renderPage(psp, {Placement::AtPrintableCorner, area, true, c});
    EXPECT_EQ(calibrated.covers.at(0).rect, c.apply(plain.covers.at(0).rect));
    ASSERT_EQ(calibrated.marks.size(), plain.marks.size());
    ASSERT_FALSE(plain.marks.empty());
    for (std::size_t i = 0; i < plain.marks.size(); ++i) {
        EXPECT_EQ(calibrated.marks[i].from, c.apply(plain.marks[i].from)) << i;
        EXPECT_EQ(calibrated.marks[i].to, c.apply(plain.marks[i].to)) << "both ends of mark " << i;
    }
    ASSERT_EQ(plain.overhangs.size(), 1u);
    EXPECT_NEAR(plain.overhangs[0].amount.inches(), 3, 1e-9);
    EXPECT_EQ(calibrated.overhangs, plain.overhangs) << "measured on the plan, not on the calibrated cover";
    EXPECT_EQ(calibrated.sheet, psp.sheet());
}

TEST(CutMarks, EachMarkStartsOneAndAHalfMillimetresFromItsCoverAndIsFiveLong) {
    const PlannedPage dvd = planPrintJob(ticks({4})).pages.at(0);
    const RenderedPage page = renderPage(dvd, {Placement::CentredOnSheet, wholeSheet(dvd), true, {}});
    const LengthRect& r = page.covers.at(0).rect;
    const Length gap = Length::fromMillimetres(1.5), length = Length::fromMillimetres(5);
    // The marks at the top-left corner: one above it in line with the left edge, one left of it in
    // line with the top edge.
    const MarkLine above{{r.left, r.top - gap - length}, {r.left, r.top - gap}};
    const MarkLine left{{r.left - gap - length, r.top}, {r.left - gap, r.top}};
    EXPECT_NE(std::find(page.marks.begin(), page.marks.end(), above), page.marks.end());
    EXPECT_NE(std::find(page.marks.begin(), page.marks.end(), left), page.marks.end());
    const MarkLine below{{r.right(), r.bottom() + gap}, {r.right(), r.bottom() + gap + length}};
    EXPECT_NE(std::find(page.marks.begin(), page.marks.end(), below), page.marks.end());
}

TEST(CutMarks, AMarkThatWouldReachAnotherPictureIsLeftOut) {
    // Two covers 2 mm apart: the marks between them would overprint the other picture.
    const Length mm = Length::fromMillimetres(1);
    const std::vector<PlacedCover> covers = {{1, {mm * 20, mm * 20, mm * 50, mm * 50}},
                                             {2, {mm * 20, mm * 72, mm * 50, mm * 50}}};
    const LengthRect sheet{Length(), Length(), mm * 200, mm * 200};
    const auto marks = cutMarks(covers, sheet);
    EXPECT_EQ(marks.size(), 2u * 8u - 4u) << "the four vertical marks in the gap go";
    for (const MarkLine& m : marks) EXPECT_FALSE(m.from.y > mm * 70 && m.to.y < mm * 72) << "none in the gap";
}

TEST(CalibrationPage, TheCorrectionFromAMeasurementUndoesThePrinter) {
    // A printer that scales by 1.5% and 0.8% and shifts by 1.2 mm right and 2 mm up.
    const double sx = 1.015, sy = 0.992, ox = 1.2, oy = -2;
    const CalibrationMeasurement measured{100 * sx, 100 * sy, 30 * sx + ox, 30 * sy + oy};
    const Calibration c = correctionFor(measured);
    EXPECT_EQ(c.problem(), "");
    for (double p : {0.0, 30.0, 130.0, 250.0}) {
        const LengthPoint drawn = c.apply(LengthPoint{Length::fromMillimetres(p), Length::fromMillimetres(p)});
        EXPECT_NEAR(drawn.x.millimetres() * sx + ox, p, 1e-9);
        EXPECT_NEAR(drawn.y.millimetres() * sy + oy, p, 1e-9);
    }
    EXPECT_TRUE(correctionFor(CalibrationMeasurement{}).isIdentity()) << "a true printer needs no correction";
    EXPECT_NE(correctionFor({0, 100, 30, 30}).problem(), "");
    EXPECT_NE(correctionFor({100, 100, 60, 30}).problem(), "") << "30 mm off is more than a printer's error";
}

TEST(CalibrationPage, EveryPrinterWithinTheRangesIsAcceptedAndAMeasurementOutsideIsNamedAsMeasured) {
    // The whole promised range, its edges included: each measurement is accepted and gives a
    // correction that is accepted too and undoes the printer.
    for (double side : {90.0, 90.5, 95.0, 100.0, 105.0, 110.0})
        for (double corner : {10.0, 22.5, 30.0, 41.0, 50.0}) {
            const CalibrationMeasurement m{side, side, corner, corner};
            EXPECT_EQ(m.problem(), "") << side << " " << corner;
            const Calibration c = correctionFor(m);
            EXPECT_EQ(c.problem(), "") << side << " " << corner;
            const double s = side / 100, o = corner - 30 * s; // where this printer puts p: p * s + o
            const LengthPoint drawn = c.apply(LengthPoint{Length::fromMillimetres(30), Length::fromMillimetres(130)});
            EXPECT_NEAR(drawn.x.millimetres() * s + o, 30, 1e-9);
            EXPECT_NEAR(drawn.y.millimetres() * s + o, 130, 1e-9);
        }
    EXPECT_NEAR(correctionFor({90.5, 100, 30, 30}).scaleXPercent, 110.497, 0.001);

    const auto problem = [](CalibrationMeasurement m) { return m.problem(); };
    EXPECT_EQ(problem({80, 100, 30, 30}), "The square width you measured, 80 mm, is outside 90 to 110 mm.");
    EXPECT_EQ(problem({100, 110.5, 30, 30}), "The square height you measured, 110.5 mm, is outside 90 to 110 mm.");
    EXPECT_EQ(problem({100, 100, 55, 30}),
              "The corner's distance from the left edge you measured, 55 mm, is outside 10 to 50 mm.");
    EXPECT_EQ(problem({100, 100, 30, 9.5}),
              "The corner's distance from the top edge you measured, 9.5 mm, is outside 10 to 50 mm.");
    EXPECT_EQ(problem({0, 100, 30, 30}), "The square width you entered is 0 mm: measure it on the printed page.");
    EXPECT_EQ(problem({100, 100, 30, -3}),
              "The corner's distance from the top edge you entered is -3 mm: measure it on the printed page.");
    EXPECT_EQ(problem({100, std::nan(""), 30, 30}), "The square height is not a number of millimetres.");
}

TEST(CalibrationPage, TheSquareAndTheRulersStayInsideThePrintableArea) {
    const LengthSize sheet = sheetSize(Paper::A4, Orientation::Landscape);
    const LengthRect area = inset(sheet, 0.25, 0.25, 0.25, 0.25);
    const auto lines = calibrationPageLines(Paper::A4, Orientation::Landscape, area);
    int squareSides = 0, topTicks = 0;
    for (const MarkLine& l : lines) {
        for (const LengthPoint& p : {l.from, l.to}) {
            EXPECT_GE(p.x, area.left);
            EXPECT_LE(p.x, area.right());
            EXPECT_GE(p.y, area.top);
            EXPECT_LE(p.y, area.bottom());
        }
        if (std::abs((l.to.x - l.from.x).millimetres()) == 100 || std::abs((l.to.y - l.from.y).millimetres()) == 100)
            ++squareSides;
        if (l.from.y == area.top && l.from.x == l.to.x) ++topTicks;
    }
    EXPECT_EQ(squareSides, 4);
    // Millimetre ticks from the sheet's corner, from where the printable area begins (6.35 mm) to where it ends.
    EXPECT_EQ(topTicks, int(std::floor(area.right().millimetres())) - int(std::ceil(area.left.millimetres())) + 1);
}
