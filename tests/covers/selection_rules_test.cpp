// The "Print Options" selection rules on the plain state: every row of the rule table, restored
// ticks on disabled boxes, and the invariants over long random sequences of clicks and restores.
#include "selection_rules.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace kavi;

namespace {

// A user click: only an enabled box reacts, and it toggles.
SelectionState click(const SelectionState& s, int n) {
    return s.isEnabled(n) ? applyKindRule(s, n, !s.isTicked(n)) : s;
}

SelectionState clickAll(std::initializer_list<int> kinds) {
    SelectionState s;
    for (int n : kinds) s = click(s, n);
    return s;
}

// The invariants that hold after every rule; returns the first one broken, or an empty text.
std::string brokenInvariant(const SelectionState& s) {
    int jewel = 0, single = 0;
    for (int n = 1; n <= kCoverKindCount; ++n)
        if (s.isTicked(n)) (coverKind(n).group == CoverGroup::JewelCase ? jewel : single)++;
    if (s.printEnabled != (jewel + single > 0)) return "Print enabled exactly when something is ticked";
    if (single > 1 || (single == 1 && jewel > 0)) return "jewel-case kinds only, or one single kind";
    for (int n = 1; n <= kCoverKindCount; ++n) {
        const bool isJewel = coverKind(n).group == CoverGroup::JewelCase;
        if (jewel > 0 && !isJewel && (s.isTicked(n) || s.isEnabled(n)))
            return "single kind " + std::to_string(n) + " free beside a jewel-case tick";
        if (jewel > 0 && isJewel && !s.isEnabled(n)) return "jewel-case box " + std::to_string(n) + " disabled";
        if (single == 1 && s.isEnabled(n) != s.isTicked(n))
            return "box " + std::to_string(n) + " beside a single kind";
        if (jewel + single == 0 && !s.isEnabled(n)) return "box " + std::to_string(n) + " disabled with nothing ticked";
    }
    return {};
}

} // namespace

TEST(SelectionRules, JewelCaseBoxesCombineAndLockTheSingleKinds) {
    SelectionState s = clickAll({1, 2, 3});
    for (int n = 1; n <= 3; ++n) EXPECT_TRUE(s.isTicked(n) && s.isEnabled(n)) << n;
    for (int n = 4; n <= 10; ++n) EXPECT_TRUE(!s.isTicked(n) && !s.isEnabled(n)) << n;
    EXPECT_TRUE(s.printEnabled);

    s = click(click(s, 1), 3);
    EXPECT_TRUE(s.printEnabled) << "Inside is still ticked";
    EXPECT_TRUE(s.isTicked(2));
    for (int n = 4; n <= 10; ++n) EXPECT_FALSE(s.isEnabled(n)) << n;

    EXPECT_EQ(click(s, 2), SelectionState()) << "the last untick frees all ten and disables Print";
}

TEST(SelectionRules, EachSingleKindLocksAllNineOthersAndUntickingFreesThem) {
    for (int x = 4; x <= 10; ++x) {
        const SelectionState s = clickAll({x});
        for (int n = 1; n <= 10; ++n) {
            EXPECT_EQ(s.isTicked(n), n == x) << "single " << x << " box " << n;
            EXPECT_EQ(s.isEnabled(n), n == x) << "single " << x << " box " << n;
        }
        EXPECT_TRUE(s.printEnabled);
        EXPECT_EQ(click(s, 1), s) << "a disabled box ignores the user";
        EXPECT_EQ(click(s, x), SelectionState()) << "single " << x;
    }
}

TEST(SelectionRules, RestoredTicksOnDisabledBoxesRunOnlyTheirOwnRule) {
    // Front restored over DVD: DVD is unticked and locked, and its own rule does not run (it
    // would free every box again).
    SelectionState s = applyKindRule(clickAll({4}), 1, true);
    EXPECT_TRUE(s.isTicked(1));
    EXPECT_FALSE(s.isTicked(4));
    for (int n = 1; n <= 3; ++n) EXPECT_TRUE(s.isEnabled(n)) << n;
    for (int n = 4; n <= 10; ++n) EXPECT_FALSE(s.isEnabled(n)) << n;
    EXPECT_TRUE(s.printEnabled);

    // HD-DVD restored over Front: Front's rule does not run either, so HD-DVD keeps its tick.
    s = applyKindRule(s, 9, true);
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(s.isTicked(n) && s.isEnabled(n), n == 9) << n;
    EXPECT_TRUE(s.printEnabled);

    EXPECT_EQ(applyKindRule(s, 9, true), s) << "setting the tick a box has runs nothing";
    EXPECT_EQ(applyKindRule(s, 2, false), s) << "unticking an unticked box runs nothing";
}

TEST(SelectionRules, InvariantsHoldOverRandomClickAndRestoreSequences) {
    std::mt19937 random(20261208);
    for (int run = 0; run < 2000; ++run) {
        SelectionState s;
        for (int step = 0; step < 16; ++step) {
            const int n = int(random() % 10) + 1;
            if (random() % 4 == 0) s = applyKindRule(s, n, random() % 2 == 0);
            else s = click(s, n);
            const std::string broken = brokenInvariant(s);
            ASSERT_EQ(broken, "") << "run " << run << " step " << step;
        }
        for (int n = 1; n <= kCoverKindCount; ++n) s = applyKindRule(s, n, false);
        ASSERT_EQ(s, SelectionState()) << "clearing every box frees them all, run " << run;
    }
}
