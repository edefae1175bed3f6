// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a view of its cover document: edits made through the document show in the
// tabs, the boxes and the fit controls, reach what prints and what a saved set holds, and set the
// unsaved flag; an opened set's pictures stay undecoded until printing needs them, and the tab then
// shows the same pixels.
#include "app/main_window.h"
#include "app/picture_slot.h"
#include "coverset/cover_set_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::TempFolder;

namespace {

class DocumentWindow : public ::testing::Test {
protected:
    DocumentWindow() {
        window.settingsFile = dir.file("kavi4.ini");
        window.recoveryFolder = dir.file("recovery");
        window.Form_Load();
    }
    ~DocumentWindow() override { window.Form_Unload(); }
    bool save(const QString& path) {
        services.saveDialog.answers.push_back({true, path, 0});
        return window.SaveCoverSet_Click();
    }

    kavi::testing::TestPlatform services;
    TempFolder dir;
    MainWindow window{services.platform};
    CoverDocument& document = window.document();
};

QImage filled(int w, int h, QColor colour) {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

const Kind kFront(1), kInside(2), kDvd(4), kDs(7);

} // namespace

TEST_F(DocumentWindow, EditsThroughTheDocumentShowInTheTabsAndReachPrintingAndTheSavedSet) {
    window.Check(1)->click();
    window.Check(2)->click();
    ASSERT_TRUE(window.Check(1)->isChecked() && window.Check(2)->isChecked()) << "the user's ticks reach the document";
    ASSERT_TRUE(document.isTicked(kFront) && document.isTicked(kInside));

    QSignalSpy userFit(&window, &MainWindow::fitModeChanged);
    document.setFitMode(kDvd, FitMode::Fill);
    CoverText text = document.text(kDvd);
    text.title.text = "Night Train";
    document.setText(kDvd, text);
    document.setPicture(kDvd, filled(80, 40, Qt::blue));
    document.setTicked(kDvd, true); // a single kind: the jewel-case ticks go

    EXPECT_EQ(window.cboFit(4)->currentText(), "Fill");
    EXPECT_EQ(window.cboFit(7)->currentText(), "Stretch") << "another kind's control is untouched";
    EXPECT_EQ(userFit.count(), 0) << "not the user's choice in the control";
    EXPECT_EQ(window.Image(4)->picture().pixel(0, 0), QColor(Qt::blue).rgb());
    EXPECT_GT(window.Image(4)->currentLayout().source.width(), 0);
    EXPECT_LT(window.Image(4)->currentLayout().source.width(), 80) << "the tab fills the cover: the sides cut off";
    EXPECT_TRUE(window.coverText(4) == text);
    EXPECT_TRUE(window.Check(4)->isChecked());
    EXPECT_FALSE(window.Check(1)->isChecked());
    EXPECT_FALSE(window.Check(2)->isEnabled());
    EXPECT_TRUE(window.cmdPrint->isEnabled());
    EXPECT_TRUE(window.hasUnsavedWork());

    const PrintSelection printed = window.printSelection();
    EXPECT_EQ(printed.ticked, (KindFlags{false, false, false, true}));
    EXPECT_EQ(printed.fitModes[kDvd.index()], FitMode::Fill);
    EXPECT_EQ(printed.texts[kDvd.index()].title.text, "Night Train");
    EXPECT_EQ(printed.pictures[kDvd.index()].pixel(0, 0), QColor(Qt::blue).rgb());

    // The user's own edit in a control goes the same way, for the second kind.
    window.cboFit(7)->setCurrentIndex(2);
    emit window.cboFit(7)->activated(2);
    EXPECT_EQ(document.fitMode(kDs), FitMode::Fit);
    EXPECT_EQ(userFit.count(), 1);

    const QString path = dir.file("covers.kavi");
    ASSERT_TRUE(save(path));
    EXPECT_FALSE(window.hasUnsavedWork());
    EXPECT_FALSE(document.hasUnsavedWork());
    const CoverSetReading reading = loadCoverSetFile(path);
    ASSERT_TRUE(reading.set);
    EXPECT_EQ(reading.set->cover(4).fit, FitMode::Fill);
    EXPECT_EQ(reading.set->cover(7).fit, FitMode::Fit);
    EXPECT_EQ(reading.set->cover(4).text.title.text, "Night Train");
    EXPECT_EQ(reading.set->cover(4).picture.image().pixel(0, 0), QColor(Qt::blue).rgb());
    EXPECT_EQ(reading.set->ticked, printed.ticked);

    // A picked file and a shown fit are no unsaved work; an edited text is.
    document.setPickedPicture(kFront, filled(10, 10, Qt::red), {});
    window.setFitMode(1, FitMode::Fit);
    EXPECT_FALSE(window.hasUnsavedWork());
    EXPECT_EQ(window.cboFit(1)->currentText(), "Fit");
    window.setCoverText(1, text);
    EXPECT_FALSE(window.hasUnsavedWork());
    text.title.text = "Day Train";
    document.setText(kFront, text);
    EXPECT_TRUE(window.hasUnsavedWork());
}

TEST_F(DocumentWindow, AnOpenedSetIsDecodedForPrintingOnceAndTheTabSharesThosePixels) {
    CoverSet set;
    set.cover(kDvd.number()).picture = filled(60, 30, Qt::green);
    set.cover(kDs.number()).picture = filled(60, 30, Qt::yellow);
    set.ticked[kDvd.index()] = true;
    const QString path = dir.file("opened.kavi");
    ASSERT_EQ(saveCoverSetFile(path, set), 0);
    services.saveDialog.answers.push_back({true, path, 0});
    window.OpenCoverSet_Click();

    ASSERT_TRUE(document.picture(kDvd).isUndecoded());
    EXPECT_TRUE(window.Image(4)->isPictureUndecoded()) << "a tab not shown decodes nothing";
    EXPECT_TRUE(window.Check(4)->isChecked()) << "the opened tick shows in its box";
    EXPECT_FALSE(window.Check(1)->isEnabled()) << "and ran its rule";

    const PrintSelection printed = window.printSelection();
    EXPECT_EQ(printed.pictures[kDvd.index()].pixel(0, 0), QColor(Qt::green).rgb());
    EXPECT_TRUE(printed.pictures[kDs.index()].isNull()) << "a cover not printed stays undecoded";
    EXPECT_TRUE(window.Image(7)->isPictureUndecoded());
    EXPECT_FALSE(window.Image(4)->isPictureUndecoded()) << "the tab takes the pixels the print decoded";
    EXPECT_EQ(window.Image(4)->picture().cacheKey(), document.pixels(kDvd).cacheKey()) << "shared, not copied";

    // Edited after opening: the unsaved flag and the saved set follow the edit, not the file.
    document.setPicture(kDs, filled(60, 30, Qt::black));
    EXPECT_TRUE(window.hasUnsavedWork());
    EXPECT_EQ(window.Image(7)->picture().pixel(0, 0), QColor(Qt::black).rgb());
    EXPECT_EQ(window.currentCoverSet().cover(7).picture.image().pixel(0, 0), QColor(Qt::black).rgb());
}
