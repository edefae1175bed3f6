// Opening a link with xdg-open: the caller never waits for it, and a handler that is missing,
// fails or cannot open the link is reported from the event loop.
#include "desktop/shell.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace kavi {
namespace {

using kavi::testing::TempFolder;

// PATH holds only a folder of our own for the life of the object, with an xdg-open stand-in when
// a script is given.
class StandInPath {
public:
    explicit StandInPath(const QByteArray& script = {}) : saved_(qgetenv("PATH")) {
        if (!script.isEmpty()) {
            const QString path = folder.write("xdg-open", "#!/bin/sh\n" + script);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", QFile::encodeName(folder.path()));
    }
    ~StandInPath() { qputenv("PATH", saved_); }
    TempFolder folder;

private:
    QByteArray saved_;
};

struct Opening {
    XdgShell shell;
    int failures = 0;
    int open(const QString& target) {
        return shell.open(target, kShowNormal, [this] { ++failures; });
    }
    bool settled() { return QTest::qWaitFor([&] { return shell.running() == 0; }); }
};

TEST(XdgShell, AMissingXdgOpenIsReportedFromTheEventLoop) {
    StandInPath path;
    Opening o;
    EXPECT_LE(o.open("https://example.org/"), 32);
    EXPECT_EQ(o.failures, 0) << "reported later, never inside the call";
    EXPECT_TRUE(QTest::qWaitFor([&] { return o.failures == 1; }));
}

TEST(XdgShell, AFailingOrSucceedingHandlerIsToldApart) {
    StandInPath path("[ \"$1\" = https://example.org/ ] && exit 0\nexit 3\n");
    Opening o;
    EXPECT_GT(o.open("https://example.org/"), 32);
    ASSERT_TRUE(o.settled());
    EXPECT_EQ(o.failures, 0);

    EXPECT_GT(o.open("mailto:a@b.example?subject=A (b)"), 32);
    ASSERT_TRUE(o.settled());
    EXPECT_EQ(o.failures, 1);
}

TEST(XdgShell, ASlowHandlerDoesNotHoldTheCaller) {
    // The stand-in waits until the test, back from open, lets it go; then it fails.
    StandInPath path;
    const QString release = path.folder.file("release");
    const QString script = path.folder.write(
        "xdg-open", "#!/bin/sh\nwhile [ ! -e '" + QFile::encodeName(release) + "' ]; do /bin/sleep 0.05; done\nexit 4\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    Opening o;
    EXPECT_GT(o.open("https://example.org/"), 32);
    EXPECT_EQ(o.shell.running(), 1);
    EXPECT_FALSE(QTest::qWaitFor([&] { return o.failures > 0; }, 300)) << "still waiting for its release";
    path.folder.write("release", "");
    ASSERT_TRUE(o.settled());
    EXPECT_EQ(o.failures, 1);
}

TEST(XdgShell, AHandlerStillRunningAtTheEndIsStopped) {
    StandInPath path("exec /bin/sleep 600\n");
    auto o = std::make_unique<Opening>();
    o->open("https://example.org/");
    ASSERT_TRUE(QTest::qWaitFor([&] { return o->shell.running() == 1; }));
    o.reset(); // returns without waiting for the handler's ten minutes
    SUCCEED();
}

} // namespace
} // namespace kavi
