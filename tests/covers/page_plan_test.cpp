// The page plan: each single kind's page and printer steps, the order quirks (DS, the second
// jewel-case page, Letter after Legal), the jewel-case layouts by weight sum, and that every
// cover lies on its sheet.
#include "page_plan.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kavi {
// Readable steps in failure messages.
void PrintTo(const SetPaper& s, std::ostream* os) { *os << "paper " << printerCode(s.paper); }
void PrintTo(const SetOrientation& s, std::ostream* os) { *os << "orientation " << printerCode(s.orientation); }
void PrintTo(const DrawCover& s, std::ostream* os) {
    const LengthRect& r = s.cover.rect;
    *os << "draw " << s.cover.kind << " " << r.left.twips() << "," << r.top.twips() << " " << r.width.twips() << "x"
        << r.height.twips();
}
void PrintTo(const NewPage&, std::ostream* os) { *os << "new page"; }
void PrintTo(const EndDocument&, std::ostream* os) { *os << "end document"; }
} // namespace kavi

using namespace kavi;

namespace {

KindFlags ticks(const std::vector<int>& kinds) {
    KindFlags t{};
    for (int n : kinds) t[std::size_t(n - 1)] = true;
    return t;
}

DrawCover drawAt(int kind, Length top) {
    const LengthSize size = coverKind(kind).printSize;
    return {{kind, {Length(), top, size.width, size.height}}};
}

const Length kTop;
using Steps = std::vector<PrintStep>;

} // namespace

TEST(PagePlan, DvdAndDsStepsInTheirOrder) {
    EXPECT_EQ(printSteps(planPrintJob(ticks({4}))),
              (Steps{SetPaper{Paper::Legal}, SetOrientation{Orientation::Landscape}, drawAt(4, kTop), EndDocument{},
                     SetPaper{Paper::Letter}}));
    // DS sets the orientation before the paper.
    const PrintJob ds = planPrintJob(ticks({7}));
    EXPECT_EQ(printSteps(ds), (Steps{SetOrientation{Orientation::Landscape}, SetPaper{Paper::Legal}, drawAt(7, kTop),
                                     EndDocument{}, SetPaper{Paper::Letter}}));
    EXPECT_EQ(ds.pages.at(0).covers.at(0).rect.size(), LengthSize::fromTwips(15652.8, 6580.8));
}

TEST(PagePlan, EverySingleKindPrintsAloneOnItsOwnPaperAtTheTopLeft) {
    for (int kind = 4; kind <= 10; ++kind) {
        const CoverKind& k = coverKind(kind);
        const PrintJob job = planPrintJob(ticks({kind}));
        ASSERT_EQ(job.pages.size(), 1u) << kind;
        const PlannedPage& page = job.pages[0];
        EXPECT_EQ(page.paper, k.paper) << kind;
        EXPECT_EQ(page.orientation, Orientation::Landscape) << kind;
        EXPECT_EQ(page.covers, (std::vector<PlacedCover>{drawAt(kind, kTop).cover})) << kind;
        const bool legal = k.paper == Paper::Legal;
        EXPECT_EQ(job.question, legal ? PaperQuestion::LegalPaper : PaperQuestion::FullOfPaper) << kind;

        const Steps steps = printSteps(job);
        Steps settings = {SetPaper{k.paper}, SetOrientation{Orientation::Landscape}};
        if (kind == 7) std::swap(settings[0], settings[1]);
        Steps expected = settings;
        expected.insert(expected.end(), {drawAt(kind, kTop), EndDocument{}});
        if (legal) expected.push_back(SetPaper{Paper::Letter});
        EXPECT_EQ(steps, expected) << kind;
    }
}

TEST(PagePlan, TheFirstTickedSingleKindWinsButEveryTickChoosesTheQuestion) {
    // The selection rules never allow these, but the plan must still be the print command's.
    const PrintJob job = planPrintJob(ticks({1, 8, 5, 9}));
    ASSERT_EQ(job.pages.size(), 1u);
    EXPECT_EQ(job.pages[0].covers.at(0).kind, 5);
    EXPECT_EQ(job.question, PaperQuestion::LegalPaper) << "SLIM is ticked though Mini CD prints";
    EXPECT_FALSE(job.paperAfterJob) << "Mini CD prints on Letter";
}

TEST(PagePlan, JewelCaseSumsChooseTheLayout) {
    struct Layout { std::vector<int> ticked; std::vector<std::vector<int>> pages; };
    const std::vector<Layout> layouts = {
        {{1}, {{1}}}, {{2}, {{2}}}, {{1, 2}, {{1, 2}}}, {{3}, {{3}}},
        {{1, 3}, {{1, 3}}}, {{2, 3}, {{2, 3}}}, {{1, 2, 3}, {{1, 2}, {3}}},
    };
    for (const Layout& layout : layouts) {
        const PrintJob job = planPrintJob(ticks(layout.ticked));
        EXPECT_EQ(job.question, PaperQuestion::FullOfPaper);
        EXPECT_FALSE(job.paperAfterJob);
        ASSERT_EQ(job.pages.size(), layout.pages.size());
        for (std::size_t p = 0; p < job.pages.size(); ++p) {
            const PlannedPage& page = job.pages[p];
            EXPECT_EQ(page.paper, Paper::Letter);
            EXPECT_EQ(page.orientation, Orientation::Portrait);
            ASSERT_EQ(page.covers.size(), layout.pages[p].size());
            for (std::size_t c = 0; c < page.covers.size(); ++c)
                EXPECT_EQ(page.covers[c], drawAt(layout.pages[p][c], c == 0 ? kTop : kSecondCoverTop).cover);
            // A second cover sits 723 twips (about half an inch) below a first cover.
            if (page.covers.size() == 2) {
                EXPECT_EQ(page.covers[1].rect.top - page.covers[0].rect.bottom(), Length::fromTwips(723));
            }
        }
    }
    const PrintJob none = planPrintJob(ticks({}));
    EXPECT_TRUE(none.pages.empty());
    EXPECT_TRUE(printSteps(none).empty());
}

TEST(PagePlan, AllThreeJewelCaseCoversMakeOneJobOfTwoPages) {
    EXPECT_EQ(printSteps(planPrintJob(ticks({1, 2, 3}))),
              (Steps{SetPaper{Paper::Letter}, SetOrientation{Orientation::Portrait}, drawAt(1, kTop),
                     drawAt(2, kSecondCoverTop), NewPage{}, SetOrientation{Orientation::Portrait}, drawAt(3, kTop),
                     EndDocument{}}));
}

TEST(PagePlan, EveryCoverOfEveryTickCombinationLiesOnItsSheet) {
    for (unsigned mask = 0; mask < (1u << kCoverKindCount); ++mask) {
        KindFlags t{};
        for (int n = 0; n < kCoverKindCount; ++n) t[std::size_t(n)] = (mask >> n) & 1u;
        for (const PlannedPage& page : planPrintJob(t).pages)
            for (const PlacedCover& cover : page.covers) {
                EXPECT_LE(cover.rect.right(), page.sheet().width) << "mask " << mask << " kind " << cover.kind;
                EXPECT_LE(cover.rect.bottom(), page.sheet().height) << "mask " << mask << " kind " << cover.kind;
            }
    }
}
