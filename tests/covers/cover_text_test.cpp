// SPDX-License-Identifier: GPL-3.0-or-later
// Where cover text goes: which texts a kind shows, the spine text turned and held to the spine's
// middle, and the box a measured text fills, upright and turned.
#include "covers/cover_kinds.h"
#include "covers/cover_text.h"

#include <gtest/gtest.h>

using namespace kavi;

namespace {

constexpr int kFront = 1, kBack = 3, kDvd = 4, kMini = 5, kSlim = 8, kBlu = 10;

void expectNear(Length a, Length b, const char* what) { EXPECT_NEAR(a.twips(), b.twips(), 1e-6) << what; }

} // namespace

TEST(CoverText, OnlyTheWrapAroundKindsHaveASpine) {
    for (int kind : {4, 6, 7, 8, 9, 10}) EXPECT_TRUE(hasSpine(kind)) << kind;
    for (int kind : {kFront, 2, kBack, kMini}) EXPECT_FALSE(hasSpine(kind)) << kind;
    EXPECT_NEAR(spineWidthOf(kDvd).millimetres(), 14, 1e-9);
    EXPECT_NEAR(spineWidthOf(kSlim).millimetres(), 7, 1e-9);
    EXPECT_FALSE(hasSpine(0));
    EXPECT_FALSE(hasSpine(11));
}

TEST(CoverText, EmptyTextsAreLeftOutAndTheSpineShowsOnlyWhereThereIsOne) {
    CoverText text = emptyCoverText(kDvd);
    EXPECT_FALSE(text.hasText());
    EXPECT_TRUE(placeCoverText(kDvd, text).empty());
    text.title.text = "Title";
    text.spine.text = "Spine";
    text.boxes.push_back({"Box", {}, {Length::fromInches(1), Length::fromInches(2)}});
    const std::vector<PlacedText> dvd = placeCoverText(kDvd, text);
    ASSERT_EQ(dvd.size(), 3u);
    EXPECT_EQ(dvd[0].text, "Title");
    EXPECT_FALSE(dvd[0].turned);
    EXPECT_EQ(dvd[1].text, "Spine");
    EXPECT_TRUE(dvd[1].turned);
    EXPECT_EQ(dvd[2].text, "Box");
    const std::vector<PlacedText> mini = placeCoverText(kMini, text);
    ASSERT_EQ(mini.size(), 2u) << "a Mini CD cover has no spine to carry its spine text";
    EXPECT_EQ(mini[1].text, "Box");
}

TEST(CoverText, SpineTextIsHeldToTheSpinesMiddleWhereverItWasPut) {
    for (int kind : {kDvd, kSlim, kBlu}) {
        CoverText text = emptyCoverText(kind);
        text.spine.text = "Along the spine";
        text.spine.anchor = {Length::fromInches(0.3), Length::fromInches(2)}; // dragged off the spine
        const std::vector<PlacedText> placed = placeCoverText(kind, text);
        ASSERT_EQ(placed.size(), 1u);
        expectNear(placed[0].anchor.x, coverKind(kind).printSize.width / 2, "across: the middle of the spine");
        expectNear(placed[0].anchor.y, Length::fromInches(2), "along: where it was put");
    }
}

TEST(CoverText, AMeasuredTextFillsItsBoxByItsAlignment) {
    PlacedText text{"x", {}, {Length::fromInches(3), Length::fromInches(2)}, false};
    const LengthSize measured{Length::fromInches(2), Length::fromInches(0.5)};
    const Length margin = Length::fromInches(0.1);
    text.style.align = TextAlign::Left;
    LengthRect r = textBoxOnCover(text, measured, margin);
    expectNear(r.left, Length::fromInches(2.9), "left: the letters start at the anchor");
    expectNear(r.top, Length::fromInches(1.65), "the lines' middle at the anchor");
    expectNear(r.width, Length::fromInches(2.2), "width with margins");
    expectNear(r.height, Length::fromInches(0.7), "height with margins");
    text.style.align = TextAlign::Centre;
    r = textBoxOnCover(text, measured, margin);
    expectNear(r.left + r.width / 2, Length::fromInches(3), "centre");
    text.style.align = TextAlign::Right;
    r = textBoxOnCover(text, measured, margin);
    expectNear(r.right(), Length::fromInches(3.1), "right: the letters end at the anchor");
}

TEST(CoverText, TurnedTextRunsDownTheCoverAcrossItsAnchor) {
    PlacedText text{"x", {}, {Length::fromInches(5), Length::fromInches(1)}, true};
    text.style.align = TextAlign::Left;
    const LengthRect r = textBoxOnCover(text, {Length::fromInches(3), Length::fromInches(0.25)}, Length());
    expectNear(r.left, Length::fromInches(4.875), "centred across the anchor");
    expectNear(r.width, Length::fromInches(0.25), "the lines' height is now the width");
    expectNear(r.top, Length::fromInches(1), "reading from top to bottom, from the anchor");
    expectNear(r.height, Length::fromInches(3), "the lines' length runs down");
}

TEST(CoverText, AnOverhangIsTheFarthestTheInkReachesPastAnyEdge) {
    const LengthSize cover{Length::fromInches(5), Length::fromInches(4)};
    const auto ink = [](double left, double top, double width, double height) {
        return LengthRect{Length::fromInches(left), Length::fromInches(top), Length::fromInches(width),
                          Length::fromInches(height)};
    };
    expectNear(overhangPastCover(ink(0, 0, 5, 4), cover), Length(), "touching every edge is not past them");
    expectNear(overhangPastCover(ink(4, 1, 1.25, 1), cover), Length::fromInches(0.25), "right");
    expectNear(overhangPastCover(ink(-0.5, 1, 1, 1), cover), Length::fromInches(0.5), "left");
    expectNear(overhangPastCover(ink(1, -0.1, 1, 1), cover), Length::fromInches(0.1), "top");
    expectNear(overhangPastCover(ink(1, 3.5, 1, 0.75), cover), Length::fromInches(0.25), "bottom");
    // Past two edges, the farther counts: a turned text longer than the cover is tall.
    expectNear(overhangPastCover(ink(2, -0.2, 0.3, 4.7), cover), Length::fromInches(0.5), "the farther of two");
    expectNear(overhangPastCover(LengthRect{}, cover), Length(), "no ink");
}
