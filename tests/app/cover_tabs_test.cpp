// SPDX-License-Identifier: GPL-3.0-or-later
// The cover tabs: each cover in its real proportions with its fit control, what printing reads
// of the fit modes, and saving a cover's picture through the Scan tab's save flow.
#include "cover_kinds.h"
#include "frmcovercreator.h"
#include "picture_slot.h"
#include "scan_tab.h"
#include "support/test_platform.h"
#include "tab_strip.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace kavi;

namespace {

class CoverTabs : public ::testing::Test {
protected:
    CoverTabs() {
        window.settingsFile = settings.filePath("kavi4.ini");
        window.Form_Load();
    }
    ~CoverTabs() override { window.Form_Unload(); }
    // A control beside the slot on its tab page, in the slot's own coordinates.
    QRect inSlot(QWidget* w, int n) { return w->geometry().translated(-window.Image(n)->pos()); }
    // The user picks a fit mode in the cover's control.
    void choose(int n, int index) {
        window.cboFit(n)->setCurrentIndex(index);
        emit window.cboFit(n)->activated(index);
    }

    QTemporaryDir settings;
    kavi::testing::TestPlatform services;
    frmcovercreator window{services.platform};
};

QImage filled(int w, int h, QColor colour, const char* slotText = "") {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    picture.setText("slot", slotText);
    return picture;
}

} // namespace

TEST_F(CoverTabs, EachCoverShowsInItsRealProportionsAboveItsFitControl) {
    window.show();
    for (const CoverKind& kind : kCoverKinds) {
        const int n = kind.number;
        window.SSTab1->setCurrentIndex(kind.tabIndex);
        PictureSlot* slot = window.Image(n);
        const QRectF cover = slot->coverRect();
        const double real = kind.printSize.width / kind.printSize.height;
        EXPECT_NEAR(cover.width() / cover.height(), real, real * 0.005) << kind.tabCaption;
        EXPECT_NEAR(cover.center().x(), slot->width() / 2.0, 0.5) << kind.tabCaption << " centred across";
        const QRect control = inSlot(window.cboFit(n), n);
        EXPECT_TRUE(slot->rect().contains(control)) << kind.tabCaption << " inside the frame";
        EXPECT_FALSE(cover.intersects(QRectF(control))) << kind.tabCaption << " never over the cover";
        EXPECT_EQ(window.fitMode(n), FitMode::Stretch) << "Stretch stays the default";
    }
    // A click in the frame beside the square Front cover still selects it.
    window.SSTab1->setCurrentIndex(0);
    ASSERT_GT(window.Image(1)->coverRect().left(), 20);
    QTest::mouseClick(window.Image(1), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(window.SelectedImage, "Image1");
}

TEST_F(CoverTabs, TheTabShowsThePictureAsItsFitModePlacesIt) {
    window.show();
    PictureSlot* front = window.Image(1);
    QImage wide(400, 100, QImage::Format_RGB32); // four times wider than the square cover
    wide.fill(Qt::blue);
    front->setPicture(wide);
    choose(1, 2); // Fit: a band across the middle of the cover, the rest paper
    const QRectF cover = front->coverRect();
    EXPECT_NEAR(front->currentLayout().target.height(), cover.height() / 4, 1e-6);
    const QImage shown = front->grab().toImage();
    EXPECT_EQ(shown.pixelColor(cover.center().toPoint()), QColor(Qt::blue));
    EXPECT_EQ(shown.pixelColor(QPoint(int(cover.center().x()), int(cover.top() + 5))), QColor(Qt::white));
    choose(1, 1); // Fill: the middle quarter of the picture over the whole cover
    EXPECT_EQ(front->currentLayout().target, cover);
    EXPECT_NEAR(front->currentLayout().source.left(), 150, 1e-6);
}

TEST_F(CoverTabs, TheUsersFitChoiceReachesPrintingAndIsAnnouncedSettingItIsNot) {
    QSignalSpy changed(&window, &frmcovercreator::fitModeChanged);
    choose(4, 1); // DVD: Fill
    EXPECT_EQ(window.fitMode(4), FitMode::Fill);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 4);

    window.setFitMode(7, FitMode::Fit);
    EXPECT_EQ(window.cboFit(7)->currentText(), "Fit");
    EXPECT_EQ(changed.count(), 1) << "a set fit mode is not the user's change";

    EXPECT_EQ(window.printSelection().fitModes[6], FitMode::Fit);
    // Printed, the filled DVD picture is drawn larger than its cover and cut off at the cover.
    window.Image(4)->setPicture(filled(400, 100, Qt::blue, "dvd"));
    window.Check(4)->click();
    window.cmdPrint_Click();
    const std::vector<QString> expected = {"follow 1",      "paper 5",
                                           "orientation 2", "draw dvd -12825,0 41040x10260 clip 0,0 15390x10260",
                                           "end document",  "paper 1"};
    EXPECT_EQ(services.printer.ops, expected);
}

TEST_F(CoverTabs, SaveCoverPictureAsWritesTheShowingCoverOrSaysWhyNot) {
    QAction* save = window.File->findChild<QAction*>("SaveCoverPictureAs");
    ASSERT_NE(save, nullptr);
    const auto menuOpens = [&] { emit window.File->aboutToShow(); };

    window.SSTab1->setCurrentIndex(3);
    menuOpens();
    EXPECT_FALSE(save->isEnabled()) << "no picture in the DVD cover";
    window.SaveCoverPictureAs_Click();
    ASSERT_EQ(services.messages.shown.size(), 1u);
    EXPECT_EQ(services.messages.shown[0].text, "The DVD cover has no picture to save yet.");

    QImage edited = filled(24, 16, QColor(10, 200, 30));
    edited.setPixel(3, 2, qRgb(250, 0, 0));
    window.Image(4)->setPicture(edited);
    menuOpens();
    EXPECT_TRUE(save->isEnabled());
    QTemporaryDir out;
    const QString file = out.filePath("dvd-cover.BMP");
    services.saveDialog.answers.push_back({true, file, 0});
    save->trigger();
    ASSERT_EQ(services.messages.shown.size(), 2u);
    EXPECT_EQ(services.messages.shown[1].text, "File Saved");
    EXPECT_EQ(QImage(file).convertToFormat(QImage::Format_RGB32), edited.convertToFormat(QImage::Format_RGB32));

    window.SSTab1->setCurrentIndex(kScanTabIndex);
    menuOpens();
    EXPECT_FALSE(save->isEnabled()) << "the Scan tab saves with its own button";
    window.SaveCoverPictureAs_Click();
    EXPECT_NE(services.messages.shown.at(2).text.indexOf("Save button of the Scan tab"), -1);
    EXPECT_EQ(services.saveDialog.asked.size(), 1u) << "no dialog for it";
}
