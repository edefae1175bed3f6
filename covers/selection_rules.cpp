// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/selection_rules.h"

namespace kavi {

namespace {

bool isJewelCase(int kind) { return coverKind(kind).group == CoverGroup::JewelCase; }

// A jewel-case box changed: the jewel-case boxes combine freely and stay usable together (this
// matters after a restored tick replaced a single kind that had disabled them); while any of them
// is ticked the single kinds are unticked and locked.
void applyJewelRule(SelectionState& s) {
    bool anyJewel = false;
    for (int n = 1; n <= kCoverKindCount; ++n)
        if (isJewelCase(n)) anyJewel = anyJewel || s.isTicked(n);
    for (int n = 1; n <= kCoverKindCount; ++n) {
        const std::size_t i = std::size_t(n - 1);
        if (isJewelCase(n)) {
            s.enabled[i] = true;
        } else {
            s.ticked[i] = false;
            s.enabled[i] = !anyJewel;
        }
    }
    s.printEnabled = anyJewel;
}

// A single-kind box changed: every other box is unticked, and locked while this one is ticked.
void applySingleRule(SelectionState& s, int kind) {
    const bool ticked = s.isTicked(kind);
    for (int n = 1; n <= kCoverKindCount; ++n) {
        if (n == kind) continue;
        s.ticked[std::size_t(n - 1)] = false;
        s.enabled[std::size_t(n - 1)] = !ticked;
    }
    s.enabled[std::size_t(kind - 1)] = true;
    s.printEnabled = ticked;
}

} // namespace

SelectionState applyKindRule(const SelectionState& before, int kind, bool ticked) {
    SelectionState after = before;
    if (before.isTicked(kind) == ticked) return after;
    after.ticked[std::size_t(kind - 1)] = ticked;
    if (isJewelCase(kind)) applyJewelRule(after);
    else applySingleRule(after, kind);
    return after;
}

} // namespace kavi
