// SPDX-License-Identifier: GPL-3.0-or-later
// The update window against a server on 127.0.0.1 that the test runs itself.
#include "tests/update/local_http_server.h"

#include "app/main_window.h"
#include "tests/support/process_events.h"
#include "tests/support/test_platform.h"
#include "update/update_window.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::LocalHttpServer;
using kavi::testing::processEventsUntil;
using kavi::testing::TestPlatform;

namespace {

// Which of the three buttons the window offers.
QString offered(const UpdateWindow& w) {
    QString s;
    if (w.Command1->isVisibleTo(&w)) s += QStringLiteral("Yes ");
    if (w.Command3->isVisibleTo(&w)) s += QStringLiteral("Close ");
    if (w.Command2->isVisibleTo(&w)) s += QStringLiteral("Cancel ");
    return s.trimmed();
}

struct Check {
    LocalHttpServer server;
    TestPlatform tp;
    std::unique_ptr<UpdateWindow> window;

    explicit Check(const QByteArray& body, int status = 200) {
        server.body = body;
        server.status = status;
        tp.http.setBaseAddress(server.base());
    }
    UpdateWindow& run() {
        window = std::make_unique<UpdateWindow>(tp.platform);
        window->show();
        processEventsUntil([&] { return !window->isSearching(); });
        return *window;
    }
};

void expectFailureShown(UpdateWindow& w) {
    EXPECT_EQ(w.Label1->text(), QStringLiteral("Could not check for updates."));
    EXPECT_FALSE(w.Label1->toolTip().isEmpty());
    EXPECT_EQ(w.currentversion->text(), QStringLiteral("4.00"));
    EXPECT_EQ(w.newestversion->text(), QStringLiteral("unknown"));
    EXPECT_EQ(offered(w), QStringLiteral("Close"));
    w.Command3->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Rejected);
}

} // namespace

TEST(UpdateWindow, OpensAtOnceSearchingWithOnlyClose) {
    LocalHttpServer silent;
    silent.mode = LocalHttpServer::Mode::NeverAnswer;
    TestPlatform tp;
    tp.http.setBaseAddress(silent.base());
    UpdateWindow w(tp.platform);
    EXPECT_EQ(w.objectName(), QStringLiteral("update"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Kavi Update"));
    EXPECT_EQ(w.Label1->text(), QStringLiteral("Searching for newer versions of Kavi"));
    EXPECT_EQ(w.Label2->text(), QStringLiteral("Current  Version :"));
    EXPECT_EQ(w.Label3->text(), QStringLiteral("Newest  Version :"));
    EXPECT_EQ(w.Command1->text(), QStringLiteral("&Yes"));
    EXPECT_EQ(w.Command2->text(), QStringLiteral("&Cancel"));
    EXPECT_EQ(w.Command3->text(), QStringLiteral("Cl&ose"));
    EXPECT_TRUE(w.isSearching());
    EXPECT_EQ(offered(w), QStringLiteral("Close"));
    // Closing while searching abandons the fetch at once.
    w.show();
    w.Command3->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.isSearching());
}

TEST(UpdateWindow, ANewerVersionIsOfferedAndYesHandsThePackageToTheShell) {
    Check c("5.00");
    UpdateWindow& w = c.run();
    EXPECT_EQ(c.server.lastRequestLine, QByteArray("GET /kavi/kaviver.txt HTTP/1.1"));
    EXPECT_EQ(w.Label1->text(), QStringLiteral("A new update is available!"));
    EXPECT_EQ(w.currentversion->text(), QStringLiteral("4.00"));
    EXPECT_EQ(w.newestversion->text(), QStringLiteral("5.00"));
    EXPECT_EQ(offered(w), QStringLiteral("Yes Cancel"));
    w.Command1->click();
    ASSERT_EQ(c.tp.shell.calls.size(), 1u);
    EXPECT_EQ(c.tp.shell.calls[0].target, c.server.base().toString() + QStringLiteral("/kavi/kavi_amd64.deb"));
    EXPECT_EQ(c.tp.shell.calls[0].showCommand, kShowNormal);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST(UpdateWindow, CancelClosesWithoutTheShell) {
    Check c("4.51\n"); // rounds to 5
    UpdateWindow& w = c.run();
    EXPECT_EQ(offered(w), QStringLiteral("Yes Cancel"));
    w.Command2->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(c.tp.shell.calls.empty());
}

TEST(UpdateWindow, VersionsThatRoundToFourAreUpToDate) {
    for (const char* newest : {"4.10", "4.00", "4.5", "3.9"}) {
        Check c(newest);
        UpdateWindow& w = c.run();
        EXPECT_EQ(w.Label1->text(), QStringLiteral("Your version is up to date!")) << newest;
        EXPECT_EQ(w.newestversion->text(), QString::fromLatin1(newest));
        EXPECT_EQ(offered(w), QStringLiteral("Close")) << newest;
    }
}

TEST(UpdateWindow, ServerErrorsAndBadBodiesEndInTheFailureText) {
    {
        Check c("<html>Not Found</html>", 404);
        expectFailureShown(c.run());
        EXPECT_NE(c.window->Label1->toolTip().indexOf(QStringLiteral("404")), -1);
    }
    for (const QByteArray& body :
         {QByteArray("<html>Kavi</html>"), QByteArray(""), QByteArray("70000"), QByteArray(5000, '5')}) {
        Check c(body);
        expectFailureShown(c.run());
    }
}

TEST(UpdateWindow, ARefusedConnectionEndsInTheFailureText) {
    TestPlatform tp;
    tp.http.setBaseAddress(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(kavi::testing::closedLocalPort())));
    UpdateWindow w(tp.platform);
    w.show();
    processEventsUntil([&] { return !w.isSearching(); });
    expectFailureShown(w);
}

// Opened from the main window's menu entry. While the window is modal the test watches it from a
// timer: the main window's own timer keeps running during the search, and the window is closed
// with the button it offers.
struct FromMainMenu {
    TestPlatform tp;
    MainWindow main{tp.platform};
    int mainTicks = 0, ticksWhileSearching = 0;
    QString label, newest, buttons, tip;

    explicit FromMainMenu(const QUrl& server) { tp.http.setBaseAddress(server); }

    // Chooses "&Check For Updates" and, once the search has ended, presses the named button.
    void run(const QString& press) {
        main.show();
        QTimer mainTimer(&main);
        QObject::connect(&mainTimer, &QTimer::timeout, [&] { ++mainTicks; });
        mainTimer.start(20);
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            auto* w = qobject_cast<UpdateWindow*>(QApplication::activeModalWidget());
            if (!w) return;
            if (w->isSearching()) {
                ticksWhileSearching = mainTicks;
                return;
            }
            label = w->Label1->text();
            newest = w->newestversion->text();
            buttons = offered(*w);
            tip = w->Label1->toolTip();
            w->findChild<QPushButton*>(press)->click();
        });
        watcher.start(50);
        main.findChild<QAction*>(QStringLiteral("checkforupdates"))->trigger();
    }
};

TEST(UpdateFromMainWindow, ASilentServerIsBoundedByTheTimeOutWhileTheMainWindowRuns) {
    LocalHttpServer silent;
    silent.mode = LocalHttpServer::Mode::NeverAnswer;
    FromMainMenu m(silent.base());
    m.run(QStringLiteral("Command3"));
    EXPECT_EQ(silent.connections, 1);
    EXPECT_EQ(m.label, QStringLiteral("Could not check for updates."));
    EXPECT_EQ(m.newest, QStringLiteral("unknown"));
    EXPECT_EQ(m.buttons, QStringLiteral("Close"));
    EXPECT_NE(m.tip.indexOf(QStringLiteral("did not answer")), -1);
    EXPECT_GT(m.ticksWhileSearching, 10); // the main window's events ran during the search
    EXPECT_TRUE(m.main.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(UpdateFromMainWindow, YesOpensThePackageAndReturnsToTheMainWindow) {
    LocalHttpServer server;
    server.body = "5.00";
    FromMainMenu m(server.base());
    m.run(QStringLiteral("Command1"));
    EXPECT_EQ(m.label, QStringLiteral("A new update is available!"));
    EXPECT_EQ(m.buttons, QStringLiteral("Yes Cancel"));
    ASSERT_EQ(m.tp.shell.calls.size(), 1u);
    EXPECT_EQ(m.tp.shell.calls[0].target, server.base().toString() + QStringLiteral("/kavi/kavi_amd64.deb"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
