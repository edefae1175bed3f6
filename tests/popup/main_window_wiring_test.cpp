// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's "About" commands and its "Cover Manipulator" button with no cover picked.
#include "frmabout.h"
#include "frmcovercreator.h"
#include "frmmsnpopup.h"
#include "msnpopup.h"
#include "support/test_platform.h"

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

frmmsnpopup* openPopup() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<frmmsnpopup*>(w); p && !p->isUnloaded()) return p;
    return nullptr;
}

class Wiring : public ::testing::Test {
protected:
    kavi::testing::TestPlatform services;
    frmcovercreator window{services.platform};
};

} // namespace

TEST_F(Wiring, CoverManipulatorWithNoCoverClickedShowsThePopupAndDisablesTheWindow) {
    window.show();
    ASSERT_TRUE(window.SelectedImage.isEmpty());
    window.findChild<QAction*>("Button3")->trigger();
    QPointer<frmmsnpopup> popup = openPopup();
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
            auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
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
    auto window = std::make_unique<frmcovercreator>(services.platform);
    window->show();
    window->findChild<QAction*>("Button3")->trigger();
    QPointer<frmmsnpopup> popup = openPopup();
    ASSERT_TRUE(popup);
    const std::weak_ptr<msnpopup> module = window->alerts;
    window.reset();
    EXPECT_FALSE(module.expired()) << "the popup keeps the module it updates when it unloads";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(popup.isNull());
    EXPECT_TRUE(module.expired());
}
