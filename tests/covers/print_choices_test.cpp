// SPDX-License-Identifier: GPL-3.0-or-later
// The print choices in the layout step: where covers are placed (and which marks survive), the
// sheet of the kinds that may go on Legal, and covers put together on fewer sheets.
#include "covers/covers_together.h"
#include "covers/page_render.h"

#include "tests/covers/ticks.h"

#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::ticks;

namespace {

LengthRect inset(const LengthSize& sheet, double left, double top, double right, double bottom) {
    return {Length::fromInches(left), Length::fromInches(top), sheet.width - Length::fromInches(left + right),
            sheet.height - Length::fromInches(top + bottom)};
}

bool overlaps(const LengthRect& a, const LengthRect& b) {
    return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

// Every mark a cover has when nothing cuts it off: two at each corner, two at each fold.
std::size_t allMarksOf(const std::vector<PlacedCover>& covers) {
    std::size_t n = 0;
    for (const PlacedCover& c : covers) n += 8 + 2 * foldsOf(c.kind, c.rect.width).size();
    return n;
}

// Two plans alike: the same question and the same printer steps.
bool same(const PrintJob& a, const PrintJob& b) { return a.question == b.question && printSteps(a) == printSteps(b); }

RenderedPage rendered(const PlannedPage& page, Placement placement, const LengthRect& printable) {
    PageOptions options;
    options.placement = placement;
    options.printable = printable;
    options.cutMarks = true;
    return renderPage(page, options);
}

} // namespace

TEST(PlacementChoice, TheCornerLosesTheMarksAboveAndLeftAndTheOtherTwoKeepEveryMark) {
    // Uneven margins, every single kind that has room for its marks on its own page (HD-DVD and
    // Blu-Ray have not on Letter), and the jewel-case pages.
    for (const auto& set : std::vector<std::vector<int>>{{1, 3}, {1, 2, 3}, {4}, {5}, {6}, {7}, {8}}) {
        for (const PlannedPage& page : planPrintJob(ticks(set)).pages) {
            const LengthRect printable = inset(page.sheet(), 0.1, 0.2, 0.15, 0.2);
            const std::string what = "kind " + std::to_string(page.covers.front().kind);
            const RenderedPage corner = rendered(page, Placement::AtPrintableCorner, printable);
            ASSERT_TRUE(corner.overhangs.empty()) << what;
            EXPECT_EQ(corner.covers.front().rect.left, printable.left) << what;
            EXPECT_GT(corner.marksOutsidePrintable, 0) << what;
            EXPECT_EQ(corner.marks.size() + std::size_t(corner.marksOutsidePrintable), allMarksOf(corner.covers))
                << what;
            for (Placement placement : {Placement::CentredOnSheet, Placement::MovedInForMarks}) {
                const RenderedPage shown = rendered(page, placement, printable);
                EXPECT_TRUE(shown.overhangs.empty()) << what;
                EXPECT_EQ(shown.marksOutsidePrintable, 0) << what << " placement " << int(placement);
                EXPECT_EQ(shown.marks.size(), corner.marks.size() + std::size_t(corner.marksOutsidePrintable)) << what;
            }
            // Moved in: from the printable corner by the marks' reach exactly.
            const RenderedPage moved = rendered(page, Placement::MovedInForMarks, printable);
            EXPECT_NEAR(moved.covers.front().rect.left.twips(), (printable.left + markReach()).twips(), 1e-6);
            EXPECT_NEAR(moved.covers.front().rect.top.twips(), (printable.top + markReach()).twips(), 1e-6);
        }
    }
}

TEST(PlacementChoice, MovedInNeverPushesACoverOffAndCentredIsCheckedAgainstTheMargins) {
    // HD-DVD is 10.5 in wide: on Letter sideways with 0.2 in margins there is 0.1 in to spare.
    const PlannedPage page = planPrintJob(ticks({9})).pages.front();
    const LengthRect printable = inset(page.sheet(), 0.2, 0.2, 0.2, 0.2);
    const RenderedPage moved = rendered(page, Placement::MovedInForMarks, printable);
    EXPECT_TRUE(moved.overhangs.empty());
    EXPECT_NEAR(moved.covers.front().rect.left.inches(), 0.3, 1e-9) << "moved in only as far as there is room";
    // Centred on the sheet with a wide left margin: the cover now reaches past the printable area.
    const RenderedPage centred = rendered(page, Placement::CentredOnSheet, inset(page.sheet(), 0.6, 0.1, 0.1, 0.1));
    ASSERT_EQ(centred.overhangs.size(), 1u);
    EXPECT_EQ(centred.overhangs[0].side, Side::Left);
}

TEST(SheetChoice, HdAndBluRayGoOnLegalOnlyOnUsSizesAndDsOnLegalOnlyWithA4) {
    const SheetChoices legal{LongCaseSheet::Legal, DsSheetOnA4::Legal};
    for (int kind : {9, 10}) {
        const PrintJob job = planPrintJob(ticks({kind}), PaperChoice::LetterAndLegal, legal);
        EXPECT_EQ(job.pages.front().paper, Paper::Legal);
        EXPECT_EQ(job.pages.front().orientation, Orientation::Landscape);
        EXPECT_EQ(job.question, PaperQuestion::LegalPaper);
        EXPECT_EQ(job.paperAfterJob, Paper::Letter);
        const PrintJob a4 = planPrintJob(ticks({kind}), PaperChoice::A4, legal);
        EXPECT_EQ(a4.pages.front().paper, Paper::A4) << "the A4 user keeps A4 for HD-DVD and Blu-Ray";
    }
    const PrintJob ds = planPrintJob(ticks({7}), PaperChoice::A4, legal);
    EXPECT_EQ(ds.pages.front().paper, Paper::Legal);
    EXPECT_EQ(ds.question, PaperQuestion::LegalPaper);
    EXPECT_EQ(ds.paperAfterJob, Paper::A4);
    EXPECT_TRUE(ds.orientationBeforePaper);
    EXPECT_TRUE(same(planPrintJob(ticks({7}), PaperChoice::LetterAndLegal, legal), planPrintJob(ticks({7}))));
    // The other kinds do not move.
    for (int kind : {4, 5, 6, 8})
        for (PaperChoice paper : {PaperChoice::LetterAndLegal, PaperChoice::A4})
            EXPECT_TRUE(same(planPrintJob(ticks({kind}), paper, legal), planPrintJob(ticks({kind}), paper))) << kind;
    // On Legal the HD-DVD fits a printer with half-inch margins, which it does not on Letter.
    for (auto [sheets, fits] : {std::pair{SheetChoices{}, false}, std::pair{legal, true}}) {
        const PlannedPage page = planPrintJob(ticks({9}), PaperChoice::LetterAndLegal, sheets).pages.front();
        EXPECT_EQ(
            rendered(page, Placement::AtPrintableCorner, inset(page.sheet(), 0.5, 0.5, 0.5, 0.5)).overhangs.empty(),
            fits);
    }
}

namespace {

// The room of a sheet with equal margins all round.
std::function<LengthSize(Paper, Orientation)> roomWithMargins(double inches) {
    return [inches](Paper paper, Orientation orientation) {
        const LengthSize s = sheetSize(paper, orientation);
        return LengthSize{s.width - Length::fromInches(2 * inches), s.height - Length::fromInches(2 * inches)};
    };
}

void expectApartInsideTheRoom(const PrintJob& job, const LengthSize& room, const std::string& what) {
    for (const PlannedPage& page : job.pages) {
        for (std::size_t i = 0; i < page.covers.size(); ++i) {
            const LengthRect& a = page.covers[i].rect;
            EXPECT_TRUE(a.left >= Length() && a.top >= Length() && a.right() <= room.width && a.bottom() <= room.height)
                << what;
            EXPECT_EQ(a.size(), coverKind(page.covers[i].kind).printSize) << what << ": each cover at its size";
            for (std::size_t j = i + 1; j < page.covers.size(); ++j) {
                LengthRect b = page.covers[j].rect;
                // Apart by the marks of both.
                b = {b.left - gapBetweenCovers() + Length::fromTwips(1),
                     b.top - gapBetweenCovers() + Length::fromTwips(1),
                     b.width + gapBetweenCovers() * 2 - Length::fromTwips(2),
                     b.height + gapBetweenCovers() * 2 - Length::fromTwips(2)};
                EXPECT_FALSE(overlaps(a, b)) << what << " covers " << i << " and " << j;
            }
        }
    }
}

} // namespace

TEST(CoversTogether, FrontAndBackShareOneSheetAndTheCdSetTakesTwo) {
    for (PaperChoice paper : {PaperChoice::LetterAndLegal, PaperChoice::A4}) {
        const auto room = roomWithMargins(0.25);
        const PrintJob planned = planPrintJob(ticks({1, 3}), paper);
        const PrintJob job = coversTogether(planned, room);
        ASSERT_EQ(job.pages.size(), 1u);
        ASSERT_EQ(job.pages[0].covers.size(), 2u);
        EXPECT_EQ(job.pages[0].covers[0].kind, 3) << "largest first";
        EXPECT_EQ(job.question, planned.question);
        expectApartInsideTheRoom(job, room(job.pages[0].paper, job.pages[0].orientation), "front and back");

        const PrintJob set = coversTogether(planPrintJob(ticks({1, 2, 3}), paper), room);
        ASSERT_EQ(set.pages.size(), 2u) << "three covers do not fit one sheet";
        EXPECT_EQ(set.pages[0].covers.size() + set.pages[1].covers.size(), 3u);
        expectApartInsideTheRoom(set, room(set.pages[0].paper, set.pages[0].orientation), "the cd set");
    }
}

TEST(CoversTogether, ASmallKindIsRepeatedAsFarAsTheRoomGoesAndALargeOneStaysAlone) {
    const PrintJob mini = coversTogether(planPrintJob(ticks({5})), roomWithMargins(0.25));
    ASSERT_EQ(mini.pages.size(), 1u);
    EXPECT_EQ(mini.pages[0].covers.size(), 4u) << "two by two on Letter sideways";
    expectApartInsideTheRoom(mini, roomWithMargins(0.25)(Paper::Letter, Orientation::Landscape), "four mini cds");
    EXPECT_EQ(coversTogether(planPrintJob(ticks({5})), roomWithMargins(0)).pages[0].covers.size(), 6u)
        << "three in a row without margins";
    EXPECT_TRUE(same(coversTogether(planPrintJob(ticks({1})), roomWithMargins(0.25)), planPrintJob(ticks({1}))))
        << "a front card alone is not repeated";
    const PrintJob psp = coversTogether(planPrintJob(ticks({6})), roomWithMargins(0));
    EXPECT_EQ(psp.pages[0].covers.size(), 1u) << "one PSP cover fills Letter sideways";
    const PrintJob dvd = coversTogether(planPrintJob(ticks({4})), roomWithMargins(0.25));
    EXPECT_TRUE(same(dvd, planPrintJob(ticks({4}))));
    // A room smaller than the cover: the cover still prints, alone at the corner.
    const PrintJob tight = coversTogether(planPrintJob(ticks({1, 3})), [](Paper, Orientation) {
        return LengthSize{Length::fromInches(3), Length::fromInches(3)};
    });
    ASSERT_EQ(tight.pages.size(), 2u);
    EXPECT_EQ(tight.pages[1].covers.front().rect.left, Length());
}
