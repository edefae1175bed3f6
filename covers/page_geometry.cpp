// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/page_geometry.h"

#include "covers/cut_marks.h"

#include <algorithm>

namespace kavi {

LengthRect coversBounds(const std::vector<PlacedCover>& covers) {
    if (covers.empty()) return {};
    Length left = covers.front().rect.left, top = covers.front().rect.top;
    Length right = covers.front().rect.right(), bottom = covers.front().rect.bottom();
    for (const PlacedCover& cover : covers) {
        left = std::min(left, cover.rect.left);
        top = std::min(top, cover.rect.top);
        right = std::max(right, cover.rect.right());
        bottom = std::max(bottom, cover.rect.bottom());
    }
    return {left, top, right - left, bottom - top};
}

Length markReach(Length bleed) { return bleed + kMarkGap + kMarkLength + kMarkWidth / 2; }

std::vector<PlacedCover> coversOnSheet(const PlannedPage& page, Placement placement, const LengthRect& printable,
                                       Length bleed) {
    // The bleed's edge, not the cover's, goes to the printable corner.
    Length dx = printable.left + bleed, dy = printable.top + bleed;
    if (placement == Placement::MovedInForMarks) {
        // Moved in by the marks' reach, but no further than the room the printable area leaves.
        const LengthRect bounds = coversBounds(page.covers);
        const auto room = [bleed](Length space, Length used) {
            return std::clamp(space - used - bleed * 2, Length(), markReach());
        };
        dx += room(printable.width, bounds.right());
        dy += room(printable.height, bounds.bottom());
    } else if (placement == Placement::CentredOnSheet) {
        const LengthRect bounds = coversBounds(page.covers);
        const LengthSize sheet = page.sheet();
        dx = (sheet.width - bounds.width) / 2 - bounds.left;
        dy = (sheet.height - bounds.height) / 2 - bounds.top;
    }
    std::vector<PlacedCover> placed = page.covers;
    for (PlacedCover& cover : placed) {
        cover.rect.left += dx;
        cover.rect.top += dy;
    }
    return placed;
}

std::vector<Overhang> overhangs(const std::vector<PlacedCover>& onSheet, const LengthRect& printable, Length bleed) {
    std::vector<Overhang> found;
    for (const PlacedCover& cover : onSheet) {
        const LengthRect r = grownBy(cover.rect, bleed);
        const std::pair<Side, Length> sides[] = {
            {Side::Left, printable.left - r.left},
            {Side::Top, printable.top - r.top},
            {Side::Right, r.right() - printable.right()},
            {Side::Bottom, r.bottom() - printable.bottom()},
        };
        for (const auto& [side, amount] : sides)
            if (amount > kFitTolerance) found.push_back({cover.kind, side, amount});
    }
    return found;
}

} // namespace kavi
