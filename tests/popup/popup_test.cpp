// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/program_folder.h"
#include "popup/alert_popup_window.h"
#include "popup/alert_state.h"
#include "tests/support/test_platform.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

using kavi::AlertPopupWindow;

namespace {

// 96 dpi: 15 twips a pixel. The test desktop's available area ends at pixel 984.
constexpr int kAvailableBottom = 984 * 15;
constexpr int kFullHeight = AlertPopupWindow::kBackgroundHeight;

class PopupTest : public ::testing::Test {
protected:
    void SetUp() override { workspace = std::make_unique<QWidget>(); }
    void TearDown() override {
        for (auto& p : popups) delete p.data();
        flushDeletes();
    }
    AlertPopupWindow* open() {
        AlertPopupWindow* p =
            AlertPopupWindow::showAlert(platform.platform, module, workspace.get(),
                                        "Please select a cover by clicking on it and try again!", "picture");
        popups.push_back(p);
        return p;
    }
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    static int bottom(const AlertPopupWindow* p) { return p->outerTop() + p->outerHeight(); }
    static void openFully(AlertPopupWindow* p) {
        while (p->tmrOpen->isActive()) p->tmrOpen_Timer();
    }
    // Ticks the close timer until the popup unloads; returns the heights seen, checking the bottom edge.
    static std::vector<int> closeFully(AlertPopupWindow* p) {
        std::vector<int> heights;
        const int fixedBottom = bottom(p);
        while (p->tmrClose->isActive()) {
            p->tmrClose_Timer();
            if (p->isUnloaded()) break;
            heights.push_back(p->outerHeight());
            EXPECT_EQ(bottom(p), fixedBottom) << "the bottom edge stays while the popup shrinks";
        }
        return heights;
    }

    kavi::testing::TestPlatform platform;
    kavi::AlertModule module = std::make_shared<kavi::msnpopup>();
    std::unique_ptr<QWidget> workspace;
    std::vector<QPointer<AlertPopupWindow>> popups;
};

} // namespace

TEST_F(PopupTest, OpensBelowTheAvailableAreaWithMessageSoundAndGradient) {
    workspace->show();
    AlertPopupWindow* p = open();
    EXPECT_FALSE(workspace->isEnabled()) << "the workspace is disabled while the popup is open";
    EXPECT_TRUE(p->isVisible());
    EXPECT_EQ(p->lblAlert->text(), "Please select a cover by clicking on it and try again!");
    EXPECT_TRUE(p->Command1->isVisibleTo(p));
    EXPECT_EQ(p->Command1->text(), "Ok");
    EXPECT_EQ(module->OpenAlerts, 1);
    EXPECT_EQ(p->stackIndex(), 1);

    EXPECT_EQ(p->outerHeight(), 90);
    EXPECT_EQ(bottom(p), kAvailableBottom) << "the bottom edge lies on the bottom of the available area";
    EXPECT_EQ(p->outerLeft(), 1280 * 15 / 2 - 2055 / 2) << "centred across the screen";
    EXPECT_EQ(p->outerWidth(), 2055 + 0);
    EXPECT_EQ(p->geometry().bottom() + 1, 984) << "the window itself is where the twips say";
    EXPECT_TRUE(p->tmrOpen->isActive());
    EXPECT_EQ(p->tmrOpen->interval(), 10);
    EXPECT_FALSE(p->tmrClose->isActive());

    ASSERT_EQ(platform.sound.played.size(), 1u);
    EXPECT_EQ(platform.sound.played[0], kavi::inProgramFolder("alert.wav"));

    const QImage& bg = p->picBackground->picture();
    ASSERT_EQ(bg.size(), QSize(137, 97));
    const QColor top = bg.pixelColor(68, 0), low = bg.pixelColor(68, 96);
    EXPECT_LT(top.red(), 90) << "light blue at the top";
    EXPECT_EQ(top.blue(), 255);
    EXPECT_GT(low.red(), 200) << "near white at the bottom";
    EXPECT_GT(low.green(), 230);
    EXPECT_LT(top.red(), low.red());
    EXPECT_TRUE(platform.messages.shown.empty());
}

TEST_F(PopupTest, GrowsThirtyTwipsATickWithItsBottomFixedUpToTheFullHeight) {
    AlertPopupWindow* p = open();
    const int fixedBottom = bottom(p);
    std::vector<int> heights;
    while (p->tmrOpen->isActive()) {
        p->tmrOpen_Timer();
        heights.push_back(p->outerHeight());
        ASSERT_EQ(bottom(p), fixedBottom) << "tick " << heights.size();
        ASSERT_LE(heights.size(), 100u);
    }
    ASSERT_EQ(heights.size(), 47u) << "45 steps of 30, one last step of 15, one tick that stops the timer";
    EXPECT_EQ(heights[0], 120);
    EXPECT_EQ(heights[44], 1440);
    EXPECT_EQ(heights[45], kFullHeight);
    EXPECT_EQ(heights[46], kFullHeight);
    EXPECT_EQ(p->outerHeight(), kFullHeight + p->borderHeight());
    EXPECT_EQ(p->outerTop(), kAvailableBottom - kFullHeight);
    EXPECT_EQ(p->height(), 97) << "the window shows the whole background";
}

TEST_F(PopupTest, OkSlidesItDownAndUnloadingGivesTheWorkspaceBack) {
    QPointer<AlertPopupWindow> p = open();
    openFully(p);
    p->Command1->click();
    EXPECT_TRUE(p->tmrClose->isActive());
    const std::vector<int> heights = closeFully(p);
    ASSERT_FALSE(heights.empty());
    EXPECT_EQ(heights.front(), kFullHeight - 30);
    EXPECT_EQ(heights.back(), 105) << "the last height before unloading is below 121 twips";
    EXPECT_TRUE(p->isUnloaded());
    EXPECT_EQ(module->OpenAlerts, 0) << "the stack is empty again";
    EXPECT_TRUE(workspace->isEnabled());
    flushDeletes();
    EXPECT_TRUE(p.isNull()) << "an unloaded popup is deleted";
}

TEST_F(PopupTest, OkWhileGrowingTurnsAroundFromWhereItIs) {
    AlertPopupWindow* p = open();
    for (int i = 0; i < 10; ++i) p->tmrOpen_Timer();
    ASSERT_EQ(p->outerHeight(), 390);
    p->Command1_Click();
    EXPECT_FALSE(p->tmrOpen->isActive()) << "growing stops at once";
    const std::vector<int> heights = closeFully(p);
    ASSERT_FALSE(heights.empty());
    EXPECT_EQ(heights.front(), 360);
    EXPECT_TRUE(workspace->isEnabled());
    EXPECT_EQ(module->OpenAlerts, 0);
}

TEST_F(PopupTest, APopupClosedByTheWindowManagerStillEmptiesTheStack) {
    AlertPopupWindow* p = open();
    openFully(p);
    p->close(); // as Alt+F4 would, without sliding down
    EXPECT_EQ(module->OpenAlerts, 0);
    EXPECT_TRUE(workspace->isEnabled());
    open();
    EXPECT_EQ(bottom(popups.back()), kAvailableBottom) << "the next alert starts at the bottom again";
}

TEST_F(PopupTest, AlertsOpenTogetherStackOnePopupHeightApart) {
    AlertPopupWindow* first = open();
    AlertPopupWindow* second = open();
    EXPECT_EQ(first->stackIndex(), 1);
    EXPECT_EQ(second->stackIndex(), 2);
    EXPECT_EQ(module->OpenAlerts, 2);
    EXPECT_EQ(bottom(second), bottom(first) - kFullHeight);
    openFully(first);
    openFully(second);
    EXPECT_EQ(second->outerTop() + second->outerHeight(), first->outerTop()) << "the second sits on the first";

    // Closing the lower one does not empty the stack; closing the newest does.
    first->Command1_Click();
    closeFully(first);
    EXPECT_EQ(module->OpenAlerts, 2);
    second->Command1_Click();
    closeFully(second);
    EXPECT_EQ(module->OpenAlerts, 0);
    open();
    EXPECT_EQ(popups.back()->stackIndex(), 1) << "a new alert starts the stack again at the bottom";
    EXPECT_EQ(bottom(popups.back()), kAvailableBottom);
}

TEST_F(PopupTest, FollowsTheAvailableAreaAndSurvivesTheWorkspaceClosingFirst) {
    // A panel at the top and one at the bottom of a second screen placed lower down.
    platform.desktop.screenRect = QRect(0, 200, 800, 600);
    platform.desktop.availableRect = QRect(0, 230, 800, 540);
    QPointer<AlertPopupWindow> p = open();
    EXPECT_EQ(bottom(p), (230 + 540) * 15);
    EXPECT_EQ(p->outerLeft(), 400 * 15 - 2055 / 2);

    workspace.reset();
    flushDeletes();
    EXPECT_TRUE(p.isNull()) << "the popup goes with its workspace";
}
