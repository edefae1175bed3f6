// SPDX-License-Identifier: GPL-3.0-or-later
// The bleed: pictures that reach a cover's edge go past the cut line on those sides only, the
// marks start beyond it, covers put together keep their bleeds and marks apart, the fit check
// counts it, and without it every page is as before. The safe area: the margin and the folds.
#include "covers/covers_together.h"
#include "covers/page_render.h"
#include "covers/picture_fit.h"
#include "covers/print_choices.h"
#include "covers/safe_area.h"

#include "tests/covers/ticks.h"

#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::ticks;

namespace {

constexpr Length kBleed = bleedLength(Bleed::ThreeMillimetres);
constexpr double kTwip = 1e-6;

bool overlaps(const LengthRect& a, const LengthRect& b) {
    return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

LengthRect inkOf(const MarkLine& m) {
    const Length half = kMarkWidth / 2;
    const Length left = std::min(m.from.x, m.to.x) - half, top = std::min(m.from.y, m.to.y) - half;
    const Length right = std::max(m.from.x, m.to.x) + half, bottom = std::max(m.from.y, m.to.y) + half;
    return {left, top, right - left, bottom - top};
}

// The gap between a cover's bottom edge and the nearest end of the marks below it, in line with its
// right edge; none found gives 100 in.
Length gapBelow(const RenderedPage& page, const LengthRect& cover) {
    Length nearest = Length::fromInches(100);
    for (const MarkLine& m : page.marks) {
        const Length start = std::min(m.from.y, m.to.y);
        if (m.from.x == m.to.x && m.from.x == cover.right() && start >= cover.bottom())
            nearest = std::min(nearest, start - cover.bottom());
    }
    return nearest;
}

} // namespace

TEST(Bleed, PicturesGoPastTheCutLineOnlyOnTheSidesWhereTheyReachTheEdge) {
    const LengthRect cover{Length::fromTwips(1440), Length::fromTwips(720), Length::fromTwips(15390),
                           Length::fromTwips(10260)};
    const LengthRect withBleed = grownBy(cover, kBleed);
    // Stretch: over the cover grown by the bleed, nothing to cut off.
    EXPECT_EQ(fitPicture(cover, 400, 300, FitMode::Stretch, kBleed), (PictureOnPage{withBleed, std::nullopt}));
    EXPECT_EQ(fitPicture(cover, 0, 0, FitMode::Fit, kBleed).picture, withBleed) << "no size: stretched";
    // Fill: the grown rectangle filled, cut off at it, centred on the cover.
    const PictureOnPage fill = fitPicture(cover, 400, 100, FitMode::Fill, kBleed);
    ASSERT_TRUE(fill.clip);
    EXPECT_EQ(*fill.clip, withBleed);
    EXPECT_NEAR(fill.picture.top.twips(), withBleed.top.twips(), kTwip);
    EXPECT_NEAR(fill.picture.height.twips(), withBleed.height.twips(), kTwip);
    EXPECT_NEAR((fill.picture.left + fill.picture.width / 2).twips(), (cover.left + cover.width / 2).twips(), kTwip);
    // Fit of a wide picture touches the left and right edges only: it reaches the bleed there and
    // stays inside the cover above and below; a tall one the other way round.
    const PictureOnPage wide = fitPicture(cover, 400, 100, FitMode::Fit, kBleed);
    EXPECT_NEAR(wide.picture.left.twips(), withBleed.left.twips(), kTwip);
    EXPECT_NEAR(wide.picture.right().twips(), withBleed.right().twips(), kTwip);
    EXPECT_GT(wide.picture.top, cover.top);
    EXPECT_LT(wide.picture.bottom(), cover.bottom());
    EXPECT_NEAR(wide.picture.width / wide.picture.height, 4.0, 1e-9) << "proportions kept";
    EXPECT_FALSE(wide.clip);
    const PictureOnPage tall = fitPicture(cover, 100, 400, FitMode::Fit, kBleed);
    EXPECT_NEAR(tall.picture.top.twips(), withBleed.top.twips(), kTwip);
    EXPECT_NEAR(tall.picture.bottom().twips(), withBleed.bottom().twips(), kTwip);
    EXPECT_GT(tall.picture.left, cover.left);
    EXPECT_LT(tall.picture.right(), cover.right());
    // Without bleed, exactly the placing of before, for every mode.
    for (FitMode mode : {FitMode::Stretch, FitMode::Fill, FitMode::Fit})
        EXPECT_EQ(fitPicture(cover, 400, 100, mode, Length()), fitPicture(cover, 400, 100, mode));
}

TEST(Bleed, MarksStartBeyondTheBleedOnAPageOfTwoCoversPlacedAtTheCorner) {
    const PlannedPage page = planPrintJob(ticks({1, 2})).pages.at(0); // Front above Inside
    const LengthRect printable{Length::fromInches(0.25), Length::fromInches(0.3), Length::fromInches(8),
                               Length::fromInches(10.6)};
    PageOptions options{Placement::AtPrintableCorner, printable, true, {}, {}};
    options.pictures[0] = {400, 100, FitMode::Fill};
    const RenderedPage plain = renderPage(page, options);
    options.bleed = kBleed;
    const RenderedPage bled = renderPage(page, options);
    ASSERT_EQ(bled.covers.size(), 2u);
    ASSERT_EQ(bled.bleedRects.size(), 2u);
    // The bleed's edge lies at the printable corner; the covers keep their places to each other.
    EXPECT_NEAR(bled.bleedRects[0].left.twips(), printable.left.twips(), kTwip);
    EXPECT_NEAR(bled.bleedRects[0].top.twips(), printable.top.twips(), kTwip);
    EXPECT_NEAR((bled.covers[1].rect.top - bled.covers[0].rect.top).twips(),
                (plain.covers[1].rect.top - plain.covers[0].rect.top).twips(), kTwip);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(bled.bleedRects[i], grownBy(bled.covers[i].rect, kBleed));
        EXPECT_EQ(plain.bleedRects[i], plain.covers[i].rect);
        EXPECT_NEAR((bled.covers[i].rect.left - plain.covers[i].rect.left).twips(), kBleed.twips(), kTwip);
    }
    EXPECT_FALSE(overlaps(bled.bleedRects[0], bled.bleedRects[1]));
    ASSERT_FALSE(bled.marks.empty());
    for (const MarkLine& m : bled.marks)
        for (const LengthRect& r : bled.bleedRects) EXPECT_FALSE(overlaps(inkOf(m), r)) << "a mark on a bleed";
    // The marks below the Inside card start the bleed and the usual gap away from it.
    EXPECT_NEAR(gapBelow(bled, bled.covers[1].rect).millimetres(), (kBleed + kMarkGap).millimetres(), 1e-6);
    EXPECT_NEAR(gapBelow(plain, plain.covers[1].rect).millimetres(), kMarkGap.millimetres(), 1e-6);
    // No overhang: the printable area holds the covers with their bleeds.
    EXPECT_TRUE(bled.overhangs.empty());
}

TEST(Bleed, CoversTogetherKeepTheirBleedsAndMarksApartAndTheFitCheckCountsTheBleed) {
    const auto room = [](Paper, Orientation) { return LengthSize{Length::fromInches(8), Length::fromInches(10.5)}; };
    const PrintJob packed = coversTogether(planPrintJob(ticks({1, 2, 3})), room, kBleed);
    EXPECT_NEAR(gapBetweenCovers(kBleed).twips(), (gapBetweenCovers() + kBleed * 2).twips(), kTwip);
    const LengthRect sheetArea{Length(), Length(), Length::fromInches(8.5), Length::fromInches(11)};
    int covers = 0;
    for (const PlannedPage& page : packed.pages) {
        PageOptions options{Placement::MovedInForMarks, sheetArea, true, {}, {}};
        options.bleed = kBleed;
        const RenderedPage rendered = renderPage(page, options);
        covers += int(rendered.covers.size());
        for (std::size_t i = 0; i < rendered.bleedRects.size(); ++i)
            for (std::size_t j = i + 1; j < rendered.bleedRects.size(); ++j)
                EXPECT_FALSE(overlaps(rendered.bleedRects[i], rendered.bleedRects[j])) << i << " and " << j;
        for (const MarkLine& m : rendered.marks)
            for (const LengthRect& r : rendered.bleedRects) EXPECT_FALSE(overlaps(inkOf(m), r));
        EXPECT_EQ(rendered.marksOutsidePrintable, 0);
    }
    EXPECT_EQ(covers, 3);

    // An HD-DVD cover (10.5 in wide) on a printable area exactly as wide fits without bleed; with
    // it, the bleed at the corner pushes the cover and its right bleed out, and centred only the
    // bleeds are lost.
    const PlannedPage hd = planPrintJob(ticks({9})).pages.at(0);
    const LengthRect exact{Length::fromInches(0.25), Length::fromInches(0.25), Length::fromInches(10.5),
                           Length::fromInches(8)};
    PageOptions options{Placement::AtPrintableCorner, exact, false, {}, {}};
    EXPECT_TRUE(renderPage(hd, options).overhangs.empty());
    options.bleed = kBleed;
    const std::vector<Overhang> atCorner = renderPage(hd, options).overhangs;
    ASSERT_EQ(atCorner.size(), 1u);
    EXPECT_EQ(atCorner[0].side, Side::Right);
    EXPECT_NEAR(atCorner[0].amount.millimetres(), 6, 1e-6);
    options.placement = Placement::CentredOnSheet;
    const std::vector<Overhang> centred = renderPage(hd, options).overhangs;
    ASSERT_EQ(centred.size(), 2u);
    EXPECT_EQ(centred[0].side, Side::Left);
    EXPECT_NEAR(centred[1].amount.millimetres(), 3, 1e-6);
}

TEST(SafeArea, ATextCrossingTheMarginAndOneCrossingTheFoldOfADvdAreMeasuredInMillimetres) {
    const SafeArea dvd = safeAreaOf(4, kDefaultSafeMargin);
    const Length mm = Length::fromMillimetres(1);
    EXPECT_NEAR(dvd.inside.left.millimetres(), 3, 1e-9);
    EXPECT_NEAR((dvd.cover.width - dvd.inside.right()).millimetres(), 3, 1e-9);
    ASSERT_EQ(dvd.folds.size(), 2u);
    // A title 1.2 mm into the margin at the bottom of the front, clear of the folds.
    const Length frontLeft = dvd.folds[1] + mm * 10;
    const LengthRect title{frontLeft, dvd.cover.height - mm * 1.8 - mm * 20, mm * 80, mm * 20};
    const SafeAreaCrossing low = safeAreaCrossing(dvd, title);
    EXPECT_NEAR(low.pastMargin.millimetres(), 1.2, 1e-9);
    EXPECT_EQ(low.acrossFold, Length());
    EXPECT_EQ(safeAreaLines("The title", low),
              std::vector<std::string>{"The title crosses the safe margin by 1.2 mm."});
    // A box from the back that runs 2 mm over the spine's first fold; the smaller side counts.
    const LengthRect box{dvd.folds[0] - mm * 30, mm * 40, mm * 32, mm * 10};
    const SafeAreaCrossing fold = safeAreaCrossing(dvd, box);
    EXPECT_EQ(fold.pastMargin, Length());
    EXPECT_NEAR(fold.acrossFold.millimetres(), 2, 1e-9);
    EXPECT_EQ(safeAreaLines("Box 1", fold), std::vector<std::string>{"Box 1 crosses the fold by 2.0 mm."});
    // Inside the margin and between the folds: nothing; a larger margin catches the title sooner.
    const LengthRect clear{frontLeft, mm * 20, mm * 50, mm * 10};
    EXPECT_FALSE(safeAreaCrossing(dvd, clear).crosses());
    EXPECT_TRUE(safeAreaLines("The title", safeAreaCrossing(dvd, clear)).empty());
    EXPECT_NEAR(safeAreaCrossing(safeAreaOf(4, mm * 25), clear).pastMargin.millimetres(), 0, 1e-9)
        << "a margin over 20 mm counts as 20";
    EXPECT_NEAR(safeAreaCrossing(safeAreaOf(4, mm * 21), title).pastMargin.millimetres(), 18.2, 1e-9);
    EXPECT_NEAR(safeAreaOf(4, -mm).inside.left.millimetres(), 0, 1e-9) << "a negative margin counts as none";
    // The CD back card folds 6.5 mm in from each end; a Front card has no folds.
    EXPECT_NEAR(safeAreaOf(3, kDefaultSafeMargin).folds.at(0).millimetres(), 6.5, 1e-9);
    EXPECT_TRUE(safeAreaOf(1, kDefaultSafeMargin).folds.empty());
}
