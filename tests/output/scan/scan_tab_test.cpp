// SPDX-License-Identifier: GPL-3.0-or-later
// The "Scan" tab: its controls, acquiring into the scanned picture, and saving it.
#include "app/file_exists.h"
#include "output/scan/image_file_writer.h"
#include "output/scan/scan_tab.h"
#include "platform/imaging/picture_loader.h"
#include "platform/imaging/picture_resolution.h"
#include "tests/output/scan/picture_samples.h"
#include "tests/support/file_resolution.h"
#include "tests/support/test_platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kavi {
namespace {

using namespace kavi::testing;

class ScanTabTest : public ::testing::Test {
protected:
    ScanTabTest() { QFile::remove(ScanTab::scanFilePath()); }
    ~ScanTabTest() override { QFile::remove(ScanTab::scanFilePath()); }

    void scanPicture(const QImage& picture) {
        t.scanner.picture = picture;
        t.scanner.results = {0};
        tab.cmdAquire_Click();
    }
    void chooseFile(const QString& name) { t.saveDialog.answers.push_back({true, name, 0}); }
    QString lastMessage() const { return t.messages.shown.empty() ? QString() : t.messages.shown.back().text; }
    QString lastTitle() const { return t.messages.shown.empty() ? QString() : t.messages.shown.back().title; }
    QByteArray contents(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeFile(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    TestPlatform t;
    StandardImageEncoders encoders;
    std::unique_ptr<ImageFileWriter> gdip = std::make_unique<ImageFileWriter>(encoders);
    ScanTab tab{t.platform, [this] { return gdip.get(); }, fileExists};
    QTemporaryDir dir;
};

TEST_F(ScanTabTest, ControlsHaveTheirCaptionsTooltipsAndPlaces) {
    QTabWidget strip;
    strip.setGeometry(0, 0, twipsToPixels(6765, 96), twipsToPixels(4845, 96));
    auto* page = new ScanTab(
        t.platform, [this] { return gdip.get(); }, fileExists);
    strip.addTab(page, "Scan");
    strip.show();
    const QPoint pageInStrip = page->mapTo(&strip, QPoint(0, 0));
    const auto inStrip = [&](QWidget* w) { return w->geometry().translated(pageInStrip); };
    EXPECT_EQ(inStrip(page->Image20), QRect(8, 32, 433, 241));
    EXPECT_EQ(inStrip(page->cmdSource), QRect(88, 284, 81, 33));
    EXPECT_EQ(inStrip(page->cmdAquire), QRect(184, 284, 81, 33));
    EXPECT_EQ(inStrip(page->cmdSave), QRect(280, 284, 81, 33));
    EXPECT_EQ(page->Picture3->size(), QSize(25, 33));
    EXPECT_FALSE(page->Picture3->isVisible());
    EXPECT_EQ(page->Image20->toolTip(), "Scanned Picture");
    EXPECT_FALSE(page->Image20->hasPicture());
    const std::tuple<QPushButton*, const char*, const char*> buttons[] = {
        {page->cmdSource, "Source", "Select Scanner Source"},
        {page->cmdAquire, "Aquire", "Aquire Image"},
        {page->cmdSave, "Save", "Save Image"}};
    for (const auto& [button, caption, tip] : buttons) {
        EXPECT_EQ(button->text(), caption);
        EXPECT_EQ(button->toolTip(), tip);
    }
    page->cmdSource->click();
    EXPECT_EQ(t.scanner.selectCount, 1);
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST_F(ScanTabTest, AcquiringLoadsTheScanAndDeletesTheScanFile) {
    const QImage first = richPicture(40, 30);
    tab.cmdAquire->click();
    EXPECT_FALSE(tab.Image20->hasPicture()); // the scripted scanner wrote an empty picture: no file
    t.messages.shown.clear();

    scanPicture(first);
    ASSERT_EQ(t.scanner.acquiredPaths.back(), QDir(QCoreApplication::applicationDirPath()).filePath("temp.bmp"));
    EXPECT_TRUE(t.messages.shown.empty());
    EXPECT_EQ(differingPixels(tab.Image20->picture(), first), 0);
    EXPECT_FALSE(QFile::exists(ScanTab::scanFilePath()));
}

TEST_F(ScanTabTest, FailedOrUnreadableScanKeepsThePreviousPicture) {
    const QImage first = richPicture(40, 30);
    scanPicture(first);

    t.scanner.results = {1};
    t.scanner.picture = palettePicture(10, 10, 3);
    t.scanner.writeOnFailure = true; // a file left by a failed scan stays where it is
    tab.cmdAquire_Click();
    EXPECT_EQ(lastMessage(), "Unable to aquire image!");
    EXPECT_EQ(lastTitle(), "Unable to aquire image!");
    EXPECT_EQ(t.messages.shown.back().icon, MsgIcon::Critical);
    EXPECT_EQ(t.messages.shown.back().buttons, MsgButtons::Ok);
    EXPECT_EQ(differingPixels(tab.Image20->picture(), first), 0);
    EXPECT_TRUE(QFile::exists(ScanTab::scanFilePath()));

    t.scanner.results = {0};
    t.scanner.fileBytes = "BM this is no picture";
    tab.cmdAquire_Click();
    EXPECT_EQ(t.messages.shown.size(), 2u);
    EXPECT_EQ(lastMessage(), "Unable to aquire image!");
    EXPECT_EQ(differingPixels(tab.Image20->picture(), first), 0);
}

TEST_F(ScanTabTest, SaveAsksWithFiveFiltersAndNoSuffixAndReportsCancelAsFailure) {
    scanPicture(richPicture(20, 10));
    tab.cmdSave_Click();
    ASSERT_EQ(t.saveDialog.asked.size(), 1u);
    const SaveDialogRequest& asked = t.saveDialog.asked[0];
    ASSERT_EQ(asked.filters.size(), 5);
    const char* kinds[] = {"BMP", "GIF", "JPG", "PNG", "TIF"};
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(asked.filters[i].startsWith(kinds[i])) << asked.filters[i].toStdString();
    EXPECT_TRUE(asked.defaultSuffix.isEmpty());
    EXPECT_FALSE(asked.confirmOverwrite);
    EXPECT_TRUE(asked.fileName.isEmpty());
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(lastMessage(), "File Not Saved");
    EXPECT_EQ(lastTitle(), "Unable to save file.");
    EXPECT_EQ(t.messages.shown.back().icon, MsgIcon::Critical);
}

TEST_F(ScanTabTest, SavingBeforeAnyScanFails) {
    for (const char* name : {"a.png", "a.BMP", "a.jpg"}) {
        chooseFile(dir.filePath(name));
        tab.cmdSave_Click();
        EXPECT_EQ(lastMessage(), "File Not Saved") << name;
        EXPECT_FALSE(QFile::exists(dir.filePath(name))) << name;
    }
}

TEST_F(ScanTabTest, SavedFilesFollowTheirExtension) {
    const QImage picture = palettePicture(30, 20, 50);
    scanPicture(picture);
    for (const char* name : {"upper.BMP", "lower.bmp", "a.gif", "a.jpg", "a.png", "a.tif", "a.tiff"}) {
        chooseFile(dir.filePath(name));
        tab.cmdSave_Click();
        EXPECT_EQ(lastMessage(), "File Saved") << name;
        EXPECT_EQ(lastTitle(), "Sucessfully saved file.") << name;
        EXPECT_EQ(t.messages.shown.back().icon, MsgIcon::Information);
        const QImage back = loadPicture(dir.filePath(name));
        ASSERT_EQ(back.size(), picture.size()) << name;
        if (QString(name) != "a.jpg") {
            EXPECT_EQ(differingPixels(back, picture), 0) << name;
        }
    }
    EXPECT_EQ(differingPixels(tab.Picture3->picture(), picture), 0); // the carrier keeps the last copy
    // No extension, or a "." only in a folder name: nothing is written and no suffix is added.
    QDir(dir.path()).mkdir("my.covers");
    for (const QString& name : {dir.filePath("cover"), dir.filePath("my.covers/cover")}) {
        chooseFile(name);
        tab.cmdSave_Click();
        EXPECT_EQ(lastMessage(), "File Not Saved");
        EXPECT_FALSE(QFile::exists(name));
        EXPECT_FALSE(QFile::exists(name + ".png"));
    }
}

TEST_F(ScanTabTest, SavedFilesKeepTheScansResolution) {
    QImage picture = palettePicture(30, 20, 50);
    setPictureDpi(picture, 600, 300);
    scanPicture(picture);
    EXPECT_EQ(knownDotsPerMetre(tab.Image20->picture()), QSize(23622, 11811)) << "through the scan file";
    for (const char* name : {"a.BMP", "a.bmp", "a.png", "a.tif", "a.jpg"}) {
        chooseFile(dir.filePath(name));
        tab.cmdSave_Click();
        ASSERT_EQ(lastMessage(), "File Saved") << name;
        const auto dpi = fileDpi(dir.filePath(name));
        ASSERT_TRUE(dpi) << name;
        EXPECT_NEAR(dpi->first, 600, 0.5) << name;
        EXPECT_NEAR(dpi->second, 300, 0.5) << name;
    }

    // A picture without a resolution of its own: 96 dpi in our BMP, as before.
    scanPicture(palettePicture(30, 20, 50));
    chooseFile(dir.filePath("plain.BMP"));
    tab.cmdSave_Click();
    EXPECT_NEAR(fileDpi(dir.filePath("plain.BMP")).value_or(std::pair{0.0, 0.0}).second, 96, 0.5);
}

TEST_F(ScanTabTest, UpperCaseBmpNeedsNoImageEncoders) {
    testing::ScriptedImageEncoders broken;
    broken.startupStatus = 18;
    gdip = std::make_unique<ImageFileWriter>(broken);
    scanPicture(richPicture(12, 9));
    chooseFile(dir.filePath("a.BMP"));
    tab.cmdSave_Click();
    EXPECT_EQ(lastMessage(), "File Saved");
    chooseFile(dir.filePath("a.bmp"));
    tab.cmdSave_Click();
    EXPECT_EQ(lastMessage(), "File Not Saved");
    EXPECT_TRUE(broken.saves.empty());
}

TEST_F(ScanTabTest, ExistingFileIsReplacedOnlyAfterYes) {
    const QString path = dir.filePath("cover.png");
    writeFile(path, "old picture");
    scanPicture(richPicture(16, 16));

    t.messages.answers = {MsgResult::No};
    chooseFile(path);
    tab.cmdSave_Click();
    ASSERT_EQ(t.messages.shown.size(), 1u); // the question and nothing after it
    const MessageRequest& question = t.messages.shown[0];
    EXPECT_EQ(question.text, path + " already exists. Do you want to replace this file?");
    EXPECT_EQ(question.title, "File Already Exists");
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.icon, MsgIcon::None);
    EXPECT_EQ(contents(path), "old picture");

    t.messages.answers = {MsgResult::Yes};
    chooseFile(path);
    tab.cmdSave_Click();
    ASSERT_EQ(t.messages.shown.size(), 3u);
    EXPECT_EQ(lastMessage(), "File Saved");
    EXPECT_EQ(loadPicture(path).size(), QSize(16, 16));

    // Hidden and read-only files count as existing too.
    const QString hidden = dir.filePath(".hidden.BMP");
    writeFile(hidden, "old");
    QFile::setPermissions(hidden, QFile::ReadOwner);
    t.messages.answers = {MsgResult::No};
    chooseFile(hidden);
    tab.cmdSave_Click();
    EXPECT_EQ(lastTitle(), "File Already Exists");
    EXPECT_EQ(contents(hidden), "old");
}

} // namespace
} // namespace kavi
