// SPDX-License-Identifier: GPL-3.0-or-later
// Picking pictures: the chained lists, the tab-to-slot map, the busy state, EXIF orientation,
// refreshes that keep the user's place, and FileExists.
#include "app/file_exists.h"
#include "app/file_list.h"
#include "app/folder_list.h"
#include "app/main_window.h"
#include "app/notice_label.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "output/print/print_job.h"
#include "tests/output/print/pdf_probe.h"
#include "tests/support/picture_files.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kavi;
using kavi::testing::pictureBytes;
using kavi::testing::rotatedPhoto;
using kavi::testing::TempFolder;

namespace {

class Picking : public ::testing::Test {
protected:
    kavi::testing::TestPlatform services;
    TempFolder dir;
    MainWindow window{services.platform};

    void SetUp() override {
        window.settingsFile = dir.file("kavi4.ini");
        ASSERT_TRUE(window.dirSelect->setPath(dir.path()));
    }
    void pick(const QString& name) {
        const int row = int(window.fileSelect->entries().indexOf(name));
        ASSERT_GE(row, 0) << name.toStdString();
        window.fileSelect->selectRow(row);
    }
};

} // namespace

TEST_F(Picking, TheListShowsPictureFilesOfAnyCaseWithoutHiddenOnes) {
    for (const char* name : {"a.jpg", "B.JPG", "c.Jpeg", "d.bmp", "e.gif", "f.png", "g.TIF", "h.tiff", "i.webp",
                             ".hidden.jpg", "noext", "g.jpg.txt"})
        dir.write(name, "x");
    QDir(dir.path()).mkdir("folder.jpg");
    // A named pipe holds no picture, and opening it would wait for a writer forever.
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.file("pipe.jpg")).constData(), 0600), 0);
    window.dirSelect->refresh();
    window.fileSelect->refresh();
    EXPECT_EQ(window.fileSelect->entries(),
              QStringList({"a.jpg", "B.JPG", "c.Jpeg", "d.bmp", "e.gif", "f.png", "g.TIF", "h.tiff"}));
}

TEST_F(Picking, PngAndTifFilesAsSaveWritesThemArePicked) {
    dir.write("saved.png", pictureBytes(24, 16, Qt::darkCyan, "PNG"));
    dir.write("saved.tif", pictureBytes(24, 16, Qt::darkCyan, "TIFF"));
    window.fileSelect->refresh();
    for (const auto& [name, tab] : {std::pair{"saved.png", 0}, {"saved.tif", 1}}) {
        window.SSTab1->setCurrentIndex(tab);
        pick(name);
        EXPECT_EQ(window.Image(tab + 1)->picture().pixel(5, 5), QColor(Qt::darkCyan).rgb()) << name;
    }
}

TEST_F(Picking, TheHighlightedFileIsPickedAgainForTheNextTab) {
    dir.write("photo.bmp", pictureBytes(30, 20, Qt::magenta));
    window.fileSelect->refresh();
    window.show();
    const auto clickEntry = [this](const QString& name) {
        const QModelIndex index = window.fileSelect->model()->index(int(window.fileSelect->entries().indexOf(name)), 0);
        QTest::mouseClick(window.fileSelect->viewport(), Qt::LeftButton, {},
                          window.fileSelect->visualRect(index).center());
    };
    clickEntry("photo.bmp");
    ASSERT_TRUE(window.Image(1)->hasPicture());
    window.SSTab1->setCurrentIndex(1);
    EXPECT_TRUE(window.fileSelect->selectedEntry().isEmpty()) << "a tab change leaves nothing picked";
    EXPECT_FALSE(window.Image(2)->hasPicture()) << "and loads nothing";
    clickEntry("photo.bmp");
    EXPECT_EQ(window.Image(2)->picture().size(), QSize(30, 20));
    EXPECT_EQ(window.fileSelect->selectedEntry(), "photo.bmp");
}

TEST_F(Picking, APickLandsInTheSlotOfTheShownTabOnly) {
    dir.write("blue.bmp", pictureBytes(40, 30, Qt::blue));
    window.fileSelect->refresh();
    window.Check(1)->click();
    window.SSTab1->setCurrentIndex(3); // DVD, although Front is ticked
    pick("blue.bmp");
    ASSERT_TRUE(window.Image(4)->hasPicture());
    EXPECT_EQ(window.Image(4)->picture().size(), QSize(40, 30)) << "the slot keeps the whole picture";
    EXPECT_EQ(window.Image(4)->picture().pixel(0, 0), QColor(Qt::blue).rgb());
    for (int n = 1; n <= 10; ++n) {
        if (n != 4) {
            EXPECT_FALSE(window.Image(n)->hasPicture()) << n;
        }
    }
    EXPECT_TRUE(window.SelectedImage.isEmpty()) << "a pick selects nothing";
    EXPECT_FALSE(window.Check(4)->isChecked()) << "a pick ticks nothing";
    EXPECT_EQ(window.SSTab1->currentIndex(), 3);

    window.SSTab1->setCurrentIndex(10); // Scan: the pick is ignored
    dir.write("red.bmp", pictureBytes(8, 8, Qt::red));
    window.fileSelect->refresh();
    pick("red.bmp");
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(window.Image(n)->hasPicture(), n == 4) << n;
}

TEST_F(Picking, ArrowKeysLoadEachFileInTurn) {
    dir.write("1.bmp", pictureBytes(10, 10, Qt::red));
    dir.write("2.bmp", pictureBytes(20, 10, Qt::green));
    window.fileSelect->refresh();
    window.SSTab1->setCurrentIndex(6);
    pick("1.bmp");
    EXPECT_EQ(window.Image(7)->picture().width(), 10);
    QTest::keyClick(window.fileSelect, Qt::Key_Down);
    EXPECT_EQ(window.Image(7)->picture().width(), 20);
}

TEST_F(Picking, AFileThatDoesNotDecodeKeepsTheSlotAndLeavesTheBusyState) {
    dir.write("good.bmp", pictureBytes(12, 12, Qt::green));
    dir.write("broken.jpg", QByteArray("\xFF\xD8\xFF\xE0 this is not a picture", 26));
    window.fileSelect->refresh();
    pick("good.bmp");
    pick("broken.jpg");
    EXPECT_EQ(window.Image(1)->picture().size(), QSize(12, 12));
    EXPECT_TRUE(window.Toolbar1->isEnabled());
    EXPECT_TRUE(window.File->isEnabled());
    EXPECT_TRUE(window.help->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Picking, AFileClaimingAnImpossibleSizeIsRefusedBeforeDecoding) {
    dir.write("huge.jpg", kavi::testing::impossiblySizedJpeg());
    dir.write("small.bmp", pictureBytes(8, 8, Qt::blue));
    window.fileSelect->refresh();
    pick("small.bmp");
    const QImage before = window.Image(1)->picture();
    pick("huge.jpg");
    EXPECT_EQ(window.Image(1)->picture(), before) << "the slot keeps its picture";
    EXPECT_TRUE(window.lblNotice->notice().contains("is too large")) << window.lblNotice->notice().toStdString();
    EXPECT_TRUE(window.Toolbar1->isEnabled()) << "and the window is not left busy";
}

TEST_F(Picking, TheNoticeSaysWhyAFileDidNotLoad) {
    dir.write("good.bmp", pictureBytes(12, 12, Qt::green));
    dir.write("broken.jpg", QByteArray("\xFF\xD8\xFF\xE0 this is not a picture", 26));
    dir.write("empty.gif", QByteArray());
    const QByteArray photo = pictureBytes(64, 64, Qt::yellow, "JPEG");
    dir.write("cut.jpg", photo.left(photo.size() - 3)); // its last byte of picture data and the end marker gone
    window.fileSelect->refresh();
    pick("good.bmp");
    EXPECT_TRUE(window.lblNotice->notice().isEmpty()) << "a good pick says nothing";
    const std::pair<const char*, const char*> failures[] = {{"broken.jpg", "is not a readable picture"},
                                                            {"empty.gif", "is not a readable picture"},
                                                            {"cut.jpg", "is incomplete"}};
    for (const auto& [name, reason] : failures) {
        pick(name);
        EXPECT_EQ(window.Image(1)->picture().size(), QSize(12, 12)) << name;
        const QString notice = window.lblNotice->notice();
        EXPECT_TRUE(notice.contains(name) && notice.contains(reason)) << notice.toStdString();
    }

    // The key that moved onto a bad file brought its notice; the next key takes it away.
    window.show();
    pick("good.bmp");
    QTest::keyClick(window.fileSelect, Qt::Key_Up); // onto empty.gif
    QApplication::processEvents();
    EXPECT_TRUE(window.lblNotice->notice().contains("empty.gif"));
    QTest::keyClick(window.fileSelect, Qt::Key_Down); // back onto the good file
    EXPECT_TRUE(window.lblNotice->notice().isEmpty());
    EXPECT_EQ(window.fileSelect->selectedEntry(), "good.bmp");
}

TEST_F(Picking, PhotosWithAnOrientationTagLandUpright) {
    dir.write("phone.jpg", rotatedPhoto(40, 20));
    window.fileSelect->refresh();
    pick("phone.jpg");
    EXPECT_EQ(window.Image(1)->picture().size(), QSize(20, 40));
}

TEST_F(Picking, RootFolderJoinsWithASingleSlash) {
    EXPECT_EQ(FileList::fullName("/", "a.jpg"), "/a.jpg");
    EXPECT_EQ(FileList::fullName("/home/ann", "a.jpg"), "/home/ann/a.jpg");
}

TEST_F(Picking, TimerRefreshesKeepTheSelectionAndScrollWithoutReloading) {
    for (int i = 0; i < 200; ++i) dir.write(QString("p%1.bmp").arg(i, 3, 10, QChar('0')), "x");
    dir.write("p150.bmp", pictureBytes(5, 5, Qt::red));
    window.fileSelect->refresh();
    window.show();
    pick("p150.bmp");
    window.Image(1)->setPicture(QImage(3, 3, QImage::Format_RGB32)); // a reload would replace this
    window.fileSelect->scrollTo(window.fileSelect->model()->index(150, 0));
    const int scroll = window.fileSelect->verticalScrollBar()->value();
    ASSERT_GT(scroll, 0);
    dir.write("a-new.bmp", "x");
    QFile::remove(dir.file("p000.bmp"));
    window.Timer1_Timer();
    EXPECT_TRUE(window.fileSelect->entries().contains("a-new.bmp"));
    EXPECT_EQ(window.fileSelect->selectedEntry(), "p150.bmp");
    EXPECT_EQ(window.fileSelect->verticalScrollBar()->value(), scroll);
    EXPECT_EQ(window.Image(1)->picture().size(), QSize(3, 3));

    QDir(dir.path()).mkdir("sub");
    window.Timer2_Timer();
    bool listed = false;
    for (int i = 0; i < window.dirSelect->count(); ++i) listed |= window.dirSelect->item(i)->text().trimmed() == "sub";
    EXPECT_TRUE(listed);
}

TEST_F(Picking, FolderListOpensSubfoldersAndTheFileListFollows) {
    QDir(dir.path()).mkdir("covers");
    dir.write("covers/x.gif", "x");
    window.dirSelect->refresh();
    ASSERT_TRUE(window.dirSelect->setPath(dir.file("covers")));
    EXPECT_EQ(window.fileSelect->path(), dir.file("covers"));
    EXPECT_EQ(window.fileSelect->entries(), QStringList({"x.gif"}));
    EXPECT_FALSE(window.dirSelect->setPath(dir.file("no-such-folder")));
    EXPECT_EQ(window.dirSelect->path(), dir.file("covers"));
}

TEST(FileExists, FilesOfEveryKindCountAndFoldersNever) {
    TempFolder dir;
    dir.write(".hidden", "x");
    const QString ro = dir.write("readonly.txt", "x");
    QFile::setPermissions(ro, QFile::ReadOwner);
    QDir(dir.path()).mkdir("folder");
    EXPECT_TRUE(fileExists(dir.file(".hidden")));
    EXPECT_TRUE(fileExists(dir.file("readonly.txt")));
    EXPECT_FALSE(fileExists(dir.file("folder")));
    EXPECT_FALSE(fileExists(dir.file("absent")));
    EXPECT_TRUE(fileExists(dir.file("read*.t?t")));
    EXPECT_TRUE(fileExists(dir.file("*")));
    EXPECT_FALSE(fileExists(dir.file("fold*")));
    EXPECT_FALSE(fileExists(dir.file("*.bmp")));
    EXPECT_FALSE(fileExists(""));
    EXPECT_TRUE(wildcardMatch("a*b*c", "axxbyyc"));
    EXPECT_FALSE(wildcardMatch("a*b?c", "abc"));
}

// A picture named on the command line goes the way of a pick, into the cover whose tab is showing.
TEST_F(Picking, APictureFromTheCommandLineLoadsIntoTheShowingCoverOrSaysWhyNot) {
    dir.write("cli.bmp", pictureBytes(14, 9, Qt::green));
    dir.write("text.png", "not a picture");
    window.SSTab1->setCurrentIndex(4);
    window.openPicture(dir.file("cli.bmp"));
    EXPECT_EQ(window.Image(5)->picture().size(), QSize(14, 9));
    EXPECT_FALSE(QApplication::overrideCursor()) << "the busy state ended";
    EXPECT_TRUE(window.lblNotice->notice().isEmpty());

    window.openPicture(dir.file("text.png"));
    EXPECT_EQ(window.Image(5)->picture().size(), QSize(14, 9)) << "a failed load keeps the cover";
    EXPECT_TRUE(window.lblNotice->notice().contains("text.png")) << window.lblNotice->notice().toStdString();

    window.openPicture(dir.file("gone.jpg"));
    EXPECT_TRUE(window.lblNotice->notice().contains("\u201cgone.jpg\u201d could not be opened"))
        << window.lblNotice->notice().toStdString();

    window.SSTab1->setCurrentIndex(10); // Scan
    window.openPicture(dir.file("cli.bmp"));
    EXPECT_TRUE(window.lblNotice->notice().contains("Scan tab")) << window.lblNotice->notice().toStdString();
    for (int n = 1; n <= 10; ++n)
        if (n != 5) {
            EXPECT_FALSE(window.Image(n)->hasPicture()) << n;
        }
}

namespace {

// A grainy photograph as a JPEG file, so that its bytes and any re-encoding tell apart.
QByteArray photoJpeg(int w, int h, int seed) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 7 + seed) & 255, (y * 5 + seed * 3) & 255, (x ^ y) & 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

// The first cover printed to a PDF file from the window's slots, as the export does; the pictures
// of the file as pdfimages finds them ("jpeg" or "image").
struct PrintedCover {
    QString encoding;
    QByteArray jpeg; // the picture's stream as pdfimages -j extracts a JPEG one
    qint64 fileSize = 0;
};

PrintedCover printFirstCover(const MainWindow& window, const TempFolder& dir) {
    PrintSelection selection = window.printSelection();
    selection.ticked = {};
    selection.ticked[0] = true;
    kavi::testing::InMemoryPrinters printers;
    CupsPrinterObject printer(printers);
    const QString pdf = dir.file("job.pdf");
    QFile::remove(pdf);
    printer.printNextJobToFile(pdf);
    const PreparedJob job = prepareJob(printer, selection, true);
    EXPECT_TRUE(sendPreparedJob(printer, selection, job));
    PrintedCover printed;
    printed.fileSize = QFileInfo(pdf).size();
    const QStringList list = kavi::testing::runTool("pdfimages", {"-list", pdf}).split('\n');
    if (list.size() > 2) printed.encoding = list[2].simplified().section(' ', 8, 8);
    for (const QString& old : QDir(dir.path()).entryList({"out-*"})) QFile::remove(dir.file(old));
    kavi::testing::runTool("pdfimages", {"-j", pdf, dir.file("out")});
    printed.jpeg = dir.read("out-000.jpg");
    return printed;
}

} // namespace

TEST_F(Picking, AnUneditedJpegGoesIntoTheJobAsTheBytesReadAtThePick) {
    const QByteArray original = photoJpeg(300, 200, 1);
    dir.write("cover.jpg", original);
    window.fileSelect->refresh();
    pick("cover.jpg");
    ASSERT_TRUE(window.Image(1)->isUneditedOriginal());
    dir.write("cover.jpg", photoJpeg(300, 200, 2)); // changed on disk after the pick

    const PrintedCover printed = printFirstCover(window, dir);
    EXPECT_EQ(printed.encoding, "jpeg");
    EXPECT_EQ(printed.jpeg, original);
    EXPECT_LE(printed.fileSize, original.size() + 64 * 1024);
}

TEST_F(Picking, AnEditedPictureOrAFileOfAnotherKindGoesIntoTheJobAsPixels) {
    dir.write("cover.jpg", photoJpeg(300, 200, 1));
    dir.write("cover.png", pictureBytes(300, 200, Qt::darkGreen, "PNG"));
    window.fileSelect->refresh();
    pick("cover.jpg");
    QImage edited = window.Image(1)->picture();
    edited.setPixel(0, 0, qRgb(1, 2, 3));
    window.Image(1)->setPicture(edited); // as the Cover Manipulator's Accept does
    EXPECT_FALSE(window.Image(1)->isUneditedOriginal());
    EXPECT_EQ(printFirstCover(window, dir).encoding, "image");

    pick("cover.png");
    EXPECT_EQ(printFirstCover(window, dir).encoding, "image");
    pick("cover.jpg"); // picked again: the file as it is now
    EXPECT_EQ(printFirstCover(window, dir).encoding, "jpeg");
}
