// SPDX-License-Identifier: GPL-3.0-or-later
// The Scan tab inside the main window: where it stands, and that it leaves the cover slots alone.
#include "app/main_window.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "output/scan/scan_tab.h"
#include "tests/output/scan/picture_samples.h"
#include "tests/support/test_platform.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace kavi {
namespace {

using namespace kavi::testing;

QRect twips(int l, int t, int w, int h) { return QRect(l / 15, t / 15, w / 15, h / 15); }

class ScanInMainWindow : public ::testing::Test {
protected:
    ScanInMainWindow() {
        QFile::remove(ScanTab::scanFilePath());
        window.settingsFile = settings.filePath("kavi4.ini");
    }
    ~ScanInMainWindow() override { QFile::remove(ScanTab::scanFilePath()); }
    QRect inStrip(QWidget* w) { return QRect(w->mapTo(window.SSTab1, QPoint(0, 0)), w->size()); }

    QTemporaryDir settings;
    TestPlatform t;
    MainWindow window{t.platform};
};

TEST_F(ScanInMainWindow, ScanControlsStandOnTheScanPageAtTheirPlaces) {
    window.Form_Load();
    ScanTab* tab = window.scanTab;
    ASSERT_NE(tab, nullptr);
    QWidget* page = window.SSTab1->widget(10);
    EXPECT_EQ(page->objectName(), "ScanTab");
    EXPECT_EQ(window.SSTab1->tabText(10), "Scan");
    EXPECT_TRUE(page->isAncestorOf(tab));
    window.SSTab1->setCurrentIndex(10);
    EXPECT_EQ(inStrip(tab->Image20), twips(120, 480, 6495, 3615));
    EXPECT_EQ(inStrip(tab->cmdSource), twips(1320, 4260, 1215, 495));
    EXPECT_EQ(inStrip(tab->cmdAquire), twips(2760, 4260, 1215, 495));
    EXPECT_EQ(inStrip(tab->cmdSave), twips(4200, 4260, 1215, 495));
    EXPECT_TRUE(tab->cmdSave->isVisible());
    EXPECT_TRUE(page->rect().contains(tab->cmdSave->geometry())) << "the buttons are not cut off";
    EXPECT_FALSE(tab->Picture3->isVisible());
}

TEST_F(ScanInMainWindow, ScanningAndClickingTheScanLeaveSlotsAndSelectionAlone) {
    window.Form_Load();
    const QImage cover = palettePicture(30, 20, 4);
    window.Image(4)->setPicture(cover);
    window.Image_Click(2);
    window.SSTab1->setCurrentIndex(10);

    t.scanner.picture = richPicture(50, 40);
    window.scanTab->cmdAquire->click();
    ASSERT_TRUE(window.scanTab->Image20->hasPicture());
    QTest::mouseClick(window.scanTab->Image20, Qt::LeftButton);

    EXPECT_EQ(window.SelectedImage, "Image2");
    EXPECT_EQ(window.Image(4)->picture(), cover);
    for (int n = 1; n <= 10; ++n) {
        if (n != 4) {
            EXPECT_FALSE(window.Image(n)->hasPicture()) << n;
        }
    }
    EXPECT_EQ(window.SSTab1->currentIndex(), 10);
}

TEST_F(ScanInMainWindow, SavingUsesTheWindowsImageWriterAndItsFileCheck) {
    const QUuid jpeg("{00000002-0000-0000-0000-000000000000}");
    t.imageEncoders.encoders = {{jpeg, "JPEG", "*.JPG;*.JPEG", "image/jpeg"}};
    window.Form_Load();
    t.scanner.picture = richPicture(10, 10);
    window.scanTab->cmdAquire_Click();
    QTemporaryDir out;
    const QString existing = out.filePath("cover.jpg");
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    t.messages.answers = {MsgResult::Yes};
    t.saveDialog.answers.push_back({true, existing, 2});
    window.scanTab->cmdSave_Click();
    ASSERT_EQ(t.messages.shown.size(), 2u);
    EXPECT_EQ(t.messages.shown[0].title, "File Already Exists");
    EXPECT_EQ(t.messages.shown[1].text, "File Saved");
    ASSERT_EQ(t.imageEncoders.saves.size(), 1u);
    EXPECT_EQ(t.imageEncoders.saves[0].path, existing);
    EXPECT_EQ(t.imageEncoders.saves[0].encoder, jpeg);
    EXPECT_EQ(t.imageEncoders.saves[0].quality, 85);
}

} // namespace
} // namespace kavi
