// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/covers_together.h"

#include "covers/page_geometry.h"

#include <algorithm>

namespace kavi {

namespace {

double area(const LengthSize& s) { return s.width.twips() * s.height.twips(); }

// One row of covers on a sheet: where it starts, how high its tallest cover is, and where the next
// cover would go.
struct Row {
    Length top, height, nextLeft;
};

struct Sheet {
    PlannedPage page;
    std::vector<Row> rows;
};

// Puts the cover on the sheet when it fits: beside the covers of a row that is high enough (the
// last row may grow while the room below allows), or in a new row below. False when it does not fit.
bool place(Sheet& sheet, int kind, const LengthSize& size, const LengthSize& room, Length gap) {
    for (std::size_t i = 0; i < sheet.rows.size(); ++i) {
        Row& row = sheet.rows[i];
        const bool last = i + 1 == sheet.rows.size();
        const bool highEnough = size.height <= row.height || (last && row.top + size.height <= room.height);
        if (!highEnough || row.nextLeft + size.width > room.width) continue;
        sheet.page.covers.push_back({kind, {row.nextLeft, row.top, size.width, size.height}});
        row.nextLeft += size.width + gap;
        row.height = std::max(row.height, size.height);
        return true;
    }
    const Length top = sheet.rows.empty() ? Length() : sheet.rows.back().top + sheet.rows.back().height + gap;
    // An empty sheet takes any cover: one too large for every sheet gets one of its own.
    if (!sheet.rows.empty() && (top + size.height > room.height || size.width > room.width)) return false;
    sheet.page.covers.push_back({kind, {Length(), top, size.width, size.height}});
    sheet.rows.push_back({top, size.height, size.width + gap});
    return true;
}

// As many copies of the one cover as fit the room in rows and columns, at least one.
PlannedPage copiesSideBySide(const PlannedPage& page, const LengthSize& room, Length gap) {
    const PlacedCover& cover = page.covers.front();
    const LengthSize size = cover.rect.size();
    const auto count = [gap](Length space, Length each) {
        return std::max(1, int((space + gap) / (each + gap) + 1e-9));
    };
    const int columns = count(room.width, size.width), rows = count(room.height, size.height);
    PlannedPage copies{page.paper, page.orientation, {}};
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            copies.covers.push_back(
                {cover.kind,
                 {(size.width + gap) * double(c), (size.height + gap) * double(r), size.width, size.height}});
    return copies;
}

} // namespace

Length gapBetweenCovers(Length bleed) { return markReach(bleed) * 2; }

PrintJob coversTogether(const PrintJob& job, const std::function<LengthSize(Paper, Orientation)>& roomOf,
                        Length bleed) {
    if (job.pages.empty()) return job;
    const PlannedPage& first = job.pages.front();
    const LengthSize room = roomOf(first.paper, first.orientation);
    const Length gap = gapBetweenCovers(bleed);
    PrintJob packed = job;
    packed.pages.clear();
    std::vector<PlacedCover> covers;
    for (const PlannedPage& page : job.pages) covers.insert(covers.end(), page.covers.begin(), page.covers.end());
    if (covers.size() == 1) {
        // A case's own cover (Mini CD, PSP, ...) is repeated; a jewel-case card alone stays alone.
        if (coverKind(covers.front().kind).group != CoverGroup::Single) return job;
        packed.pages.push_back(copiesSideBySide(first, room, gap));
        return packed;
    }
    std::stable_sort(covers.begin(), covers.end(), [](const PlacedCover& a, const PlacedCover& b) {
        return area(a.rect.size()) > area(b.rect.size());
    });
    std::vector<Sheet> sheets;
    for (const PlacedCover& cover : covers) {
        const LengthSize size = cover.rect.size();
        const bool placed = std::any_of(sheets.begin(), sheets.end(),
                                        [&](Sheet& sheet) { return place(sheet, cover.kind, size, room, gap); });
        if (placed) continue;
        sheets.push_back({{first.paper, first.orientation, {}}, {}});
        place(sheets.back(), cover.kind, size, room, gap);
    }
    for (Sheet& sheet : sheets) packed.pages.push_back(std::move(sheet.page));
    return packed;
}

} // namespace kavi
