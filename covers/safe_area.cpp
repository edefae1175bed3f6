// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/safe_area.h"

#include "covers/cover_kinds.h"
#include "covers/cut_marks.h"
#include "covers/page_geometry.h"

#include <algorithm>
#include <cstdio>

namespace kavi {

namespace {

std::string oneDecimal(Length amount) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", amount.millimetres());
    return text;
}

} // namespace

SafeArea safeAreaOf(int kind, Length margin) {
    SafeArea area;
    area.cover = coverKind(kind).printSize;
    const Length m = std::clamp(margin, Length(), kLargestSafeMargin);
    area.inside = grownBy({Length(), Length(), area.cover.width, area.cover.height}, -m);
    area.folds = foldsOf(kind, area.cover.width);
    return area;
}

SafeAreaCrossing safeAreaCrossing(const SafeArea& area, const LengthRect& ink) {
    SafeAreaCrossing crossing;
    if (ink.width <= Length() || ink.height <= Length()) return crossing;
    const LengthRect& safe = area.inside;
    crossing.pastMargin = std::max(
        {Length(), safe.left - ink.left, safe.top - ink.top, ink.right() - safe.right(), ink.bottom() - safe.bottom()});
    for (Length fold : area.folds)
        if (ink.left < fold && ink.right() > fold)
            crossing.acrossFold = std::max(crossing.acrossFold, std::min(fold - ink.left, ink.right() - fold));
    return crossing;
}

std::vector<std::string> safeAreaLines(const std::string& name, const SafeAreaCrossing& crossing) {
    std::vector<std::string> lines;
    if (crossing.pastMargin >= kSmallestSafeCrossing)
        lines.push_back(name + " crosses the safe margin by " + oneDecimal(crossing.pastMargin) + " mm.");
    if (crossing.acrossFold >= kSmallestSafeCrossing)
        lines.push_back(name + " crosses the fold by " + oneDecimal(crossing.acrossFold) + " mm.");
    return lines;
}

} // namespace kavi
