// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: geometry in twips, toolbar and menus, commands through scripted services,
// the mail link, the notification-area cycle and the order of shut-down.
#include "app/main_window.h"
#include "app/maker.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "covers/cover_kinds.h"
#include "tests/support/test_platform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

#include <cmath>

using namespace kavi;

namespace {

// At 96 dpi a pixel is 15 twips.
int px(int t) { return int(std::lround(t / 15.0)); }
QRect twips(int l, int t, int w, int h) { return QRect(px(l), px(t), px(w), px(h)); }

class TheMainWindow : public ::testing::Test {
protected:
    kavi::testing::TestPlatform services;
    MainWindow window{services.platform};

    void minimise() {
        window.showMinimized();
        QApplication::processEvents();
    }

    QStringList menuEntries(QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }
};

} // namespace

TEST_F(TheMainWindow, ControlsStandAtTheirPositionsInTwips) {
    window.show();
    EXPECT_EQ(window.windowTitle(), "Kavi 4");
    EXPECT_EQ(window.centralWidget()->size(), QSize(858, 458)) << "client area 12870 x 6870 twips";
    EXPECT_EQ(window.SSTab1->geometry(), twips(4560, 840, 6765, 4845));
    EXPECT_EQ(window.Frame1->geometry(), twips(120, 720, 4335, 735));
    EXPECT_EQ(window.Frame2->geometry(), twips(120, 1680, 4335, 2055));
    EXPECT_EQ(window.Frame3->geometry(), twips(120, 3840, 4335, 2895));
    EXPECT_EQ(window.Frame4->geometry(), twips(4560, 5760, 6735, 975));
    EXPECT_EQ(window.cmdPrint->geometry(), twips(5280, 360, 1215, 375));
    EXPECT_EQ(window.Check(1)->geometry(), twips(240, 240, 735, 295));
    EXPECT_EQ(window.Check(7)->geometry(), twips(2400, 600, 735, 195));
    EXPECT_EQ(window.Check(10)->geometry(), twips(4200, 550, 855, 295));
    for (int n = 1; n <= 10; ++n) {
        PictureSlot* slot = window.Image(n);
        window.SSTab1->setCurrentIndex(n - 1);
        const QRect inStrip(slot->mapTo(window.SSTab1, QPoint(0, 0)), slot->size());
        EXPECT_EQ(inStrip, twips(120, 480, 6495, 4245)) << "slot " << n << " inside the tab strip";
        EXPECT_EQ(slot->toolTip(), "Cover image.");
    }
}

TEST_F(TheMainWindow, TabsChecksAndTooltipsFollowTheKindTable) {
    ASSERT_EQ(window.SSTab1->count(), 13); // with the two disc kinds' tabs after Scan
    EXPECT_EQ(window.SSTab1->tabText(9), "Blu");
    EXPECT_EQ(window.SSTab1->tabText(10), "Scan");
    EXPECT_EQ(window.Check(10)->text(), "Blu-Ray");
    EXPECT_EQ(window.Check(3)->toolTip(), "Print back cd cover (not needed for slim jewel cases).");
    EXPECT_EQ(window.cmdPrint->toolTip(), "Print covers.");
    EXPECT_FALSE(window.cmdPrint->isEnabled());
    EXPECT_EQ(window.findChild<QCheckBox*>("Check5")->text(), "Mini CD");
}

TEST_F(TheMainWindow, ToolbarAndMenusCarryTheirCaptionsInOrder) {
    QStringList captions;
    for (QAction* a : window.Toolbar1->actions()) {
        captions << a->text();
        EXPECT_FALSE(a->icon().isNull()) << a->text().toStdString();
    }
    EXPECT_EQ(captions,
              QStringList({"Print Cover", "About", "Cover Manipulator", "Report A Bug", "Help", "Visit Website"}));
    EXPECT_EQ(window.File->title(), "&File");
    EXPECT_EQ(menuEntries(window.File),
              QStringList({"&Print", "Print Pre&view", "Print &To...", "&Export PDF...", "Save Cover Picture &As...",
                           "-", "&Open Cover Set...", "Save Cover Se&t...", "&New Cover From Layout...",
                           "Save As La&yout...", "-", "Pape&r", "Cut &Marks", "-", "&Label Stock...", "&Select Printer",
                           "&Calibrate Printer...", "-", "E&xit"}));
    EXPECT_EQ(window.help->title(), "&Help");
    EXPECT_EQ(menuEntries(window.help),
              QStringList({"Help &Contents", "-", "&Report A Bug", "&Visit Website", "-", "&Check For Updates",
                           "System &Information...", "-", "&About"}));
}

TEST_F(TheMainWindow, SystemInformationOpensModallyAndReturnsWhenClosed) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        seen = modal->inherits("kavi::SystemInfoWindow") && modal->isVisible() && modal->isWindow();
        modal->close();
    });
    window.findChild<QAction*>("systeminformation")->trigger();
    QCoreApplication::processEvents(); // runs the check here even when no window held the call
    EXPECT_TRUE(seen) << "the system information window was not the modal window";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(TheMainWindow, PrintingWithNothingTickedSaysSoFromToolbarAndMenu) {
    window.Toolbar1_ButtonClick(1);
    window.findChild<QAction*>("Print")->trigger();
    ASSERT_EQ(services.messages.shown.size(), 2u);
    for (const auto& box : services.messages.shown) {
        EXPECT_EQ(box.text, "Please select a cover option to print!");
        EXPECT_EQ(box.title, "No Cover Option Selected!");
        EXPECT_EQ(box.icon, MsgIcon::Critical);
        EXPECT_EQ(box.buttons, MsgButtons::Ok);
    }
    window.Check(4)->click();
    services.printers.install({"Office"});
    window.Toolbar1_ButtonClick(1);
    ASSERT_EQ(services.messages.shown.size(), 3u);
    EXPECT_EQ(services.messages.shown[2].title, "Printing Covers") << "with a tick, Print is pressed instead";
}

TEST_F(TheMainWindow, HelpWebsiteAndBugReportGoToTheirServices) {
    window.Form_Load();
    window.Toolbar1_ButtonClick(5);
    window.findChild<QAction*>("contents")->trigger();
    ASSERT_EQ(services.help.calls.size(), 2u);
    EXPECT_EQ(services.help.calls[0].command, HelpCommand::DisplayToc);
    EXPECT_EQ(services.help.calls[1].command, HelpCommand::DisplayTopic);
    EXPECT_TRUE(services.help.calls[0].file.endsWith("/Kavi4.chm"));
    EXPECT_EQ(services.help.calls[0].owner, &window);

    window.Toolbar1_ButtonClick(6);
    window.findChild<QAction*>("reportabug")->trigger();
    ASSERT_EQ(services.shell.calls.size(), 2u);
    EXPECT_EQ(services.shell.calls[0].target, QString::fromUtf8(maker::kWebsite));
    EXPECT_EQ(services.shell.calls[0].showCommand, kShowNormal);
    EXPECT_EQ(services.shell.calls[1].target,
              QStringLiteral("mailto:") + maker::kSupportEmail +
                  "?subject=Kavi 4 Bug Report (Version 4.0.0 Harbor Release)");
    EXPECT_EQ(services.shell.calls[1].showCommand, kShow);
}

TEST_F(TheMainWindow, ALinkThatNoProgramOpensIsShownForCopying) {
    window.Toolbar1_ButtonClick(6);
    window.reportabug_Click();
    ASSERT_EQ(services.shell.calls.size(), 2u);
    for (const auto& call : services.shell.calls) call.whenFailed();
    ASSERT_EQ(services.messages.shown.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(services.messages.shown[i].text.endsWith("\n" + services.shell.calls[i].target));
        EXPECT_TRUE(services.messages.shown[i].selectableText);
    }
}

TEST_F(TheMainWindow, MailLinksKeepTheirTextUnescaped) {
    window.OpenEmail("MailTo:a@b.example", "", "");
    window.OpenEmail("a@b.example", "", "Hi & bye");
    window.OpenEmail("a@b.example", "S p", "B?x");
    window.OpenEmail("mailto", "", "");
    ASSERT_EQ(services.shell.calls.size(), 4u);
    EXPECT_EQ(services.shell.calls[0].target, "MailTo:a@b.example");
    EXPECT_EQ(services.shell.calls[1].target, "mailto:a@b.example?body=Hi & bye");
    EXPECT_EQ(services.shell.calls[2].target, "mailto:a@b.example?subject=S p&body=B?x");
    EXPECT_EQ(services.shell.calls[3].target, "mailto:mailto");
}

TEST_F(TheMainWindow, MinimisingHidesIntoTheTrayAndActivationsBringItBack) {
    window.Form_Load();
    minimise();
    EXPECT_TRUE(window.InTray);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(services.tray.shown);
    EXPECT_EQ(services.tray.tip, "Kavi 3");

    window.trayicon_MouseMove(514 * 15.0); // a button release does nothing
    EXPECT_TRUE(window.InTray);
    window.trayicon_MouseMove(515 * 15.0); // the double-click
    EXPECT_FALSE(window.InTray);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
    EXPECT_FALSE(services.tray.shown);

    minimise();
    ASSERT_TRUE(window.InTray);
    services.tray.activate(TrayActivation::SingleClick); // a D-Bus tray's half of a double-click
    EXPECT_FALSE(window.InTray);
    EXPECT_TRUE(window.isVisible());

    minimise();
    services.tray.activate(TrayActivation::DoubleClick);
    EXPECT_FALSE(window.InTray);
    services.tray.activate(TrayActivation::DoubleClick); // not in the tray: nothing happens
    EXPECT_EQ(services.tray.showCount, 3);
}

// Also run under a window manager (xvfb-run with metacity, QT_QPA_PLATFORM=xcb), where a window
// shown again after hiding is placed anew unless told where to go.
TEST_F(TheMainWindow, LeavingTheTrayPutsTheWindowBackWhereItWas) {
    window.Form_Load();
    window.move(140, 90);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(200); // a window manager may still place the frame
    const QRect frameBefore = window.frameGeometry();
    window.showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.InTray; }));
    QTest::qWait(200); // the window manager lets the hidden window go
    window.trayicon_MouseMove(515 * 15.0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(200);
    EXPECT_EQ(window.frameGeometry(), frameBefore);
}

TEST_F(TheMainWindow, WithoutANotificationAreaMinimisingKeepsTheTaskbarEntry) {
    services.tray.available = false;
    window.Form_Load();
    minimise();
    EXPECT_FALSE(window.InTray);
    EXPECT_TRUE(window.isVisible()) << "a hidden window without a tray icon could never be found again";
    EXPECT_FALSE(services.tray.shown);
}

TEST_F(TheMainWindow, ResizingIsUndone) {
    window.Form_Load();
    const QSize fixed = window.size();
    window.resize(fixed + QSize(200, 100));
    EXPECT_EQ(window.size(), fixed);
}

TEST_F(TheMainWindow, UnloadRunsOnceAndClosesTheHelp) {
    window.Form_Load();
    minimise();
    window.exit_Click();
    window.Form_Unload();
    int closes = 0;
    for (const auto& c : services.help.calls) closes += c.command == HelpCommand::CloseAll;
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(services.tray.shown) << "the tray icon goes with the window";
}

TEST_F(TheMainWindow, ImageWriterStartsBeforeTheWindowShowsAndStopsAtUnload) {
    QTemporaryDir dir;
    window.settingsFile = dir.filePath("kavi4.ini");
    bool visibleAtStartup = true;
    services.journal.observer = [&](const QString& entry) {
        if (entry == "encoders:startup") visibleAtStartup = window.isVisible();
    };
    EXPECT_EQ(window.gdip, nullptr);
    window.Form_Load();
    EXPECT_FALSE(visibleAtStartup);
    EXPECT_NE(window.gdip, nullptr);
    window.Form_Unload();
    EXPECT_EQ(window.gdip, nullptr);
    EXPECT_EQ(services.imageEncoders.shutdowns, (std::vector<std::uintptr_t>{services.imageEncoders.token}));
}

TEST(MainWindowPrinting, UnloadPutsTheStartUpPrinterBackFirst) {
    kavi::testing::TestPlatform s;
    s.printers.install({"Office", "Photo"});
    s.printers.userSetting = "Office"; // the user's own default at start-up
    MainWindow window(s.platform);
    QTemporaryDir settings;
    window.settingsFile = settings.filePath("kavi4.ini");
    window.Form_Load();
    EXPECT_TRUE(window.OriginalPrinter.found);
    EXPECT_EQ(window.OriginalPrinter.deviceName, "Office");
    EXPECT_EQ(window.OriginalPrinter.port, "Office-port");

    window.A_Click(); // the chooser is not modal
    QWidget* chooser = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "Form1" && w->isVisible()) chooser = w;
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->parentWidget(), nullptr) << "the chooser has no owner";
    EXPECT_FALSE(chooser->isModal());
    auto* list = chooser->findChild<QListWidget*>("List1");
    list->item(1)->setSelected(true);
    chooser->findChild<QPushButton*>("Command1")->click();
    EXPECT_EQ(s.printers.deviceEntry, "Photo,Photo driver,Photo-port");

    s.journal.entries.clear();
    window.Form_Unload();
    EXPECT_EQ(
        s.journal.entries,
        (std::vector<QString>{"printers:write Office,Office driver,Office-port", "encoders:shutdown", "help:18"}));
    EXPECT_EQ(s.printers.userSetting, QString("Office"));
}

TEST(MainWindowPrinting, PrintSendsTheTickedSlotsPictureAndNothingFoundRestoresNothing) {
    kavi::testing::TestPlatform s;
    s.printers.install({"Office"});
    s.printers.deviceEntry = "Elsewhere,x,y"; // a default that is not installed
    MainWindow window(s.platform);
    QTemporaryDir settings;
    window.settingsFile = settings.filePath("kavi4.ini"); // starts with nothing ticked
    window.Form_Load();
    EXPECT_FALSE(window.OriginalPrinter.found);

    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    picture.setText("slot", "dvd picture");
    window.Image(4)->setPicture(picture);
    window.Check(4)->click();
    window.findChild<QAction*>("Print")->trigger();
    ASSERT_EQ(s.messages.shown.size(), 1u);
    EXPECT_EQ(s.messages.shown[0].text, "Please make sure your printer is on and you are using LEGAL sized paper!");
    EXPECT_EQ(s.printer.ops,
              (std::vector<QString>{"follow 1", "paper 5", "orientation 2", "draw dvd picture 0,0 15390x10260",
                                    "end document", "paper 1"}));
    window.Form_Unload();
    EXPECT_TRUE(s.printers.entryWrites.empty());
    EXPECT_EQ(s.printers.deviceEntry, "Elsewhere,x,y");
}
