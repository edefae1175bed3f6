// SPDX-License-Identifier: GPL-3.0-or-later
// "Calibrate Printer": the job of calibration pages as the printer object receives it, and the
// window that turns the user's measurements into the queue's stored corrections.
#include "covers/calibration_page.h"
#include "output/print/calibrate_printer.h"
#include "output/print/print_layout_settings.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kavi;
using namespace kavi::testing;

namespace {

std::vector<QString> linesOf(const std::vector<QString>& ops, std::size_t from, std::size_t to) {
    std::vector<QString> lines;
    for (std::size_t i = from; i < to; ++i)
        if (ops[i].startsWith("line ")) lines.push_back(ops[i]);
    return lines;
}

// Where the printer puts a point meant at p (mm) when it scales by measured / 100 and puts the
// square's corner at the measured distance.
double printed(double p, double measuredSide, double measuredCorner) {
    const double s = measuredSide / kCalibrationSquareMillimetres;
    return p * s + (measuredCorner - kCalibrationSquareCornerMillimetres * s);
}

class CalibrateDialog : public ::testing::Test {
protected:
    void SetUp() override { ini = folder.write("kavi4.ini", "[MAIN]\nTab=3\n"); }
    void set(CalibrationWindow& dialog, Orientation o, CalibrationMeasurement m) {
        const auto& b = dialog.boxes[o == Orientation::Portrait ? 0 : 1];
        b.squareWidth->setText(QString::number(m.squareWidth));
        b.squareHeight->setText(QString::number(m.squareHeight));
        b.cornerLeft->setText(QString::number(m.cornerLeft));
        b.cornerTop->setText(QString::number(m.cornerTop));
    }
    TempFolder folder;
    QString ini;
    TestPlatform t;
};

} // namespace

TEST(CalibrationJob, OnePortraitAndOneLandscapePageFromThePrintableCornerThenTheSettingsComeBack) {
    for (const PaperChoice choice : {PaperChoice::LetterAndLegal, PaperChoice::A4}) {
        RecordingPrinter printer;
        printer.margins = std::array<double, 4>{0.25, 0.5, 0.3, 0.2};
        printer.paper = Paper::Legal;
        printer.orient = Orientation::Landscape;
        ASSERT_TRUE(printCalibrationJob(printer, choice));
        const Paper paper = choice == PaperChoice::A4 ? Paper::A4 : Paper::Letter;
        const std::vector<QString>& ops = printer.ops;
        const auto at = [&ops](const QString& op) {
            return std::size_t(std::find(ops.begin(), ops.end(), op) - ops.begin());
        };
        ASSERT_GE(ops.size(), 6u);
        EXPECT_EQ(ops[0], QStringLiteral("paper %1").arg(printerCode(paper)));
        EXPECT_EQ(ops[1], "orientation 1");
        const std::size_t turn = at("orientation 2"), page = at("new page"), end = at("end document");
        ASSERT_LT(turn, page) << "the second page is begun after it is turned";
        ASSERT_LT(page, end);
        EXPECT_EQ(std::vector<QString>(ops.end() - 3, ops.end()),
                  (std::vector<QString>{"end document", "paper 5", "orientation 2"}));

        for (const Orientation o : {Orientation::Portrait, Orientation::Landscape}) {
            const std::vector<QString> lines =
                o == Orientation::Portrait ? linesOf(ops, 0, page) : linesOf(ops, page, end);
            const LengthRect area = *printer.printableArea(paper, o);
            ASSERT_EQ(lines.size(), calibrationPageLines(paper, o, area).size());
            // The square's top edge: 30 mm from the sheet's corner, so less the printable corner,
            // and drawn with no correction.
            const double corner = Length::fromMillimetres(30).twips(), side = Length::fromMillimetres(100).twips();
            const double x = corner - area.left.twips(), y = corner - area.top.twips();
            EXPECT_EQ(lines[0], QStringLiteral("line %1,%2 %3,%4 w%5").arg(x).arg(y).arg(x + side).arg(y).arg(10));
        }
    }
}

TEST_F(CalibrateDialog, TheExpectedValuesArePrefilledAndReadBack) {
    CalibrationWindow dialog(t.platform, ini, "Office");
    for (const Orientation o : {Orientation::Portrait, Orientation::Landscape}) {
        const CalibrationMeasurement m = dialog.measurement(o);
        EXPECT_EQ(m.squareWidth, 100);
        EXPECT_EQ(m.squareHeight, 100);
        EXPECT_EQ(m.cornerLeft, 30);
        EXPECT_EQ(m.cornerTop, 30);
    }
    set(dialog, Orientation::Landscape, {99.5, 101, 31.5, 28});
    EXPECT_EQ(dialog.measurement(Orientation::Landscape).cornerLeft, 31.5);
    EXPECT_EQ(dialog.measurement(Orientation::Portrait).cornerLeft, 30) << "each orientation has its own boxes";
}

TEST_F(CalibrateDialog, AMeasurementOutOfRangeIsNamedAndChangesNothing) {
    const QByteArray before = folder.read("kavi4.ini");
    CalibrationWindow dialog(t.platform, ini, "Office");
    set(dialog, Orientation::Portrait, {101, 100, 31, 30}); // usable
    set(dialog, Orientation::Landscape, {100, 80, 30, 30}); // a square 20% short cannot be corrected
    dialog.cmdOK->click();
    ASSERT_EQ(t.messages.shown.size(), 1u);
    const QString text = t.messages.shown[0].text;
    EXPECT_TRUE(text.contains("sideways")) << text.toStdString();
    EXPECT_TRUE(text.contains("The square height you measured, 80 mm, is outside 90 to 110 mm."))
        << "what the user typed, not the correction: " << text.toStdString();
    EXPECT_TRUE(text.contains("Kavi corrects offsets of up to 20 mm and scales of 90 to 110%.")) << text.toStdString();
    EXPECT_EQ(dialog.outcome(), CalibrationWindow::Outcome::Nothing);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(folder.read("kavi4.ini"), before) << "not even the usable orientation is stored";

    set(dialog, Orientation::Landscape, {100, 100, 55, 30}); // a corner 25 mm off
    dialog.cmdOK->click();
    ASSERT_EQ(t.messages.shown.size(), 2u);
    EXPECT_TRUE(t.messages.shown[1].text.contains(
        "The corner's distance from the left edge you measured, 55 mm, is outside 10 to 50 mm."))
        << t.messages.shown[1].text.toStdString();
    EXPECT_EQ(folder.read("kavi4.ini"), before);
}

TEST_F(CalibrateDialog, BlankZeroAndWordsAreRefusedByNameAndNinetyPointFivePercentIsAccepted) {
    const QByteArray before = folder.read("kavi4.ini");
    CalibrationWindow dialog(t.platform, ini, "Office");
    const std::pair<QString, QString> typed[] = {
        {"", "The square width is empty: enter what you measured, in millimetres."},
        {"  ", "The square width is empty: enter what you measured, in millimetres."},
        {"abc", "The square width \"abc\" is not a number of millimetres."},
        {"12x", "The square width \"12x\" is not a number of millimetres."},
        {"0", "The square width you entered is 0 mm: measure it on the printed page."},
        {"-100", "The square width you entered is -100 mm: measure it on the printed page."},
    };
    for (const auto& [text, line] : typed) {
        t.messages.shown.clear();
        dialog.boxes[0].squareWidth->setText(text);
        dialog.cmdOK->click();
        ASSERT_EQ(t.messages.shown.size(), 1u) << text.toStdString();
        EXPECT_TRUE(t.messages.shown[0].text.contains(line)) << t.messages.shown[0].text.toStdString();
        EXPECT_FALSE(t.messages.shown[0].text.contains("inf")) << t.messages.shown[0].text.toStdString();
        EXPECT_EQ(folder.read("kavi4.ini"), before);
    }

    // A printer at 90.5 % (and one at the other end, 20 mm off) is within what the help promises.
    t.messages.shown.clear();
    set(dialog, Orientation::Portrait, {90.5, 109.5, 30 * 0.905 + 20, 50});
    dialog.boxes[1].squareWidth->setText("90.5 mm");
    dialog.cmdOK->click();
    EXPECT_TRUE(t.messages.shown.empty()) << t.messages.shown[0].text.toStdString();
    EXPECT_EQ(dialog.outcome(), CalibrationWindow::Outcome::Saved);
    EXPECT_NEAR(readCalibration(ini, "Office", Orientation::Portrait).scaleXPercent, 100 / 0.905, 1e-9);
    EXPECT_NEAR(readCalibration(ini, "Office", Orientation::Landscape).scaleXPercent, 100 / 0.905, 1e-9);
}

TEST_F(CalibrateDialog, OkStoresBothOrientationsSoThatPagesComeOutWhereMeantAndResetClearsThem) {
    const CalibrationMeasurement portrait{101, 99.5, 32, 29}, landscape{99, 100.5, 28.5, 31};
    {
        CalibrationWindow dialog(t.platform, ini, "Office");
        set(dialog, Orientation::Portrait, portrait);
        set(dialog, Orientation::Landscape, landscape);
        dialog.cmdOK->click();
        EXPECT_TRUE(t.messages.shown.empty());
        EXPECT_EQ(dialog.outcome(), CalibrationWindow::Outcome::Saved);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_TRUE(readCalibration(ini, "Home", Orientation::Portrait).isIdentity()) << "only this queue";
    EXPECT_TRUE(folder.read("kavi4.ini").startsWith("[MAIN]\nTab=3\n"));
    for (const auto& [o, m] :
         {std::pair{Orientation::Portrait, portrait}, std::pair{Orientation::Landscape, landscape}}) {
        const Calibration c = readCalibration(ini, "Office", o);
        ASSERT_FALSE(c.isIdentity());
        // Drawn through the correction and printed by this printer, the square lands as meant.
        const auto left = [&](double mm) {
            return printed(mm * c.scaleXPercent / 100 + c.offsetXMillimetres, m.squareWidth, m.cornerLeft);
        };
        const auto top = [&](double mm) {
            return printed(mm * c.scaleYPercent / 100 + c.offsetYMillimetres, m.squareHeight, m.cornerTop);
        };
        EXPECT_NEAR(left(30), 30, 1e-6);
        EXPECT_NEAR(left(130) - left(30), 100, 1e-6);
        EXPECT_NEAR(top(30), 30, 1e-6);
        EXPECT_NEAR(top(130) - top(30), 100, 1e-6);
    }

    CalibrationWindow again(t.platform, ini, "Office");
    again.cmdReset->click();
    EXPECT_EQ(again.outcome(), CalibrationWindow::Outcome::Reset);
    EXPECT_TRUE(readCalibration(ini, "Office", Orientation::Portrait).isIdentity());
    EXPECT_TRUE(readCalibration(ini, "Office", Orientation::Landscape).isIdentity());
}

TEST_F(CalibrateDialog, ASettingsFileThatCannotBeWrittenIsSaid) {
    CalibrationWindow dialog(t.platform, folder.file("no/such/folder/kavi4.ini"), "Office");
    dialog.cmdOK->click();
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_TRUE(t.messages.shown[0].text.startsWith("The calibration could not be saved"));
    EXPECT_EQ(dialog.outcome(), CalibrationWindow::Outcome::Nothing);
}
