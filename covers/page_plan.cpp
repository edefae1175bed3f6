// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/page_plan.h"

#include <algorithm>

namespace kavi {

namespace {

// The jewel-case layouts by the sum of the ticked kinds' weights: the kinds of each page, top to
// bottom.
std::vector<std::vector<int>> jewelCaseLayout(int weightSum) {
    switch (weightSum) {
    case 5: return {{1}};
    case 10: return {{2}};
    case 15: return {{1, 2}};
    case 20: return {{3}};
    case 25: return {{1, 3}};
    case 30: return {{2, 3}};
    case 35: return {{1, 2}, {3}};
    default: return {};
    }
}

// A page of covers at the left edge, the first at the top and each further one kSecondCoverTop
// lower; the page takes the paper and orientation of its first kind.
PlannedPage stackedPage(const std::vector<int>& kinds) {
    const CoverKind& first = coverKind(kinds.front());
    PlannedPage page{first.paper, first.orientation, {}};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const LengthSize size = coverKind(kinds[i]).printSize;
        page.covers.push_back({kinds[i], {Length(), kSecondCoverTop * double(i), size.width, size.height}});
    }
    return page;
}

constexpr int kDs = 7, kHdDvd = 9, kBluRay = 10;

PrintJob planOnUsSizes(const KindFlags& ticked) {
    PrintJob job;
    int weightSum = 0;
    const CoverKind* single = nullptr;
    for (const CoverKind& kind : kCoverKinds) {
        if (!ticked[std::size_t(kind.number - 1)]) continue;
        if (kind.paper == Paper::Legal) job.question = PaperQuestion::LegalPaper;
        if (kind.group == CoverGroup::JewelCase) weightSum += kind.jewelWeight;
        else if (!single) single = &kind;
    }
    if (single) {
        job.pages.push_back(stackedPage({single->number}));
        job.orientationBeforePaper = single->orientationBeforePaper;
        if (single->paper == Paper::Legal) job.paperAfterJob = Paper::Letter;
        return job;
    }
    for (const std::vector<int>& kinds : jewelCaseLayout(weightSum)) job.pages.push_back(stackedPage(kinds));
    return job;
}

// A single kind's page moved onto Legal: the question asks for it and the paper goes back after.
void onLegal(PrintJob& job, Paper usual) {
    job.pages.front().paper = Paper::Legal;
    job.question = PaperQuestion::LegalPaper;
    job.paperAfterJob = usual;
}

bool isSingleKind(const PrintJob& job, std::initializer_list<int> kinds) {
    if (job.pages.size() != 1 || job.pages.front().covers.size() != 1) return false;
    const int kind = job.pages.front().covers.front().kind;
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

} // namespace

PrintJob planPrintJob(const KindFlags& ticked, PaperChoice paper, const SheetChoices& sheets) {
    PrintJob job = planOnUsSizes(ticked);
    if (paper == PaperChoice::LetterAndLegal) {
        if (sheets.hdAndBluRay == LongCaseSheet::Legal && isSingleKind(job, {kHdDvd, kBluRay}))
            onLegal(job, Paper::Letter);
        return job;
    }
    job.question = PaperQuestion::A4Paper;
    for (PlannedPage& page : job.pages) page.paper = Paper::A4;
    if (job.paperAfterJob) job.paperAfterJob = Paper::A4;
    if (sheets.dsOnA4 == DsSheetOnA4::Legal && isSingleKind(job, {kDs})) onLegal(job, Paper::A4);
    return job;
}

std::vector<PrintStep> printSteps(const PrintJob& job) {
    std::vector<PrintStep> steps;
    if (job.pages.empty()) return steps;
    const PlannedPage* previous = nullptr;
    for (const PlannedPage& page : job.pages) {
        if (!previous && job.orientationBeforePaper) {
            steps.push_back(SetOrientation{page.orientation});
            steps.push_back(SetPaper{page.paper});
        } else {
            if (previous) steps.push_back(NewPage{});
            if (!previous || previous->paper != page.paper) steps.push_back(SetPaper{page.paper});
            steps.push_back(SetOrientation{page.orientation});
        }
        for (const PlacedCover& cover : page.covers) steps.push_back(DrawCover{cover});
        previous = &page;
    }
    steps.push_back(EndDocument{});
    if (job.paperAfterJob) steps.push_back(SetPaper{*job.paperAfterJob});
    return steps;
}

} // namespace kavi
