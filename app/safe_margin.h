// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The part of a cover that the cutting and folding leave alone: text inside it is never cut or bent.
// The cover inset on every side by the safe margin, and the folds of the kinds with a spine.
#include "covers/length.h"

#include <vector>

namespace kavi {

inline constexpr Length kDefaultSafeMargin = Length::fromMillimetres(3);

// The cover inset by the margin on every side, in the cover's coordinates.
LengthRect safeRectOf(int kind, Length margin = kDefaultSafeMargin);
// Where the case folds, as x positions on the cover (none for a kind without a spine).
std::vector<Length> foldsOf(int kind);

// How a text's ink lies against the safe area: past the safe line, or across a fold.
struct SafeAreaCrossing {
    bool pastSafeLine = false;
    bool acrossFold = false;
    bool any() const { return pastSafeLine || acrossFold; }
};
SafeAreaCrossing safeAreaCrossing(int kind, const LengthRect& ink, Length margin = kDefaultSafeMargin);

} // namespace kavi
