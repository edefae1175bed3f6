// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures of a cover set in the main window: a set opened and its file deleted; every cover
// shows its picture, the JPEG cover prints as its file's bytes, and saving elsewhere stores every
// picture entry as it was stored, until a picture is changed. A picture is decoded only when it is
// first needed: its tab shown or its cover printed; one that does not decode then is told.
#include "app/main_window.h"
#include "app/notice_label.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "covers/cover_kinds.h"
#include "coverset/cover_set_file.h"
#include "formats/zip/stored_zip.h"
#include "platform/imaging/picture_loader.h"
#include "tests/support/picture_files.h"
#include "tests/support/process_events.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>

#include <gtest/gtest.h>
#include <map>

using namespace kavi;
using kavi::testing::samePixels;
using kavi::testing::TempFolder;

namespace {

QImage pictureFor(int kind) {
    QImage image(30 + kind, 20 + kind, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 8, y * 9 + kind, kind * 20));
    return image;
}

QByteArray entryOf(const QByteArray& file, const std::string& name) {
    const zip::Archive archive = zip::readArchive(std::string_view(file.constData(), std::size_t(file.size())), {});
    for (const zip::Entry& e : archive.entries)
        if (e.name == name) return QByteArray(e.data.data(), qsizetype(e.data.size()));
    return {};
}

// Whether the slot's opened picture has been decoded (its pixels are shared with the set's entry).
bool decoded(const MainWindow& window, int n) { return window.Image(n)->coverSetPicture().isDecoded(); }

// A window with a set of JPEG and PNG covers opened from a file that is deleted afterwards.
struct OpenedSet {
    kavi::testing::TestPlatform services;
    TempFolder dir;
    std::map<int, QByteArray> jpegs; // by kind
    QByteArray fileBytes;
    MainWindow window{services.platform};

    // JPEG covers on the front, inside, DVD and mini (kinds 1, 2, 4, 5), a PNG back (3); the
    // DVD is ticked. The tab `showing` shows while the set opens.
    explicit OpenedSet(int showing) {
        CoverSet set = CoverSet::empty();
        for (int kind : {1, 2, 4, 5}) {
            jpegs[kind] = kavi::testing::pictureBytes(40 + kind, 30 + kind, QColor(kind * 40, 90, 200), "JPEG");
            set.cover(kind).picture = CoverSetPicture::ofJpegFile(jpegs[kind]);
        }
        set.cover(3).picture = pictureFor(3);
        set.ticked[3] = true;
        const QString path = dir.file("opened.kavi");
        EXPECT_EQ(saveCoverSetFile(path, set), 0);
        fileBytes = dir.read("opened.kavi");
        window.settingsFile = dir.file("kavi4.ini");
        window.programFolderPath = dir.path();
        window.Form_Load(); // shows the window
        window.SSTab1->setCurrentIndex(showing);
        services.saveDialog.answers.push_back({true, path, 0});
        window.OpenCoverSet->trigger();
        EXPECT_TRUE(QFile::remove(path));
    }
    QImage stored(int kind) const { return kind == 3 ? pictureFor(3) : loadJpegData(jpegs.at(kind)).picture; }
    QByteArray saveAs(const char* name) {
        services.saveDialog.answers.push_back({true, dir.file(name), 0});
        window.SaveCoverSet->trigger();
        return dir.read(name);
    }
};

} // namespace

TEST(CoverSetPicturesInTheWindow, APictureIsDecodedWhenItsTabFirstShowsOrItsCoverPrints) {
    OpenedSet opened(coverKind(1).tabIndex);
    ASSERT_TRUE(kavi::testing::processEventsUntil([&] { return decoded(opened.window, 1); }));
    MainWindow& window = opened.window;
    EXPECT_TRUE(samePixels(window.Image(1)->picture(), opened.stored(1)));
    for (int kind : {2, 3, 4, 5}) EXPECT_FALSE(decoded(window, kind)) << kind << " is on a tab not shown";

    window.SSTab1->setCurrentIndex(coverKind(3).tabIndex);
    ASSERT_TRUE(kavi::testing::processEventsUntil([&] { return decoded(window, 3); }));
    for (int kind : {2, 4, 5}) EXPECT_FALSE(decoded(window, kind)) << kind;

    // Printing the ticked DVD, not yet decoded: the job gets its pixels and its JPEG file; covers
    // that are not printed stay as stored.
    ASSERT_TRUE(window.Check(4)->isChecked());
    const PrintSelection selection = window.printSelection();
    EXPECT_TRUE(samePixels(selection.pictures[3], opened.stored(4)));
    EXPECT_EQ(selection.originalJpegs[3], opened.jpegs[4]);
    EXPECT_TRUE(decoded(window, 4));
    EXPECT_FALSE(decoded(window, 2));
    EXPECT_FALSE(decoded(window, 5));

    // Every tab shown, the file long gone: every picture as stored.
    for (int kind = 1; kind <= 5; ++kind) {
        window.SSTab1->setCurrentIndex(coverKind(kind).tabIndex);
        ASSERT_TRUE(kavi::testing::processEventsUntil([&] { return !window.Image(kind)->isPictureUndecoded(); }));
        EXPECT_TRUE(samePixels(window.Image(kind)->picture(), opened.stored(kind))) << kind;
    }
    EXPECT_EQ(window.lblNotice->notice(), QStringLiteral("Opened the cover set \u201copened.kavi\u201d."));
}

TEST(CoverSetPicturesInTheWindow, ASetSavedElsewhereBeforeAnyCoverShowsIsCopiedWithoutDecoding) {
    OpenedSet opened(kScanTabIndex);
    QCoreApplication::processEvents();
    const QByteArray saved = opened.saveAs("elsewhere.kavi");
    for (const char* name : {"front.jpg", "inside.jpg", "back.png", "dvd.jpg", "mini.jpg"}) {
        EXPECT_FALSE(entryOf(saved, name).isEmpty()) << name;
        EXPECT_EQ(entryOf(saved, name), entryOf(opened.fileBytes, name)) << name;
    }
    for (int kind = 1; kind <= 5; ++kind) {
        EXPECT_FALSE(decoded(opened.window, kind)) << kind;
        EXPECT_TRUE(opened.window.Image(kind)->isPictureUndecoded()) << kind;
    }
}

TEST(CoverSetPicturesInTheWindow, APictureThatDoesNotDecodeShowsNoPictureIsToldAndIsKeptAsStored) {
    kavi::testing::TestPlatform services;
    TempFolder dir;
    // The header and checksums are right, the coded data is cut short: only decoding tells.
    const QByteArray jpeg = kavi::testing::pictureBytes(64, 48, Qt::darkCyan, "JPEG");
    const QByteArray cut = jpeg.left(jpeg.size() / 2);
    CoverSet set = CoverSet::empty();
    set.cover(4).picture = CoverSetPicture::ofEntry(cut, CoverSetPicture::Encoding::Jpeg, QSize(64, 48), false);
    set.cover(1).picture = pictureFor(1);
    set.ticked[3] = true;
    const QString path = dir.file("cut.kavi");
    ASSERT_EQ(saveCoverSetFile(path, set), 0);
    ASSERT_EQ(entryOf(dir.read("cut.kavi"), "dvd.jpg"), cut);

    MainWindow window(services.platform);
    window.settingsFile = dir.file("kavi4.ini");
    window.programFolderPath = dir.path();
    window.Form_Load();
    window.SSTab1->setCurrentIndex(coverKind(4).tabIndex);
    services.saveDialog.answers.push_back({true, path, 0});
    window.OpenCoverSet->trigger();
    EXPECT_TRUE(services.messages.shown.empty()) << "the set opens";
    ASSERT_TRUE(kavi::testing::processEventsUntil([&] { return window.lblNotice->notice().contains("damaged"); }));
    EXPECT_EQ(window.lblNotice->notice(),
              QStringLiteral("The picture of the DVD cover in the opened cover set is "
                             "damaged; the cover shows no picture."));
    EXPECT_FALSE(window.Image(4)->hasPicture());
    EXPECT_TRUE(window.Image(4)->picture().isNull());
    EXPECT_TRUE(samePixels(window.Image(1)->picture(), pictureFor(1))) << "the other covers are whole";

    // Printed, the DVD has no picture and never carries the damaged bytes.
    const PrintSelection selection = window.printSelection();
    EXPECT_TRUE(selection.pictures[3].isNull());
    EXPECT_TRUE(selection.originalJpegs[3].isEmpty());

    // Saved, the entry is kept as it was stored: nothing the set held is lost.
    services.saveDialog.answers.push_back({true, dir.file("again.kavi"), 0});
    window.SaveCoverSet->trigger();
    EXPECT_EQ(entryOf(dir.read("again.kavi"), "dvd.jpg"), cut);

    // A picture put in its place is saved instead.
    window.Image(4)->setPicture(pictureFor(4));
    services.saveDialog.answers.push_back({true, dir.file("replaced.kavi"), 0});
    window.SaveCoverSet->trigger();
    const CoverSetReading replaced = readCoverSet(dir.read("replaced.kavi"));
    ASSERT_TRUE(replaced.set);
    EXPECT_TRUE(samePixels(replaced.set->cover(4).picture.image(), pictureFor(4)));
}

TEST(CoverSetPicturesInTheWindow, AnOpenedSetNeedsNoFileAndKeepsItsEntriesUntilAPictureChanges) {
    kavi::testing::TestPlatform services;
    TempFolder dir;
    const QString jpegPath = dir.write("photo.jpg", kavi::testing::pictureBytes(40, 30, Qt::darkCyan, "JPEG"));
    const PictureLoad picked = loadPictureFile(jpegPath);
    ASSERT_FALSE(picked.originalJpeg.isEmpty());
    CoverSet set = CoverSet::empty();
    set.cover(4).picture = CoverSetPicture::ofJpegFile(picked.originalJpeg, picked.picture);
    set.cover(1).picture = pictureFor(1);
    set.cover(2).picture = pictureFor(2);
    set.ticked[3] = true;
    const QString opened = dir.file("opened.kavi");
    ASSERT_EQ(saveCoverSetFile(opened, set), 0);
    const QByteArray openedBytes = dir.read("opened.kavi");

    MainWindow window(services.platform);
    window.settingsFile = dir.file("kavi4.ini");
    window.programFolderPath = dir.path();
    window.Form_Load();
    services.saveDialog.answers.push_back({true, opened, 0});
    window.OpenCoverSet->trigger();
    ASSERT_TRUE(QFile::remove(opened));

    EXPECT_TRUE(samePixels(window.Image(4)->picture(), picked.picture));
    EXPECT_TRUE(samePixels(window.Image(1)->picture(), pictureFor(1)));
    EXPECT_TRUE(samePixels(window.Image(2)->picture(), pictureFor(2)));
    EXPECT_EQ(window.printSelection().originalJpegs[3], picked.originalJpeg) << "the DVD prints as the JPEG file";

    // Saved elsewhere: every entry as it was stored.
    const QString elsewhere = dir.file("elsewhere.kavi");
    services.saveDialog.answers.push_back({true, elsewhere, 0});
    window.SaveCoverSet->trigger();
    const QByteArray saved = dir.read("elsewhere.kavi");
    for (const char* name : {"dvd.jpg", "front.png", "inside.png"})
        EXPECT_EQ(entryOf(saved, name), entryOf(openedBytes, name)) << name;
    EXPECT_EQ(entryOf(saved, "dvd.jpg"), picked.originalJpeg);

    // A changed picture is stored anew; the unchanged ones still as they were.
    window.Image(1)->setPicture(pictureFor(7));
    window.Image(4)->setPicture(pictureFor(4)); // an edit of the JPEG cover: pixels from now on
    const QString changed = dir.file("changed.kavi");
    services.saveDialog.answers.push_back({true, changed, 0});
    window.SaveCoverSet->trigger();
    const QByteArray again = dir.read("changed.kavi");
    EXPECT_EQ(entryOf(again, "inside.png"), entryOf(openedBytes, "inside.png"));
    EXPECT_TRUE(entryOf(again, "dvd.jpg").isEmpty());
    const CoverSetReading reading = readCoverSet(again);
    ASSERT_TRUE(reading.set);
    EXPECT_TRUE(samePixels(reading.set->cover(1).picture.image(), pictureFor(7)));
    EXPECT_TRUE(samePixels(reading.set->cover(4).picture.image(), pictureFor(4)));
    EXPECT_EQ(reading.set->cover(4).picture.encoding(), CoverSetPicture::Encoding::Png);
}
