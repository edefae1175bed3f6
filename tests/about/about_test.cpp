// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/about_window.h"
#include "tests/support/test_platform.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

using kavi::AboutWindow;

namespace {

constexpr int N = AboutWindow::kLineCount;

class AboutTest : public ::testing::Test {
protected:
    kavi::testing::TestPlatform platform;
};

void expectCentred(const AboutWindow& about, int i) {
    // Centred in twips to a twip, and on screen to a pixel.
    EXPECT_NEAR(2 * about.lineLeft(i) + about.lineWidth(i), AboutWindow::kPanelWidth, 1) << "line " << i;
    const QRect g = about.line(i)->geometry();
    EXPECT_LE(std::abs(g.left() + g.right() + 1 - about.Picture1->width()), 2) << "line " << i;
}

} // namespace

TEST_F(AboutTest, LaysOutFortyFourCentredLinesWithTheFixedHeadings) {
    AboutWindow about(platform.platform);
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.pos(), QPoint((1280 - 320) / 2, (984 - 200) / 2)) << "centred in the available area";
    EXPECT_EQ(about.Picture1->geometry(), QRect(0, 0, 320, 200));
    EXPECT_EQ(about.Picture1->toolTip(), "Double click to stop credits.");
    EXPECT_EQ(about.Timer1->interval(), 40);
    EXPECT_TRUE(about.Timer1->isActive());
    EXPECT_EQ(about.scrollOffset(), 0) << "the initial text \"Text1\" reads as 0";

    about.Form_Resize();
    about.Form_Resize(); // a second layout makes no second set of lines
    EXPECT_EQ(about.findChildren<QLabel*>().size(), N);
    const std::map<int, QString> fixed = {{1, "Kavi 4"},          {2, "Harbor Release"},  {3, "Version 4.0.0"},
                                          {7, "Programming"},     {8, QString(11, '-')},  {11, "Beta Testers"},
                                          {12, QString(12, '-')}, {17, "Documentation"},  {18, QString(13, '-')},
                                          {22, "Design"},         {23, QString(13, '-')}, {28, "Special Thanks To"},
                                          {29, QString(17, '-')}};
    for (const auto& [i, text] : fixed) EXPECT_EQ(about.line(i)->text(), text) << "line " << i;
    for (int i : {6, 10, 16, 21, 27}) EXPECT_TRUE(about.line(i)->text().isEmpty()) << "line " << i;
    for (int i : {4, 5, 9, 13, 14, 15, 19, 20, 24, 25, 26}) EXPECT_FALSE(about.line(i)->text().isEmpty());
    for (int i = 30; i <= N; ++i) EXPECT_FALSE(about.line(i)->text().isEmpty()) << "line " << i;
    int sites = 0;
    for (int i = 30; i <= N; ++i) sites += about.line(i)->text().startsWith("www.");
    EXPECT_EQ(sites, 5);

    for (int i = 1; i <= N; ++i) {
        const QLabel* l = about.line(i);
        EXPECT_EQ(l->parentWidget(), about.Picture1) << "clipped to the panel";
        EXPECT_TRUE(l->isVisibleTo(&about));
        EXPECT_EQ(l->font().pointSize(), 12);
        EXPECT_EQ(l->palette().color(QPalette::WindowText), QColor(0xE0, 0xE0, 0xE0));
        EXPECT_EQ(about.lineTop(i), 3000 + about.lineHeight(i)) << "waiting below the panel";
        EXPECT_GT(about.lineHeight(i), 150);
        expectCentred(about, i);
    }
    EXPECT_LT(about.lineWidth(3), about.lineWidth(4)) << "widths follow the text";
}

TEST_F(AboutTest, ScrollsTwentyTwipsATickAndRestartsBelowThePanel) {
    AboutWindow about(platform.platform);
    about.Timer1_Timer();
    EXPECT_EQ(about.scrollOffset(), 0) << "no scrolling before the lines exist";
    about.Form_Resize();

    about.Timer1_Timer();
    EXPECT_EQ(about.Text1->text(), "20");
    EXPECT_EQ(about.lineTop(1), 400 + 3000 - 20);
    for (int tick = 2; tick <= 100; ++tick) about.Timer1_Timer();
    for (int i = 1; i <= N; ++i) {
        ASSERT_EQ(about.lineTop(i), 400 * i + 3000 - 2000) << "line " << i;
        expectCentred(about, i);
    }
    EXPECT_EQ(about.line(1)->y(), (400 + 1000) / 15);

    // The last line reaches -200 twips at offset 20800 and restarts once it is above that.
    while (about.scrollOffset() < 20800) about.Timer1_Timer();
    EXPECT_EQ(about.lineTop(N), -200) << "at -200 exactly the credits go on";
    about.Timer1_Timer();
    EXPECT_EQ(about.Text1->text(), "0");
    for (int i = 1; i <= N; ++i) {
        EXPECT_EQ(about.lineTop(i), 3000 + about.lineHeight(i));
        expectCentred(about, i);
    }
    about.Timer1_Timer();
    EXPECT_EQ(about.lineTop(1), 400 + 3000 - 20) << "and they come up from the bottom again";

    about.Text1->setText("garbage");
    about.Timer1_Timer();
    EXPECT_EQ(about.scrollOffset(), 20) << "a damaged offset counts as 0";
}

TEST_F(AboutTest, PanelIsTheButtonTextColourOnlyWhenItIsDark) {
    EXPECT_EQ(AboutWindow::panelColor(raster::rgb(0, 0, 0)), QColor(0, 0, 0));
    EXPECT_EQ(AboutWindow::panelColor(raster::rgb(30, 20, 60)), QColor(30, 20, 60));
    EXPECT_EQ(AboutWindow::panelColor(raster::rgb(255, 255, 255)), QColor(Qt::black));
    EXPECT_EQ(AboutWindow::panelColor(raster::rgb(200, 200, 200)), QColor(Qt::black));

    platform.systemColors.colors[kavi::kColorButtonText] = raster::rgb(20, 30, 40);
    AboutWindow about(platform.platform);
    about.Form_Resize();
    EXPECT_EQ(about.Picture1->palette().color(QPalette::Window), QColor(20, 30, 40));
    platform.systemColors.colors[kavi::kColorButtonText] = raster::rgb(240, 240, 240);
    AboutWindow light(platform.platform);
    light.Form_Resize();
    EXPECT_EQ(light.Picture1->palette().color(QPalette::Window), QColor(Qt::black));
}

TEST_F(AboutTest, ActivationRestoresThePointerAndADoubleClickCloses) {
    AboutWindow about(platform.platform);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    about.show();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy pointer is gone once the window shows";
    EXPECT_EQ(about.lineTop(1), 3000 + about.lineHeight(1)) << "showing lays the lines out";

    QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(160, 100), QPointF(160, 100), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(about.Picture1, &click);
    EXPECT_FALSE(about.isVisible());
}
