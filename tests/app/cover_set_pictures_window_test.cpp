// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures of a cover set in the main window: a set opened and its file deleted; every cover
// shows its picture, the JPEG cover prints as its file's bytes, and saving elsewhere stores every
// picture entry as it was stored, until a picture is changed.
#include "cover_set_file.h"
#include "files/stored_zip.h"
#include "frmcovercreator.h"
#include "imaging/picture_loader.h"
#include "picture_slot.h"
#include "support/picture_files.h"
#include "support/temp_folder.h"
#include "support/test_platform.h"

#include <QAction>
#include <QFile>
#include <gtest/gtest.h>

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

} // namespace

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

    frmcovercreator window(services.platform);
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
