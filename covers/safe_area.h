// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The safe area of a cover: where text and track lists are safe from the cutting. A cut is never
// exact, so text keeps the safe margin away from the cover's edges, and text on a folding cover
// (the spine of a case's wrap-around cover, the CD back card's end strips) must not run across a
// fold. The layout window draws the safe line and marks what crosses it; nothing here is printed.
#include "covers/length.h"

#include <string>
#include <vector>

namespace kavi {

inline constexpr Length kDefaultSafeMargin = Length::fromMillimetres(3);
// The largest margin taken: more would leave no room on the smallest covers.
inline constexpr Length kLargestSafeMargin = Length::fromMillimetres(20);

// A kind's safe area, in the cover's coordinates (from its top-left corner).
struct SafeArea {
    LengthSize cover;
    LengthRect inside; // the cover inset by the margin on every side: the dashed line
    std::vector<Length> folds; // where the cover folds, from its left edge; text must not cross them
};

// The safe area of a kind (1..10) with the given margin; a margin below zero counts as none and one
// above kLargestSafeMargin as that.
SafeArea safeAreaOf(int kind, Length margin);

// How a text's ink on the cover stands to the safe area.
struct SafeAreaCrossing {
    // How far the ink reaches past the safe line on its worst side; zero when it stays inside.
    Length pastMargin;
    // How far the ink runs across a fold: the smaller of its two parts on either side of the fold
    // (the least it must move to clear it), the largest over the folds it crosses; zero for none.
    Length acrossFold;

    bool crosses() const { return pastMargin > Length() || acrossFold > Length(); }
};

// Crossings smaller than this are lost in the cutting anyway and are not reported.
inline constexpr Length kSmallestSafeCrossing = Length::fromMillimetres(0.05);

// The crossing of `ink` (the box of the letters as drawn, on the cover); an empty box crosses nothing.
SafeAreaCrossing safeAreaCrossing(const SafeArea& area, const LengthRect& ink);

// The lines for the user about a crossing of the named text ("The title", "Box 2", "The track
// list"): "The title crosses the safe margin by 1.2 mm." and "The title crosses the fold by
// 2.0 mm.", in that order; none when it crosses by less than kSmallestSafeCrossing.
std::vector<std::string> safeAreaLines(const std::string& name, const SafeAreaCrossing& crossing);

} // namespace kavi
