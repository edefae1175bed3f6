// SPDX-License-Identifier: GPL-3.0-or-later
// The "Print Options" rules on the plain state: the rule table, restored ticks on disabled boxes,
// and the invariants over long random sequences of clicks and restores.
#include "covers/selection_rules.h"

#include <gtest/gtest.h>

#include <random>

using namespace kavi;

namespace {

// A user click: only an enabled box reacts.
SelectionState click(const SelectionState& s, int n) {
    return s.isEnabled(n) ? applyKindRule(s, n, !s.isTicked(n)) : s;
}

// Whether the invariants hold: Print enabled exactly when something is ticked; jewel-case kinds
// (enabled, the single kinds unticked and locked), or one single kind (all others locked), or
// nothing (all enabled).
bool consistent(const SelectionState& s) {
    int jewel = 0, single = 0;
    for (int n = 1; n <= kCoverKindCount; ++n)
        if (s.isTicked(n)) ++(n <= 3 ? jewel : single);
    if (s.printEnabled != (jewel + single > 0) || single > 1 || (single && jewel)) return false;
    for (int n = 1; n <= kCoverKindCount; ++n) {
        const bool expectEnabled = jewel ? n <= 3 : single ? s.isTicked(n) : true;
        if (s.isEnabled(n) != expectEnabled) return false;
    }
    return true;
}

} // namespace

TEST(SelectionRules, JewelCaseKindsCombineAndEachSingleKindLocksTheOthers) {
    SelectionState s = click(click(click(SelectionState(), 1), 2), 3);
    EXPECT_TRUE(s.isTicked(1) && s.isTicked(2) && s.isTicked(3) && s.printEnabled && consistent(s));
    s = click(click(s, 1), 3);
    EXPECT_TRUE(s.isTicked(2) && s.printEnabled && !s.isEnabled(4) && consistent(s)) << "Inside still ticked";
    EXPECT_EQ(click(s, 2), SelectionState()) << "the last untick frees all ten and disables Print";
    for (int x = 4; x <= 10; ++x) {
        const SelectionState single = click(SelectionState(), x);
        EXPECT_TRUE(single.isTicked(x) && single.printEnabled && consistent(single)) << x;
        EXPECT_EQ(click(single, 1), single) << "a locked box ignores the user";
        EXPECT_EQ(click(single, x), SelectionState()) << x;
    }
}

TEST(SelectionRules, RestoredTicksOnDisabledBoxesRunOnlyTheirOwnRule) {
    // Front restored over DVD, then HD-DVD over Front: the unticked box's own rule does not run
    // (DVD's would free every box, Front's would untick HD-DVD again).
    SelectionState s = applyKindRule(click(SelectionState(), 4), 1, true);
    EXPECT_TRUE(s.isTicked(1) && !s.isTicked(4) && s.isEnabled(2) && consistent(s));
    s = applyKindRule(s, 9, true);
    EXPECT_TRUE(s.isTicked(9) && !s.isTicked(1) && !s.isEnabled(1) && consistent(s));
    EXPECT_EQ(applyKindRule(s, 9, true), s) << "setting the tick a box has runs nothing";
}

TEST(SelectionRules, InvariantsHoldOverRandomClickAndRestoreSequences) {
    std::mt19937 random(20261208);
    SelectionState s;
    for (int step = 0; step < 40000; ++step) {
        const int n = int(random() % 10) + 1;
        s = random() % 4 == 0 ? applyKindRule(s, n, random() % 2 == 0) : click(s, n);
        ASSERT_TRUE(consistent(s)) << "step " << step;
    }
}
