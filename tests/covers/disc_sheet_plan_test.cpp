// SPDX-License-Identifier: GPL-3.0-or-later
// Disc labels on stock from a starting label over several sheets, and letters placed on a disc's arcs.
#include "disc_sheet_plan.h"

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
