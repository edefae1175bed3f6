// SPDX-License-Identifier: GPL-3.0-or-later
// The splash opens the main window exactly once: by its timer or at once on a key press.
#include "about/splash_window.h"
#include "tests/support/fixed_facts.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::FixedScreenUnits;

TEST(Splash, TimerOpensTheMainWindowOnceAndCloses) {
    FixedScreenUnits screen;
    int opened = 0;
    SplashWindow splash(screen, [&] { ++opened; });
    splash.show();
    EXPECT_EQ(splash.Timer1->interval(), 4000);
    EXPECT_TRUE(splash.Timer1->isActive());
    EXPECT_EQ(splash.size(), QSize(281, 201));
    EXPECT_EQ(splash.Picture1->geometry(), QRect(0, 0, 281, 169));
    EXPECT_EQ(splash.Picture1->pixmap().size(), QSize(282, 171));
    EXPECT_TRUE(splash.windowTitle().isEmpty());
    splash.Timer1_Timer();
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.Timer1->isActive());
    splash.Timer1_Timer();
    EXPECT_EQ(opened, 1);
}

TEST(Splash, KeyPressOpensAtOnceAndTheTimerAddsNoSecondWindow) {
    FixedScreenUnits screen;
    int opened = 0;
    SplashWindow splash(screen, [&] { ++opened; });
    splash.show();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(&splash, &key);
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.Timer1->isActive());
    splash.Timer1_Timer();
    EXPECT_EQ(opened, 1);
}
