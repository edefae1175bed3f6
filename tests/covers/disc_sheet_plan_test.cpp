// SPDX-License-Identifier: GPL-3.0-or-later
// Disc labels on stock from a starting label over several sheets, and letters placed on a disc's arcs.
#include "covers/disc_geometry.h"
#include "covers/disc_sheet_plan.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kavi {
namespace {

DiscLabelStock twoUp() {
    DiscLabelStock s;
    s.brand = "Test";
    s.part = "Two";
    s.outerRadius = Length::fromMillimetres(58.5);
    s.holeRadius = Length::fromMillimetres(20.5);
    s.centres = {{Length::fromInches(4.25), Length::fromInches(3)}, {Length::fromInches(4.25), Length::fromInches(8)}};
    return s;
}

TEST(DiscSheetPlan, CopiesStartAtTheChosenLabelAndGoOnToNewSheetsFromTheirFirst) {
    const DiscSheetPlan plan = planDiscLabels(twoUp(), 2, 4);
    ASSERT_TRUE(plan.error.empty()) << plan.error;
    ASSERT_EQ(plan.places.size(), 4u);
    EXPECT_EQ(plan.sheets, 3);
    const int expected[][2] = {{0, 1}, {1, 0}, {1, 1}, {2, 0}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(plan.places[i].sheet, expected[i][0]) << i;
        EXPECT_EQ(plan.places[i].label, expected[i][1]) << i;
        EXPECT_EQ(plan.places[i].centre, twoUp().centres[std::size_t(expected[i][1])]) << i;
    }
    EXPECT_EQ(planDiscLabels(twoUp(), 1, 2).sheets, 1);

    for (auto [start, copies] : {std::pair{0, 1}, {3, 1}, {-1, 1}, {1, 0}, {2, -5}}) {
        const DiscSheetPlan refused = planDiscLabels(twoUp(), start, copies);
        EXPECT_FALSE(refused.error.empty()) << start << " " << copies;
        EXPECT_TRUE(refused.places.empty());
    }
    EXPECT_FALSE(planDiscLabels(DiscLabelStock{}, 1, 1).error.empty());
}

TEST(DiscSheetPlan, LettersSitOnTheCircleReadingLeftToRightAlongTopAndBottom) {
    const Length radius = Length::fromMillimetres(50);
    const std::vector<Length> advances(7, Length::fromMillimetres(6));
    for (ArcSide side : {ArcSide::Top, ArcSide::Bottom}) {
        const std::vector<ArcLetter> letters = placeOnArc(advances, radius, side);
        ASSERT_EQ(letters.size(), advances.size());
        for (std::size_t i = 0; i < letters.size(); ++i) {
            const ArcLetter& l = letters[i];
            EXPECT_NEAR(std::hypot(l.middle.x.millimetres(), l.middle.y.millimetres()), 50, 1e-9);
            if (side == ArcSide::Top) EXPECT_LT(l.middle.y, Length()) << "a top letter below the centre";
            else EXPECT_GT(l.middle.y, Length()) << "a bottom letter above the centre";
            if (i > 0) {
                EXPECT_GT(l.middle.x, letters[i - 1].middle.x) << "not left to right";
                // Along the top the letters turn clockwise as the text goes right, along the bottom anticlockwise.
                if (side == ArcSide::Top) EXPECT_GT(l.turnDegrees, letters[i - 1].turnDegrees);
                else EXPECT_LT(l.turnDegrees, letters[i - 1].turnDegrees);
            }
        }
        // The run is centred: the middle letter stands upright at the top or bottom, the ends mirror each other.
        EXPECT_NEAR(letters[3].turnDegrees, 0, 1e-9);
        EXPECT_NEAR(letters[3].middle.x.millimetres(), 0, 1e-9);
        EXPECT_NEAR(letters[0].turnDegrees, -letters[6].turnDegrees, 1e-9);
        // Neighbouring letters are one advance apart along the arc: 6 mm of a 50 mm radius.
        EXPECT_NEAR(std::abs(letters[1].turnDegrees - letters[0].turnDegrees), 6.0 / 50 * 180 / M_PI, 1e-9);
    }
    EXPECT_TRUE(placeOnArc(advances, Length(), ArcSide::Top).empty());
}

} // namespace
} // namespace kavi

namespace kavi {
namespace {

TEST(DiscGeometry, OwnSizesWithinBoundsAndGuidesOutsideTheRing) {
    const auto mm = [](double v) { return Length::fromMillimetres(v); };
    for (const DiscPreset& p : kDiscPresets) EXPECT_EQ(discGeometryError(p.geometry), "") << p.name;
    EXPECT_EQ(discGeometryError({mm(20), mm(0)}), "");
    EXPECT_EQ(discGeometryError({mm(130), mm(129.9)}), "");
    for (DiscGeometry bad : {DiscGeometry{mm(19.9), mm(5)},
                             {mm(130.1), mm(41)},
                             {mm(117), mm(117)},
                             {mm(117), mm(-1)},
                             {Length::fromTwips(NAN), mm(41)}})
        EXPECT_NE(discGeometryError(bad), "") << bad.outer.millimetres() << " " << bad.hole.millimetres();
    EXPECT_NE(discGeometryError({mm(140), mm(41)}).find("140 mm"), std::string::npos);

    // Guides of a Mini Disc ring off the page's corner: each 5 mm long, starting 1.5 mm beyond the ring,
    // in line with the centre, one on each side.
    const LengthPoint centre{mm(60), mm(70)};
    const std::vector<MarkLine> guides = discCutGuides(kMiniDiscLabel, centre);
    ASSERT_EQ(guides.size(), 4u);
    int above = 0, below = 0, left = 0, right = 0;
    for (const MarkLine& g : guides) {
        const double dx0 = (g.from.x - centre.x).millimetres(), dy0 = (g.from.y - centre.y).millimetres();
        const double dx1 = (g.to.x - centre.x).millimetres(), dy1 = (g.to.y - centre.y).millimetres();
        const double r0 = std::hypot(dx0, dy0), r1 = std::hypot(dx1, dy1);
        EXPECT_NEAR(std::min(r0, r1), 39 + 1.5, 1e-9);
        EXPECT_NEAR(std::max(r0, r1), 39 + 1.5 + 5, 1e-9);
        EXPECT_TRUE((dx0 == 0 && dx1 == 0) || (dy0 == 0 && dy1 == 0)) << "a guide not pointing at the centre";
        above += dy0 < 0;
        below += dy0 > 0;
        left += dx0 < 0;
        right += dx0 > 0;
    }
    EXPECT_EQ(above + below + left + right, 4);
    EXPECT_TRUE(above == 1 && below == 1 && left == 1 && right == 1);
}

} // namespace
} // namespace kavi
