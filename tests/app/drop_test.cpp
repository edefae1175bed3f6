// Dropping picture files from a file manager onto the main window: which cover receives them, what
// is refused and said, and that one load runs at a time.
#include "frmcovercreator.h"
#include "notice_label.h"
#include "picture_slot.h"
#include "tab_strip.h"
#include "support/picture_files.h"
#include "support/process_events.h"
#include "support/temp_folder.h"
#include "support/test_platform.h"

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
using kavi::testing::TempFolder;

namespace {

class Drop : public ::testing::Test {
protected:
    kavi::testing::TestPlatform services;
    TempFolder dir;
    frmcovercreator window{services.platform};

    void SetUp() override {
        window.settingsFile = dir.file("kavi4.ini");
        window.show();
    }

    QPoint centreOf(QWidget* w) const { return w->mapTo(&window, w->rect().center()); }

    // Drags these addresses onto a point of the window and drops them there; true when the window took the drop.
    bool dropUrls(const QList<QUrl>& urls, QPoint at, Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction,
                  Qt::DropAction* taken = nullptr) {
        QMimeData data;
        data.setUrls(urls);
        // As in a real drag, the drop goes to the widget that took the drag's entry.
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QDropEvent drop(QPointF(at), offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        if (taken) *taken = drop.dropAction();
        return drop.isAccepted();
    }
    bool drop(const QStringList& names, QPoint at) {
        QList<QUrl> urls;
        for (const QString& name : names) urls << QUrl::fromLocalFile(dir.file(name));
        return dropUrls(urls, at);
    }
    bool dropOnShowingCover(const QStringList& names) {
        return drop(names, centreOf(window.Image(window.SSTab1->currentIndex() + 1)));
    }
    void waitForLoad() {
        kavi::testing::processEventsUntil([this] { return !window.isLoadingPicture(); });
    }
    QString notice() const { return window.lblNotice->notice(); }
};

} // namespace

TEST_F(Drop, APictureOnEachCoverLoadsIntoThatCoverInTheBusyState) {
    for (int n = 1; n <= 10; ++n) {
        dir.write(QString("p%1.bmp").arg(n), pictureBytes(10 + n, 5, Qt::green));
        window.SSTab1->setCurrentIndex(n - 1);
        ASSERT_TRUE(drop({QString("p%1.bmp").arg(n)}, centreOf(window.Image(n))));
        EXPECT_TRUE(window.isLoadingPicture());
        EXPECT_FALSE(window.Toolbar1->isEnabled()) << "busy from the drop on";
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
        waitForLoad();
        EXPECT_TRUE(window.Toolbar1->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(window.Image(n)->picture().size(), QSize(10 + n, 5)) << n;
    EXPECT_TRUE(notice().isEmpty());
}

TEST_F(Drop, ElsewhereOnTheWindowItLoadsIntoTheShowingCoverUpright) {
    dir.write("phone.jpg", kavi::testing::rotatedPhoto(40, 20));
    window.SSTab1->setCurrentIndex(5); // PSP
    ASSERT_TRUE(drop({"phone.jpg"}, centreOf(window.Frame1)));
    waitForLoad();
    EXPECT_EQ(window.Image(6)->picture().size(), QSize(20, 40));
    for (int n = 1; n <= 10; ++n)
        if (n != 6) {
            EXPECT_FALSE(window.Image(n)->hasPicture()) << n;
        }
}

TEST_F(Drop, FilesThatDoNotLoadLeaveTheCoverAndSayWhy) {
    dir.write("good.bmp", pictureBytes(12, 12, Qt::green));
    dir.write("notes.jpg", "Shopping: bread, milk.");
    dir.write("huge.jpg", kavi::testing::impossiblySizedJpeg());
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.file("pipe.jpg")).constData(), 0600), 0);
    QDir(dir.path()).mkdir("folder.jpg");
    ASSERT_TRUE(dropOnShowingCover({"good.bmp"}));
    waitForLoad();
    const std::pair<const char*, const char*> failures[] = {{"notes.jpg", "is not a readable picture"},
                                                            {"huge.jpg", "is too large"},
                                                            {"pipe.jpg", "is not an ordinary file"},
                                                            {"folder.jpg", "is a folder"},
                                                            {"gone.bmp", "could not be opened"}};
    for (const auto& [name, reason] : failures) {
        dropOnShowingCover({name});
        waitForLoad();
        EXPECT_EQ(window.Image(1)->picture().size(), QSize(12, 12)) << name;
        EXPECT_TRUE(notice().contains(name) && notice().contains(reason)) << notice().toStdString();
        EXPECT_TRUE(window.Toolbar1->isEnabled()) << name;
    }
}

TEST_F(Drop, APipeNamedOnTheCommandLineIsNotOpenedEither) {
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.file("pipe.bmp")).constData(), 0600), 0);
    window.openPicture(dir.file("pipe.bmp")); // opening it would wait for a writer for ever
    EXPECT_TRUE(notice().contains("is not an ordinary file")) << notice().toStdString();
    EXPECT_FALSE(window.Image(1)->hasPicture());
}

TEST_F(Drop, OfSeveralFilesTheFirstReadableOneLoads) {
    dir.write("a-notes.txt", "not a picture");
    dir.write("b.bmp", pictureBytes(7, 7, Qt::red));
    dir.write("c.bmp", pictureBytes(9, 9, Qt::blue));
    ASSERT_TRUE(dropOnShowingCover({"a-notes.txt", "b.bmp", "c.bmp"}));
    waitForLoad();
    EXPECT_EQ(window.Image(1)->picture().size(), QSize(7, 7));
    EXPECT_TRUE(notice().isEmpty()) << notice().toStdString();

    dir.write("d-notes.txt", "not a picture either");
    dropOnShowingCover({"a-notes.txt", "d-notes.txt"});
    waitForLoad();
    EXPECT_EQ(window.Image(1)->picture().size(), QSize(7, 7));
    EXPECT_TRUE(notice().contains("None of the 2 dropped files loaded") && notice().contains("a-notes.txt"))
        << notice().toStdString();
}

TEST_F(Drop, WithTheScanTabShowingNothingLoads) {
    dir.write("p.bmp", pictureBytes(8, 8, Qt::green));
    window.SSTab1->setCurrentIndex(10);
    EXPECT_FALSE(drop({"p.bmp"}, centreOf(window.SSTab1)));
    EXPECT_FALSE(window.isLoadingPicture());
    QApplication::processEvents();
    EXPECT_TRUE(notice().contains("\u201cp.bmp\u201d was not loaded: the Scan tab has no cover")) << notice().toStdString();
    for (int n = 1; n <= 10; ++n) EXPECT_FALSE(window.Image(n)->hasPicture()) << n;
}

TEST_F(Drop, WhileAPictureLoadsAnotherDropOrPickIsRefused) {
    dir.write("first.bmp", pictureBytes(6, 6, Qt::green));
    dir.write("second.bmp", pictureBytes(8, 8, Qt::red));
    ASSERT_TRUE(dropOnShowingCover({"first.bmp"}));
    EXPECT_FALSE(dropOnShowingCover({"second.bmp"}));
    EXPECT_TRUE(notice().contains("still loading") && notice().contains("second.bmp")) << notice().toStdString();
    window.openPicture(dir.file("second.bmp"));
    waitForLoad();
    EXPECT_EQ(window.Image(1)->picture().size(), QSize(6, 6)) << "only the first drop loaded";
    EXPECT_TRUE(window.Toolbar1->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy state was entered and left once";

    ASSERT_TRUE(dropOnShowingCover({"second.bmp"})) << "once loaded, the next drop is taken";
    waitForLoad();
    EXPECT_EQ(window.Image(1)->picture().size(), QSize(8, 8));
}

TEST_F(Drop, OnlyFilesOfThisComputerAreTakenAndOnlyAsACopy) {
    dir.write("p.bmp", pictureBytes(8, 8, Qt::green));
    const QPoint at = centreOf(window.Image(1));
    EXPECT_FALSE(dropUrls({QUrl("https://example.org/cover.jpg")}, at));
    EXPECT_TRUE(notice().contains("https://example.org/cover.jpg") && notice().contains("not a file on this computer"))
        << notice().toStdString();
    EXPECT_FALSE(dropUrls({QUrl("file://faraway.example/covers/p.bmp")}, at));
    EXPECT_FALSE(dropUrls({QUrl::fromLocalFile(dir.file("p.bmp"))}, at, Qt::MoveAction)) << "a move would delete the file";

    // A file manager that proposes a move gets a copy, and a remote address beside a file is skipped.
    Qt::DropAction taken = Qt::IgnoreAction;
    EXPECT_TRUE(dropUrls({QUrl("https://example.org/cover.jpg"), QUrl::fromLocalFile(dir.file("p.bmp"))}, at,
                         Qt::CopyAction | Qt::MoveAction, &taken));
    EXPECT_EQ(taken, Qt::CopyAction);
    waitForLoad();
    EXPECT_EQ(window.Image(1)->picture().size(), QSize(8, 8));

    QMimeData text;
    text.setText("just some words");
    QDragEnterEvent enter(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    EXPECT_FALSE(enter.isAccepted()) << "text that names no file is not taken";
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(dir.file("p.bmp"))});
    QDragEnterEvent enterFiles(at, Qt::CopyAction | Qt::MoveAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enterFiles);
    EXPECT_TRUE(enterFiles.isAccepted());
    EXPECT_EQ(enterFiles.dropAction(), Qt::CopyAction);
}
