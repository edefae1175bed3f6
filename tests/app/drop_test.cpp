// SPDX-License-Identifier: GPL-3.0-or-later
// Dropping picture files from a file manager onto the main window: which cover receives them, what
// is refused and said (moves, relative addresses), and that one load runs at a time.
#include "app/main_window.h"
#include "app/notice_label.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "tests/support/picture_files.h"
#include "tests/support/process_events.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QMimeData>
#include <QToolBar>
#include <QUrl>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kavi;
using kavi::testing::pictureBytes;

namespace {

class Drop : public ::testing::Test {
protected:
    kavi::testing::TestPlatform services;
    kavi::testing::TempFolder dir;
    MainWindow window{services.platform};

    void SetUp() override {
        window.settingsFile = dir.file("kavi4.ini");
        window.show();
    }
    QPoint centreOf(QWidget* w) const { return w->mapTo(&window, w->rect().center()); }
    QPoint onCover() const { return centreOf(window.Image(window.SSTab1->currentIndex() + 1)); }

    // Drags the data onto a point of the window and drops it there, as a file manager does; the
    // drop goes to the widget that took the drag's entry. True when the drop was taken, as a copy.
    bool dropData(QMimeData& data, QPoint at, Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction,
                  Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, keys);
        QApplication::sendEvent(&window, &enter);
        enteredAs = enter.isAccepted() ? enter.dropAction() : Qt::IgnoreAction;
        QDropEvent drop(QPointF(at), offered, &data, Qt::LeftButton, keys);
        proposed = drop.proposedAction();
        QApplication::sendEvent(&window, &drop);
        droppedAs = drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
        return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
    }
    Qt::DropAction enteredAs = Qt::IgnoreAction, proposed = Qt::IgnoreAction, droppedAs = Qt::IgnoreAction;
    bool dropUrls(const QList<QUrl>& urls, QPoint at, Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction) {
        QMimeData data;
        data.setUrls(urls);
        return dropData(data, at, offered);
    }
    bool drop(const QStringList& names, QPoint at) {
        QList<QUrl> urls;
        for (const QString& name : names) urls << QUrl::fromLocalFile(dir.file(name));
        return dropUrls(urls, at);
    }
    void waitForLoad() {
        kavi::testing::processEventsUntil([this] { return !window.isLoadingPicture(); });
    }
    QString notice() const { return window.lblNotice->notice(); }
};

} // namespace

TEST_F(Drop, APictureLoadsIntoTheCoverUnderItOrTheShowingOneUprightAndInTheBusyState) {
    for (int n = 1; n <= 10; ++n) {
        dir.write(QString("p%1.bmp").arg(n), pictureBytes(10 + n, 5, Qt::green));
        window.SSTab1->setCurrentIndex(n - 1);
        ASSERT_TRUE(drop({QString("p%1.bmp").arg(n)}, centreOf(window.Image(n))));
        EXPECT_FALSE(window.Toolbar1->isEnabled()) << "busy from the drop on";
        waitForLoad();
        EXPECT_TRUE(window.Toolbar1->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(window.Image(n)->picture().size(), QSize(10 + n, 5)) << n;

    dir.write("phone.jpg", kavi::testing::rotatedPhoto(40, 20));
    window.SSTab1->setCurrentIndex(5); // PSP
    ASSERT_TRUE(drop({"phone.jpg"}, centreOf(window.Frame1))); // over the drive list
    waitForLoad();
    EXPECT_EQ(window.Image(6)->picture().size(), QSize(20, 40));
    EXPECT_EQ(window.Image(5)->picture().size(), QSize(15, 5));
    EXPECT_TRUE(notice().isEmpty());
}

TEST_F(Drop, FilesThatDoNotLoadLeaveTheCoverAndSayWhyAndOfSeveralTheFirstReadableLoads) {
    dir.write("good.bmp", pictureBytes(12, 12, Qt::green));
    dir.write("notes.jpg", "Shopping: bread, milk.");
    dir.write("huge.jpg", kavi::testing::impossiblySizedJpeg());
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.file("pipe.jpg")).constData(), 0600), 0); // opening it would wait for ever
    QDir(dir.path()).mkdir("folder.jpg");
    const std::pair<const char*, const char*> failures[] = {{"notes.jpg", "is not a readable picture"},
                                                            {"huge.jpg", "is too large"},
                                                            {"pipe.jpg", "is not an ordinary file"},
                                                            {"folder.jpg", "is a folder"},
                                                            {"gone.bmp", "could not be opened"}};
    for (const auto& [name, reason] : failures) {
        ASSERT_TRUE(drop({name, "good.bmp"}, onCover())) << name;
        waitForLoad();
        EXPECT_EQ(window.Image(1)->picture().size(), QSize(12, 12)) << name;
        EXPECT_TRUE(notice().isEmpty()) << notice().toStdString();

        window.Image(1)->setPicture(QImage(3, 3, QImage::Format_RGB32));
        drop({name}, onCover());
        waitForLoad();
        EXPECT_EQ(window.Image(1)->picture().size(), QSize(3, 3)) << name;
        EXPECT_TRUE(notice().contains(name) && notice().contains(reason)) << notice().toStdString();
        EXPECT_TRUE(window.Toolbar1->isEnabled()) << name;
    }
    drop({"notes.jpg", "pipe.jpg"}, onCover());
    waitForLoad();
    EXPECT_TRUE(notice().contains("None of the 2 dropped files loaded") && notice().contains("notes.jpg"))
        << notice().toStdString();
}

TEST_F(Drop, WhileAPictureLoadsAnotherDropOrPickIsRefused) {
    dir.write("first.bmp", pictureBytes(6, 6, Qt::green));
    dir.write("second.bmp", pictureBytes(8, 8, Qt::red));
    ASSERT_TRUE(drop({"first.bmp"}, onCover()));
    EXPECT_FALSE(drop({"second.bmp"}, onCover()));
    EXPECT_TRUE(notice().contains("still loading") && notice().contains("second.bmp")) << notice().toStdString();
    window.openPicture(dir.file("second.bmp"));
    waitForLoad();
    EXPECT_EQ(window.Image(1)->picture().size(), QSize(6, 6)) << "only the first drop loaded";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy state was entered and left once";
    ASSERT_TRUE(drop({"second.bmp"}, onCover())) << "once loaded, the next drop is taken";
    waitForLoad();
    EXPECT_EQ(window.Image(1)->picture().size(), QSize(8, 8));
}

TEST_F(Drop, TheScanTabRemoteAddressesMovesAndTextAreRefused) {
    dir.write("p.bmp", pictureBytes(8, 8, Qt::green));
    const QPoint at = onCover();
    EXPECT_FALSE(dropUrls({QUrl("https://example.org/cover.jpg")}, at));
    EXPECT_TRUE(notice().contains("https://example.org/cover.jpg") && notice().contains("not a file on this computer"))
        << notice().toStdString();
    EXPECT_FALSE(dropUrls({QUrl("file://faraway.example/covers/p.bmp")}, at));
    EXPECT_FALSE(dropUrls({QUrl::fromLocalFile(dir.file("p.bmp"))}, at, Qt::MoveAction)) << "a move deletes the file";
    QMimeData text;
    text.setText(dir.file("p.bmp"));
    EXPECT_FALSE(dropData(text, at)) << "only a list of addresses is taken";
    EXPECT_FALSE(window.Image(1)->hasPicture());
    // A remote address beside a file is skipped.
    ASSERT_TRUE(dropUrls({QUrl("https://example.org/cover.jpg"), QUrl::fromLocalFile(dir.file("p.bmp"))}, at));
    waitForLoad();
    EXPECT_EQ(window.Image(1)->picture().size(), QSize(8, 8));

    window.SSTab1->setCurrentIndex(10);
    EXPECT_FALSE(drop({"p.bmp"}, centreOf(window.SSTab1)));
    EXPECT_TRUE(notice().contains("\u201cp.bmp\u201d was not loaded: the Scan tab has no cover"))
        << notice().toStdString();
    for (int n = 2; n <= 10; ++n) EXPECT_FALSE(window.Image(n)->hasPicture()) << n;
}

// With Shift held a file manager proposes a move, which would delete the user's file once the drop
// is taken; and an address such as file:p.bmp names no file at all, whatever folder Kavi runs in.
TEST_F(Drop, AMoveProposedWithShiftIsTakenAsACopyAndARelativeFileAddressIsRefused) {
    dir.write("p.bmp", pictureBytes(7, 7, Qt::green));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dir.file("p.bmp"))});
    EXPECT_TRUE(dropData(data, onCover(), Qt::CopyAction | Qt::MoveAction, Qt::ShiftModifier));
    ASSERT_EQ(proposed, Qt::MoveAction) << "the source proposed a move";
    EXPECT_EQ(enteredAs, Qt::CopyAction);
    EXPECT_EQ(droppedAs, Qt::CopyAction);
    waitForLoad();
    EXPECT_EQ(window.Image(1)->picture().size(), QSize(7, 7));

    // Kavi running in the very folder that holds p.bmp would find it if it took the path as it stands.
    window.Image(1)->setPicture(QImage());
    const QString runningIn = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const QUrl relative(QStringLiteral("file:p.bmp"));
    ASSERT_TRUE(relative.isLocalFile());
    const bool taken = dropUrls({relative}, onCover());
    waitForLoad();
    QDir::setCurrent(runningIn);
    EXPECT_FALSE(taken);
    EXPECT_FALSE(window.Image(1)->hasPicture());
    EXPECT_TRUE(notice().contains("file:p.bmp") && notice().contains("not a file on this computer"))
        << notice().toStdString();
}
