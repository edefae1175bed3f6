// SPDX-License-Identifier: GPL-3.0-or-later
// The page plan: the single kinds' steps with the DS order and Letter after Legal, and the
// jewel-case layouts by weight sum.
#include "covers/page_plan.h"

#include "tests/covers/ticks.h"

#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::ticks;

namespace {

// The kind's cover at the left edge, `top` down.
PlacedCover placed(int kind, Length top) {
    const LengthSize size = coverKind(kind).printSize;
    return {kind, {Length(), top, size.width, size.height}};
}

using Steps = std::vector<PrintStep>;

} // namespace

TEST(PagePlan, EachSingleKindAloneWithItsSettingsInOrder) {
    for (int kind = 4; kind <= 10; ++kind) {
        const CoverKind& k = coverKind(kind);
        const bool legal = k.paper == Paper::Legal;
        const PrintJob job = planPrintJob(ticks({kind}));
        EXPECT_EQ(job.question, legal ? PaperQuestion::LegalPaper : PaperQuestion::FullOfPaper) << kind;
        Steps expected = {SetPaper{k.paper}, SetOrientation{Orientation::Landscape}, DrawCover{placed(kind, {})},
                          EndDocument{}};
        if (kind == 7) std::swap(expected[0], expected[1]); // DS: orientation first
        if (legal) expected.push_back(SetPaper{Paper::Letter});
        EXPECT_EQ(printSteps(job), expected) << kind;
    }
    // The rules never allow two kinds, but the first single one prints; every tick counts for the question.
    const PrintJob job = planPrintJob(ticks({1, 8, 5, 9}));
    EXPECT_EQ(job.pages.at(0).covers, std::vector<PlacedCover>{placed(5, {})});
    EXPECT_EQ(job.question, PaperQuestion::LegalPaper);
}

TEST(PagePlan, JewelCaseSumsChooseTheLayout) {
    const std::vector<std::pair<std::vector<int>, std::vector<std::vector<int>>>> layouts = {
        {{1}, {{1}}},       {{2}, {{2}}},       {{1, 2}, {{1, 2}}},         {{3}, {{3}}},
        {{1, 3}, {{1, 3}}}, {{2, 3}, {{2, 3}}}, {{1, 2, 3}, {{1, 2}, {3}}},
    };
    for (const auto& [ticked, pages] : layouts) {
        const PrintJob job = planPrintJob(ticks(ticked));
        ASSERT_EQ(job.pages.size(), pages.size());
        for (std::size_t p = 0; p < pages.size(); ++p) {
            EXPECT_TRUE(job.pages[p].paper == Paper::Letter && job.pages[p].orientation == Orientation::Portrait);
            const std::vector<PlacedCover>& covers = job.pages[p].covers;
            ASSERT_EQ(covers.size(), pages[p].size());
            EXPECT_EQ(covers[0], placed(pages[p][0], {}));
            // A second cover sits 723 twips (about half an inch) below the first one's bottom.
            if (covers.size() == 2) {
                EXPECT_EQ(covers[1], placed(pages[p][1], covers[0].rect.bottom() + Length::fromTwips(723)));
            }
        }
    }
    EXPECT_EQ(printSteps(planPrintJob(ticks({1, 2, 3}))),
              (Steps{SetPaper{Paper::Letter}, SetOrientation{Orientation::Portrait}, DrawCover{placed(1, {})},
                     DrawCover{placed(2, kSecondCoverTop)}, NewPage{}, SetOrientation{Orientation::Portrait},
                     DrawCover{placed(3, {})}, EndDocument{}}));
    EXPECT_TRUE(printSteps(planPrintJob(ticks({}))).empty());
}
