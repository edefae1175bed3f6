// SPDX-License-Identifier: GPL-3.0-or-later
// The "Print Options" selection rules: every row of the rule table, and the invariants over
// long random sequences of user clicks and restored ticks.
#include "app/main_window.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "covers/cover_kinds.h"
#include "covers/selection_rules.h"
#include "tests/support/test_platform.h"

#include <QCheckBox>
#include <QPushButton>
#include <gtest/gtest.h>

#include <random>

using namespace kavi;

namespace {

class KindRules : public ::testing::Test {
protected:
    kavi::testing::TestPlatform services;
    MainWindow window{services.platform};

    bool ticked(int n) { return window.Check(n)->isChecked(); }
    bool enabled(int n) { return window.Check(n)->isEnabled(); }
    SelectionState windowState() {
        SelectionState s;
        for (int n = 1; n <= 10; ++n) {
            s.ticked[std::size_t(n - 1)] = ticked(n);
            s.enabled[std::size_t(n - 1)] = enabled(n);
        }
        s.printEnabled = window.cmdPrint->isEnabled();
        return s;
    }
    // A user click: only an enabled box reacts.
    void click(int n) {
        if (enabled(n)) window.Check(n)->click();
    }

    void expectInvariants(const std::string& context) {
        int jewel = 0, single = 0;
        for (int n = 1; n <= 10; ++n)
            if (ticked(n)) (n <= 3 ? jewel : single)++;
        EXPECT_EQ(window.cmdPrint->isEnabled(), jewel + single > 0) << context;
        EXPECT_TRUE(single == 0 || (single == 1 && jewel == 0)) << context;
        if (jewel > 0) {
            for (int n = 4; n <= 10; ++n) EXPECT_TRUE(!ticked(n) && !enabled(n)) << context << " box " << n;
            for (int n = 1; n <= 3; ++n) EXPECT_TRUE(enabled(n)) << context << " box " << n;
        } else if (single == 1) {
            for (int n = 1; n <= 10; ++n) EXPECT_EQ(enabled(n), ticked(n)) << context << " box " << n;
        } else {
            for (int n = 1; n <= 10; ++n) EXPECT_TRUE(enabled(n)) << context << " box " << n;
        }
    }
};

} // namespace

TEST_F(KindRules, JewelCaseBoxesCombineAndLockTheSingleKinds) {
    click(1);
    click(2);
    click(3);
    for (int n = 1; n <= 3; ++n) EXPECT_TRUE(ticked(n) && enabled(n));
    for (int n = 4; n <= 10; ++n) EXPECT_TRUE(!ticked(n) && !enabled(n));
    EXPECT_TRUE(window.cmdPrint->isEnabled());
    click(1);
    click(3);
    EXPECT_TRUE(window.cmdPrint->isEnabled()) << "Inside is still ticked";
    for (int n = 4; n <= 10; ++n) EXPECT_FALSE(enabled(n));
    click(2);
    for (int n = 1; n <= 10; ++n) EXPECT_TRUE(!ticked(n) && enabled(n));
    EXPECT_FALSE(window.cmdPrint->isEnabled());
}

TEST_F(KindRules, EachSingleKindLocksAllNineOthersAndUntickingFreesThem) {
    for (int x = 4; x <= 10; ++x) {
        click(x);
        for (int n = 1; n <= 10; ++n) {
            EXPECT_EQ(ticked(n), n == x) << "single " << x << " box " << n;
            EXPECT_EQ(enabled(n), n == x) << "single " << x << " box " << n;
        }
        EXPECT_TRUE(window.cmdPrint->isEnabled());
        click(1); // disabled: the user cannot tick it
        EXPECT_FALSE(ticked(1));
        click(x);
        for (int n = 1; n <= 10; ++n) EXPECT_TRUE(!ticked(n) && enabled(n));
        EXPECT_FALSE(window.cmdPrint->isEnabled());
    }
}

TEST_F(KindRules, RestoredTicksOnDisabledBoxesStillGiveAConsistentState) {
    click(4); // DVD disables Front
    window.Check(1)->setChecked(true); // as the settings restore does
    EXPECT_TRUE(ticked(1));
    EXPECT_FALSE(ticked(4));
    for (int n = 1; n <= 3; ++n) EXPECT_TRUE(enabled(n)) << n;
    expectInvariants("Front restored over DVD");

    window.Check(9)->setChecked(true); // HD-DVD restored over Front
    EXPECT_TRUE(ticked(9) && enabled(9));
    EXPECT_FALSE(ticked(1));
    expectInvariants("HD restored over Front");

    window.Check(9)->setChecked(true); // same state again: nothing runs, nothing changes
    expectInvariants("same state");
}

TEST_F(KindRules, InvariantsHoldOverRandomClickAndRestoreSequences) {
    // The covers library's rules, run beside the window, must reach the same state at every step.
    SelectionState mirror;
    const auto set = [&](int n, bool tick) {
        window.Check(n)->setChecked(tick);
        mirror = applyKindRule(mirror, n, tick);
    };
    std::mt19937 random(20261208);
    for (int run = 0; run < 200; ++run) {
        for (int step = 0; step < 12; ++step) {
            const int n = int(random() % 10) + 1;
            if (random() % 4 == 0) set(n, random() % 2 == 0);
            else if (enabled(n)) {
                mirror = applyKindRule(mirror, n, !ticked(n));
                click(n);
            }
            const std::string context = "run " + std::to_string(run) + " step " + std::to_string(step);
            expectInvariants(context);
            EXPECT_TRUE(windowState() == mirror) << context;
            if (HasFailure()) return;
        }
        for (int n = 1; n <= 10; ++n) set(n, false);
        expectInvariants("cleared");
    }
}

TEST_F(KindRules, SlotClicksSetTheSelectedImageAndTabsDoNot) {
    EXPECT_TRUE(window.SelectedImage.isEmpty());
    window.Image(7)->clicked();
    EXPECT_EQ(window.SelectedImage, "Image7");
    window.SSTab1->setCurrentIndex(2);
    EXPECT_EQ(window.SelectedImage, "Image7");
    window.Image(10)->clicked();
    EXPECT_EQ(window.SelectedImage, "Image10");
}

TEST_F(KindRules, TheSelectedCoverIsFramedAndItsTabMarked) {
    window.show();
    const auto expectMarked = [this](int selected) {
        for (int n = 1; n <= 10; ++n) {
            EXPECT_EQ(window.Image(n)->isSelected(), n == selected) << "slot " << n;
            EXPECT_EQ(window.SSTab1->tabIcon(n - 1).isNull(), n != selected) << "tab " << n - 1;
            EXPECT_EQ(window.SSTab1->tabText(n - 1), coverKind(n).tabCaption);
        }
        EXPECT_TRUE(window.SSTab1->tabIcon(kScanTabIndex).isNull());
    };
    QImage black(40, 30, QImage::Format_RGB32);
    black.fill(Qt::black);
    expectMarked(0);
    window.Image(7)->setPicture(black);
    window.Image(7)->clicked();
    expectMarked(7);
    window.SSTab1->setCurrentIndex(1);
    expectMarked(7);
    window.Image(2)->clicked();
    expectMarked(2);

    // The frame is drawn around the cover's edge; the picture inside and an unselected slot keep their look.
    const QColor highlight = window.Image(2)->palette().color(QPalette::Highlight);
    window.Image(2)->setPicture(black);
    const QImage framed = window.Image(2)->grab().toImage();
    const QRect cover = window.Image(2)->coverRect().toAlignedRect();
    EXPECT_EQ(framed.pixelColor(cover.left() - 2, cover.center().y()), highlight);
    EXPECT_EQ(framed.pixelColor(cover.center().x(), cover.bottom() + 2), highlight);
    EXPECT_EQ(framed.pixelColor(cover.center()), QColor(Qt::black));
    window.Image(3)->setPicture(black);
    const QPoint corner = window.Image(3)->coverRect().toAlignedRect().topLeft() + QPoint(1, 1);
    EXPECT_EQ(window.Image(3)->grab().toImage().pixelColor(corner), QColor(Qt::black));
}
