// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/cut_marks.h"

#include <algorithm>

namespace kavi {

namespace {

// Spine widths of the wrap-around kinds, by kind number.
Length spineOf(int kind) {
    switch (kind) {
    case 4: return Length::fromMillimetres(14); // DVD
    case 6: return Length::fromMillimetres(14); // PSP
    case 7: return Length::fromMillimetres(16); // DS
    case 8: return Length::fromMillimetres(7); // SLIM
    case 9: return Length::fromMillimetres(14); // HD-DVD
    case 10: return Length::fromMillimetres(14); // Blu-Ray
    default: return Length();
    }
}

constexpr int kCdBack = 3;
constexpr Length kCdBackFoldInset = Length::fromMillimetres(6.5);

// The area a mark covers once drawn, as a rectangle.
LengthRect inkOf(const MarkLine& m) {
    const Length half = kMarkWidth / 2;
    const Length left = std::min(m.from.x, m.to.x) - half, top = std::min(m.from.y, m.to.y) - half;
    const Length right = std::max(m.from.x, m.to.x) + half, bottom = std::max(m.from.y, m.to.y) + half;
    return {left, top, right - left, bottom - top};
}

bool overlaps(const LengthRect& a, const LengthRect& b) {
    return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

bool inside(const LengthRect& inner, const LengthRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right() <= outer.right() &&
        inner.bottom() <= outer.bottom();
}

// A vertical mark above and one below the printed rectangle (the cover with its bleed) at x.
void addVerticalPair(std::vector<MarkLine>& marks, const LengthRect& r, Length x) {
    marks.push_back({{x, r.top - kMarkGap - kMarkLength}, {x, r.top - kMarkGap}});
    marks.push_back({{x, r.bottom() + kMarkGap}, {x, r.bottom() + kMarkGap + kMarkLength}});
}

// A horizontal mark left and one right of the printed rectangle at y.
void addHorizontalPair(std::vector<MarkLine>& marks, const LengthRect& r, Length y) {
    marks.push_back({{r.left - kMarkGap - kMarkLength, y}, {r.left - kMarkGap, y}});
    marks.push_back({{r.right() + kMarkGap, y}, {r.right() + kMarkGap + kMarkLength, y}});
}

} // namespace

std::vector<Length> foldsOf(int kind, Length coverWidth) {
    if (kind == kCdBack) return {kCdBackFoldInset, coverWidth - kCdBackFoldInset};
    const Length spine = spineOf(kind);
    if (spine == Length()) return {};
    return {(coverWidth - spine) / 2, (coverWidth + spine) / 2};
}

std::vector<MarkLine> cutMarks(const std::vector<PlacedCover>& onSheet, const LengthRect& printable, Length bleed) {
    return cutMarksCounted(onSheet, printable, bleed).marks;
}

PageMarks cutMarksCounted(const std::vector<PlacedCover>& onSheet, const LengthRect& printable, Length bleed) {
    std::vector<MarkLine> candidates;
    for (const PlacedCover& cover : onSheet) {
        const LengthRect& r = cover.rect;
        const LengthRect printed = grownBy(r, bleed);
        addVerticalPair(candidates, printed, r.left);
        addVerticalPair(candidates, printed, r.right());
        addHorizontalPair(candidates, printed, r.top);
        addHorizontalPair(candidates, printed, r.bottom());
        for (Length fold : foldsOf(cover.kind, r.width)) addVerticalPair(candidates, printed, r.left + fold);
    }
    PageMarks result;
    for (const MarkLine& mark : candidates) {
        const LengthRect ink = inkOf(mark);
        const bool onAPicture = std::any_of(onSheet.begin(), onSheet.end(), [&](const PlacedCover& c) {
            return overlaps(ink, grownBy(c.rect, bleed));
        });
        if (onAPicture) continue;
        if (!inside(ink, printable)) ++result.outsidePrintable;
        else result.marks.push_back(mark);
    }
    return result;
}

} // namespace kavi
