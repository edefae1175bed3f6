// SPDX-License-Identifier: GPL-3.0-or-later
// The disc labels in the main window: the Disc and Mini Disc tabs after Scan and their boxes in a group of
// their own, which print alone against the ten boxes both ways; the ring's presets and own numbers, the
// curved text fields; picking a picture into a disc tab; printing a disc label through the printer object;
// and a label stock with a case kind ticked, which says so and prints nothing.
#include "app/disc_page_view.h"
#include "app/disc_ring_canvas.h"
#include "app/label_stock_dialog.h"
#include "app/main_window.h"
#include "app/tab_strip.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace kavi;

namespace {

class DiscWindow : public ::testing::Test {
protected:
    kavi::testing::TestPlatform services;
    MainWindow window{services.platform};
    CoverDocument& document = window.document();

    template <typename T>
    T* find(const char* name) {
        T* found = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(found) << name;
        return found;
    }
    std::vector<QString> ringDraws() const {
        std::vector<QString> rings;
        for (const QString& op : services.printer.ops)
            if (op.startsWith("ring")) rings.push_back(op);
        return rings;
    }
};

TEST_F(DiscWindow, TheDiscTabsFollowScanAndTheirBoxesPrintAloneBothWays) {
    EXPECT_EQ(window.SSTab1->count(), 13);
    EXPECT_EQ(window.SSTab1->tabText(10), "Scan");
    EXPECT_EQ(window.SSTab1->tabText(11), "Disc");
    EXPECT_EQ(window.SSTab1->tabText(12), "Mini Disc");
    EXPECT_EQ(window.SSTab1->widget(11)->objectName(), "Tab11");
    auto* disc = find<QCheckBox>("CheckDisc");
    auto* mini = find<QCheckBox>("CheckMiniDisc");
    ASSERT_TRUE(disc && mini);
    EXPECT_NE(disc->parentWidget(), static_cast<QWidget*>(window.Frame4)); // a group of their own

    window.Check(1)->click();
    window.Check(2)->click();
    disc->click();
    EXPECT_TRUE(disc->isChecked());
    EXPECT_FALSE(window.Check(1)->isChecked());
    EXPECT_FALSE(window.Check(2)->isChecked());
    EXPECT_TRUE(window.cmdPrint->isEnabled());
    mini->click();
    EXPECT_FALSE(disc->isChecked());
    EXPECT_TRUE(mini->isChecked());
    window.Check(4)->click();
    EXPECT_FALSE(mini->isChecked());
    EXPECT_TRUE(window.Check(4)->isChecked());
    window.Check(4)->click();
    EXPECT_FALSE(window.cmdPrint->isEnabled());
}

TEST_F(DiscWindow, PresetsOwnNumbersAndCurvedTextGoToTheDocument) {
    auto* size = find<QComboBox>("cboDiscSize12");
    auto* outer = find<QDoubleSpinBox>("txtDiscOuter12");
    auto* hole = find<QDoubleSpinBox>("txtDiscHole12");
    auto* title = find<QLineEdit>("txtDiscTitle12");
    ASSERT_TRUE(size && outer && hole && title);
    EXPECT_EQ(size->count(), 4);
    EXPECT_EQ(size->itemText(1), "Printable disc 118/22");
    EXPECT_EQ(size->currentText(), "Own size"); // 78/41 is no preset
    EXPECT_DOUBLE_EQ(outer->value(), 78);

    size->setCurrentIndex(2);
    emit size->activated(2);
    EXPECT_EQ(document.disc(DiscKind::MiniDisc).geometry, kDiscPresets[2].geometry);
    EXPECT_FALSE(outer->isEnabled());
    EXPECT_EQ(document.disc(DiscKind::Disc).geometry, kDiscLabel); // the other kind keeps its own

    size->setCurrentIndex(3);
    emit size->activated(3);
    ASSERT_TRUE(outer->isEnabled());
    outer->setValue(60);
    EXPECT_NEAR(document.disc(DiscKind::MiniDisc).geometry.outer.millimetres(), 60, 1e-9);
    hole->setValue(60); // as large as the disc: refused, the box shows the ring again
    EXPECT_NEAR(document.disc(DiscKind::MiniDisc).geometry.hole.millimetres(), 44, 1e-9);
    EXPECT_DOUBLE_EQ(hole->value(), 44);

    title->setText("Holiday");
    emit title->textEdited("Holiday");
    EXPECT_EQ(document.disc(DiscKind::MiniDisc).text.title, "Holiday");
    EXPECT_TRUE(document.hasUnsavedWork());
    // A text set elsewhere (an opened set) shows in the field.
    DiscText text;
    text.title = "From a set";
    document.setDiscText(DiscKind::MiniDisc, text);
    EXPECT_EQ(title->text(), "From a set");
}

TEST_F(DiscWindow, APicturePickedOnTheDiscTabPrintsInsideTheRing) {
    kavi::testing::TempFolder folder;
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    ASSERT_TRUE(picture.save(folder.file("disc.png")));
    window.SSTab1->setCurrentIndex(11);
    window.openPicture(folder.file("disc.png"));
    EXPECT_EQ(document.disc(DiscKind::Disc).picture.size(), QSize(40, 20));
    EXPECT_FALSE(document.picture(Kind(1)).hasPicture());

    find<QCheckBox>("CheckDisc")->click();
    services.printers.install({"Office"});
    window.cmdPrint_Click();
    const std::vector<QString> rings = ringDraws();
    ASSERT_EQ(rings.size(), 1u) << services.messages.shown.size();
    // Fill: the 2:1 picture covers the 117 mm square, centred; the ring at the printable corner.
    const double r = 117 / 25.4 * 1440 / 2, h = 41 / 25.4 * 1440 / 2;
    EXPECT_TRUE(rings[0].contains(QStringLiteral("outer %1 hole %2").arg(r).arg(h))) << rings[0].toStdString();
    EXPECT_TRUE(rings[0].contains(QStringLiteral("centre %1,%1").arg(r))) << rings[0].toStdString();
    EXPECT_EQ(services.printer.ops.back(), "end document");
}

TEST_F(DiscWindow, AStockWithACaseKindTickedSaysSoAndPrintsNothing) {
    DiscLabelStock stock;
    stock.brand = "Test";
    stock.part = "Two";
    stock.paperId = "US-Letter";
    stock.paper = sheetSize(Paper::Letter, Orientation::Portrait);
    stock.outerRadius = Length::fromMillimetres(58.5);
    stock.holeRadius = Length::fromMillimetres(20.5);
    stock.centres = {{Length::fromMillimetres(108), Length::fromMillimetres(75)},
                     {Length::fromMillimetres(108), Length::fromMillimetres(205)}};
    document.setStockChoice({stock, 2, 1});
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    document.setPicture(Kind(4), picture);
    window.Check(4)->click();
    services.printers.install({"Office"});
    window.cmdPrint_Click();
    window.ExportPdf_Click();
    EXPECT_TRUE(services.printer.ops.empty());
    ASSERT_EQ(services.messages.shown.size(), 2u);
    EXPECT_TRUE(services.messages.shown[0].text.contains("Test Two")) << services.messages.shown[0].text.toStdString();

    // The disc label prints on the stock's second label, with the stock's ring; the tab shows that ring.
    document.setPicture(DiscKind::Disc, picture);
    find<QCheckBox>("CheckDisc")->click();
    EXPECT_FALSE(find<QComboBox>("cboDiscSize11")->isEnabled());
    window.cmdPrint_Click();
    const std::vector<QString> rings = ringDraws();
    ASSERT_EQ(rings.size(), 1u);
    const double twipsPerMm = 1440 / 25.4;
    EXPECT_TRUE(rings[0].contains(QStringLiteral("centre %1,%2").arg(108 * twipsPerMm).arg(205 * twipsPerMm)))
        << rings[0].toStdString();
}

} // namespace

namespace {

DiscLabelStock twoUp() {
    DiscLabelStock stock;
    stock.brand = "Test";
    stock.part = "Two";
    stock.paperId = "US-Letter";
    stock.paper = sheetSize(Paper::Letter, Orientation::Portrait);
    stock.outerRadius = Length::fromMillimetres(58.5);
    stock.holeRadius = Length::fromMillimetres(20.5);
    stock.centres = {{Length::fromMillimetres(108), Length::fromMillimetres(75)},
                     {Length::fromMillimetres(108), Length::fromMillimetres(205)}};
    return stock;
}

TEST(LabelStockWindow, WithoutTemplatesSaysHowToGetThemAndKeepsPlainPaper) {
    LabelStockDialog dialog({}, {}, {"/tmp/broken.xml: not a template file"}, nullptr);
    EXPECT_EQ(dialog.cboStock->count(), 1);
    EXPECT_EQ(dialog.cboStock->currentText(), "Plain paper");
    EXPECT_TRUE(dialog.lblTemplates->text().contains("glabels-data"));
    EXPECT_TRUE(dialog.lblTemplates->text().contains("broken.xml"));
    EXPECT_FALSE(dialog.spnStartLabel->isEnabled());
    EXPECT_TRUE(dialog.choice().isPlainPaper());
}

TEST(LabelStockWindow, TheSheetShowsTheLabelsTheCopiesUseFromTheStartLabel) {
    LabelStockDialog dialog({twoUp(), 2, 1}, {twoUp()}, {}, nullptr);
    EXPECT_EQ(dialog.cboStock->currentIndex(), 1);
    EXPECT_TRUE(dialog.lblTemplates->isHidden());
    EXPECT_EQ(dialog.spnStartLabel->maximum(), 2);
    EXPECT_EQ(dialog.sheet->usedOnFirstSheet(), (std::vector<bool>{false, true}));
    dialog.spnStartLabel->setValue(1);
    dialog.spnCopies->setValue(2);
    EXPECT_EQ(dialog.sheet->usedOnFirstSheet(), (std::vector<bool>{true, true}));
    const DiscStockChoice choice = dialog.choice();
    ASSERT_TRUE(choice.stock);
    EXPECT_EQ(choice.stock->name(), "Test Two");
    EXPECT_EQ(choice.startLabel, 1);
    EXPECT_EQ(choice.copies, 2);
    dialog.cboStock->setCurrentIndex(0); // back to plain paper: no start label
    EXPECT_TRUE(dialog.choice().isPlainPaper());
    EXPECT_EQ(dialog.choice().startLabel, 1);
}

} // namespace
