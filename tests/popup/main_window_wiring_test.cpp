// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's "About" commands and its "Cover Manipulator" button with no cover picked.
#include "about/about_window.h"
#include "app/main_window.h"
#include "popup/alert_popup_window.h"
#include "popup/alert_state.h"
#include "tests/support/test_platform.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

using namespace kavi;

namespace {

AlertPopupWindow* openPopup() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<AlertPopupWindow*>(w); p && !p->isUnloaded()) return p;
    return nullptr;
}

class Wiring : public ::testing::Test {
protected:
    kavi::testing::TestPlatform services;
    MainWindow window{services.platform};
};

} // namespace

TEST_F(Wiring, CoverManipulatorWithNoCoverClickedShowsThePopupAndDisablesTheWindow) {
    window.show();
    ASSERT_TRUE(window.SelectedImage.isEmpty());
    window.findChild<QAction*>("Button3")->trigger();
    QPointer<AlertPopupWindow> popup = openPopup();
    ASSERT_TRUE(popup);
    EXPECT_EQ(window.alerts->AlertMessage, "Please select a cover by clicking on it and try again!");
    EXPECT_EQ(window.alerts->AlertKind, "picture");
    EXPECT_EQ(popup->lblAlert->text(), window.alerts->AlertMessage);
    EXPECT_FALSE(window.isEnabled());
    EXPECT_EQ(services.sound.played.size(), 1u);

    popup->Command1->click();
    while (popup && !popup->isUnloaded()) popup->tmrClose_Timer();
    EXPECT_TRUE(window.isEnabled()) << "enabled again once the popup unloads";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(popup.isNull());
}

TEST_F(Wiring, AboutFromToolbarAndMenuOpensModallyWithTheBusyPointerGoneOnceShown) {
    window.show();
    for (const char* command : {"Button2", "about"}) {
        bool seen = false;
        QTimer::singleShot(0, &window, [&] {
            auto* about = qobject_cast<AboutWindow*>(QApplication::activeModalWidget());
            ASSERT_TRUE(about) << command;
            seen = true;
            EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the About window restored the pointer";
            EXPECT_EQ(about->parentWidget(), &window);
            about->Picture1_DblClick();
        });
        window.findChild<QAction*>(command)->trigger();
        EXPECT_TRUE(seen) << command;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

TEST(WiringLifetime, APopupStillOpenWhenItsWindowGoesUnloadsSafely) {
    kavi::testing::TestPlatform services;
    auto window = std::make_unique<MainWindow>(services.platform);
    window->show();
    window->findChild<QAction*>("Button3")->trigger();
    QPointer<AlertPopupWindow> popup = openPopup();
    ASSERT_TRUE(popup);
    const std::weak_ptr<msnpopup> module = window->alerts;
    window.reset();
    EXPECT_FALSE(module.expired()) << "the popup keeps the module it updates when it unloads";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(popup.isNull());
    EXPECT_TRUE(module.expired());
}
