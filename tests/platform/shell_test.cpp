// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a link with xdg-open: the caller never waits for it, and a handler that is missing or
// fails is reported from the event loop.
#include "platform/desktop/shell.h"
#include "tests/support/temp_folder.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace kavi {
namespace {

// PATH holds only a folder of ours, with an xdg-open stand-in running script when one is given.
struct StandIn {
    explicit StandIn(const QByteArray& script = {}) {
        if (!script.isEmpty())
            QFile::setPermissions(
                folder.write("xdg-open", "#!/bin/sh\ncd '" + QFile::encodeName(folder.path()) + "'\n" + script),
                QFile::ReadOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(folder.path()));
    }
    ~StandIn() { qputenv("PATH", saved); }
    int open(const QString& target) {
        return shell.open(target, kShowNormal, [this] { ++failures; });
    }
    bool settled() {
        return QTest::qWaitFor([&] { return shell.running() == 0; });
    }

    QByteArray saved = qgetenv("PATH");
    kavi::testing::TempFolder folder;
    XdgShell shell;
    int failures = 0;
};

TEST(XdgShell, AMissingXdgOpenIsReportedFromTheEventLoop) {
    StandIn s;
    EXPECT_LE(s.open("https://example.org/"), 32);
    EXPECT_EQ(s.failures, 0) << "reported later, never inside the call";
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.failures == 1; }));
}

TEST(XdgShell, AFailingHandlerIsReportedAndASlowOneDoesNotHoldTheCaller) {
    // Opens only the example address, and waits for a file the test makes once open has returned.
    StandIn s("while [ ! -e release ]; do /bin/sleep 0.05; done\n[ \"$1\" = https://example.org/ ]\n");
    EXPECT_GT(s.open("https://example.org/"), 32);
    EXPECT_GT(s.open("mailto:a@b.example?subject=A (b)"), 32);
    EXPECT_EQ(s.shell.running(), 2);
    s.folder.write("release", "");
    ASSERT_TRUE(s.settled());
    EXPECT_EQ(s.failures, 1);
}

} // namespace
} // namespace kavi
