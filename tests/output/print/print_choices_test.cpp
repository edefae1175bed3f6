// SPDX-License-Identifier: GPL-3.0-or-later
// The print choices reaching the job: the settings that keep them, Print To... a queue other than
// the default (its margins, its calibration, no default changed), the preview with its printer list
// and its notice of cut marks left out, and the preview's pages against the job for each choice.
#include "output/print/print_choices_settings.h"
#include "output/print/print_preview.h"
#include "output/print/print_to.h"
#include "platform/files/profile.h"
#include "platform/print/printer.h"
#include "tests/output/print/pdf_probe.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::TestPlatform;

namespace {

PrintSelection tick(std::initializer_list<int> kinds) {
    PrintSelection s;
    for (int n : kinds) {
        s.ticked[std::size_t(n - 1)] = true;
        s.pictures[std::size_t(n - 1)] = kavi::testing::darkPicture(40, 30, QStringLiteral("Image%1").arg(n));
    }
    return s;
}

std::vector<QString> opsStartingWith(const std::vector<QString>& ops, const QString& prefix) {
    std::vector<QString> found;
    for (const QString& op : ops)
        if (op.startsWith(prefix)) found.push_back(op);
    return found;
}

QRect inches(const LengthRect& r, double dpi) {
    return QRectF(r.left.inches() * dpi, r.top.inches() * dpi, r.width.inches() * dpi, r.height.inches() * dpi)
        .toAlignedRect();
}

} // namespace

TEST(PrintChoicesSettings, DefaultsWriteNothingNewAndEveryChoiceComesBack) {
    kavi::testing::TempFolder folder;
    const QString ini = folder.write("kavi4.ini", "[MAIN]\nTab=3\n");
    ASSERT_TRUE(writePrintLayout(ini, {PaperChoice::A4, true}));
    EXPECT_EQ(folder.read("kavi4.ini").toStdString(), "[MAIN]\nTab=3\n[PRINT LAYOUT]\nPaper=A4\nCutMarks=1\n")
        << "a user who changes only the paper finds the section as before";
    PrintChoices choices;
    choices.placement = Placement::MovedInForMarks;
    choices.sheets = {LongCaseSheet::Legal, DsSheetOnA4::Legal};
    choices.together = true;
    ASSERT_TRUE(writePrintLayout(ini, {PaperChoice::A4, true, choices}));
    EXPECT_EQ(readPrintLayout(ini), (PrintLayoutSettings{PaperChoice::A4, true, choices}));
    // Back to the defaults: the values written are read as the defaults.
    ASSERT_TRUE(writePrintLayout(ini, {PaperChoice::A4, true}));
    EXPECT_EQ(readPrintLayout(ini), (PrintLayoutSettings{PaperChoice::A4, true}));
    EXPECT_EQ(profile::getString("PRINT LAYOUT", "Placement", "", 100, ini), "corner");
    // Damaged values read as the defaults; a placement's word in any case is taken.
    folder.write("kavi4.ini", "[PRINT LAYOUT]\nPlacement=middle\nHdBluRaySheet=A3\nDsSheetOnA4=\nTogether=yes\n");
    EXPECT_EQ(readPrintChoices(ini), PrintChoices{});
    folder.write("kavi4.ini", "[PRINT LAYOUT]\nPlacement=Centre\n");
    EXPECT_EQ(readPrintChoices(ini).placement, Placement::CentredOnSheet);
    EXPECT_TRUE(readPrintToQueue(ini).isEmpty());
    ASSERT_TRUE(writePrintToQueue(ini, "Lab"));
    EXPECT_EQ(readPrintToQueue(ini), "Lab");
}

TEST(PrintChoicesSettings, TheBleedIsWrittenOnlyOnceChosenAndADamagedValueReadsAsNone) {
    kavi::testing::TempFolder folder;
    const QString ini = folder.write("kavi4.ini", "[PRINT LAYOUT]\nPaper=US\nCutMarks=1\n");
    PrintChoices choices;
    ASSERT_TRUE(writePrintChoices(ini, choices));
    EXPECT_EQ(folder.read("kavi4.ini").toStdString(), "[PRINT LAYOUT]\nPaper=US\nCutMarks=1\n");
    for (Bleed bleed : {Bleed::TwoMillimetres, Bleed::ThreeMillimetres, Bleed::Off}) {
        choices.bleed = bleed;
        choices.together = bleed == Bleed::ThreeMillimetres;
        ASSERT_TRUE(writePrintChoices(ini, choices));
        EXPECT_EQ(readPrintChoices(ini), choices);
        EXPECT_EQ(profile::getString("PRINT LAYOUT", "Bleed", "", 100, ini), bleedWord(bleed));
    }
    for (const char* damaged : {"5", "2.5", "-3", "three", "", "3mm"}) {
        folder.write("kavi4.ini", QStringLiteral("[PRINT LAYOUT]\nBleed=%1\nTogether=1\n").arg(damaged).toUtf8());
        EXPECT_EQ(readPrintChoices(ini).bleed, Bleed::Off) << damaged;
        EXPECT_TRUE(readPrintChoices(ini).together) << "the other choices are read beside it";
    }
    folder.write("kavi4.ini", "[PRINT LAYOUT]\nBleed= 2 \n");
    EXPECT_EQ(readPrintChoices(ini).bleed, Bleed::TwoMillimetres);
}

TEST(PrintBleed, WithAPrintersMarginsTheFitCheckCountsTheBleedInTheQuestionAndThePreview) {
    // The HD-DVD cover is exactly as wide as the printable area of margins of 0.25 in: it fits
    // without bleed, and with one its right edge and bleed are pushed out.
    PrintSelection s = tick({9});
    TestPlatform plain;
    plain.printer.margins = std::array<double, 4>{0.25, 0.25, 0.25, 0.25};
    ASSERT_TRUE(printCovers(plain.platform, s).sent);
    ASSERT_EQ(plain.messages.shown.size(), 1u) << "only the paper question";

    s.layout.choices.bleed = Bleed::TwoMillimetres;
    TestPlatform tight;
    tight.printer.margins = std::array<double, 4>{0.25, 0.25, 0.25, 0.25};
    tight.messages.answers = {MsgResult::Cancel};
    EXPECT_FALSE(printCovers(tight.platform, s).sent);
    ASSERT_FALSE(tight.messages.shown.empty());
    EXPECT_TRUE(tight.messages.shown[0].text.contains("HD-DVD loses 0.16 in (4.0 mm) at the right edge"))
        << tight.messages.shown[0].text.toStdString();
    {
        PrintPreviewWindow preview(tight.platform, s);
        EXPECT_EQ(preview.lblFit->text(),
                  "HD-DVD does not fit the printable area: 0.16 in (4.0 mm) is lost at the "
                  "right edge. That counts the 2 mm bleed.");
    }
    // Centred on the sheet, only the bleeds fall outside: the notice says the cover itself fits.
    s.layout.choices.placement = Placement::CentredOnSheet;
    {
        PrintPreviewWindow preview(tight.platform, s);
        EXPECT_TRUE(preview.lblFit->text().startsWith(
            "HD-DVD does not fit the printable area: 0.08 in (2.0 mm) is lost at the left edge. Only the 2 mm bleed "
            "is lost: the cover itself fits."))
            << preview.lblFit->text().toStdString();
    }

    // With room for it, the stretched picture is drawn over the cover and its 3 mm bleed, from the
    // printable corner, and the cover keeps its place inside.
    s.layout.choices = {};
    s.layout.choices.bleed = Bleed::ThreeMillimetres;
    TestPlatform roomy;
    roomy.printer.margins = std::array<double, 4>{0.1, 0.1, 0.1, 0.1};
    ASSERT_TRUE(printCovers(roomy.platform, s).sent);
    EXPECT_EQ(roomy.messages.shown.size(), 1u);
    const double bleed = Length::fromMillimetres(3).twips();
    const std::vector<QString> draws = opsStartingWith(roomy.printer.ops, "draw");
    ASSERT_EQ(draws.size(), 1u);
    static const QRegularExpression drawn(R"(^draw Image9 (\S+),(\S+) (\S+)x(\S+)$)");
    const QRegularExpressionMatch m = drawn.match(draws[0]);
    ASSERT_TRUE(m.hasMatch()) << draws[0].toStdString();
    // The recorder writes six digits: a twentieth of a twip is as near as it tells.
    const double expected[] = {0, 0, 15120 + 2 * bleed, 8460 + 2 * bleed};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(m.captured(i + 1).toDouble(), expected[i], 0.05) << draws[0].toStdString();
}

TEST(PrintTo, TheJobGoesToTheChosenQueueWithItsMarginsCalibrationAndCopiesAndNoDefaultChanges) {
    TestPlatform t;
    t.printers.install({"Office", "Lab"});
    t.printer.margins = std::array<double, 4>{0.5, 0.5, 0.5, 0.5};
    t.printer.queueMargins["Lab"] = {0.1, 0.2, 0.1, 0.1};
    PrintSelection s = tick({9});
    std::vector<QString> calibrated;
    s.calibrationOf = [&calibrated](const QString& queue, Orientation) {
        calibrated.push_back(queue);
        return queue == "Lab" ? Calibration{2, 0, 100, 100} : Calibration{};
    };
    const QString entry = t.printers.deviceEntry;
    const PrintOutcome outcome = printCoversTo(t.platform, s, "Lab", 2);
    ASSERT_TRUE(outcome.sent);
    EXPECT_EQ(outcomeNotice(outcome), "Sent 1 page to Lab.");
    ASSERT_EQ(t.messages.shown.size(), 1u) << "Lab's margins leave room for the HD-DVD: only the paper question";
    EXPECT_EQ(t.messages.shown[0].text, "Please make sure your printer is on and full of paper.");
    EXPECT_EQ(calibrated, std::vector<QString>{"Lab"});
    const double mm = 1440 / 25.4;
    EXPECT_EQ(opsStartingWith(t.printer.ops, "draw"),
              std::vector<QString>{QStringLiteral("draw Image9 %1,0 15120x8460").arg(2 * mm)});
    EXPECT_EQ(opsStartingWith(t.printer.ops, "copies"), std::vector<QString>{"copies 2"});
    EXPECT_TRUE(opsStartingWith(t.printer.ops, "follow").empty()) << "the default is not even asked to follow";
    EXPECT_TRUE(t.printers.entryWrites.empty());
    EXPECT_TRUE(t.printers.spoolerWrites.empty());
    EXPECT_EQ(t.printers.deviceEntry, entry);
    // The next Print goes to the default printer, and its margins decide again.
    t.messages.shown.clear();
    t.messages.answers = {MsgResult::Cancel};
    const PrintOutcome next = printCovers(t.platform, s);
    EXPECT_FALSE(next.sent);
    ASSERT_FALSE(t.messages.shown.empty());
    EXPECT_TRUE(t.messages.shown[0].text.contains("HD-DVD loses 0.50 in")) << t.messages.shown[0].text.toStdString();

    // Cancelled at the paper question: nothing goes out and the queue is not kept for later.
    TestPlatform cancelled;
    cancelled.printers.install({"Office", "Lab"});
    cancelled.messages.answers = {MsgResult::Cancel};
    EXPECT_FALSE(printCoversTo(cancelled.platform, tick({5}), "Lab", 1).sent);
    EXPECT_EQ(cancelled.printer.nextJobPrinter(), "Office");
}

TEST(PrintTo, TheListShowsWhichQueuesCannotPrintAndRefusesThemWithTheReason) {
    TestPlatform t;
    t.printers.install({"Office", "Lab", "Old", "Away"});
    t.printers.printers[1].state = QueueState::Stopped;
    t.printers.printers[2].state = QueueState::NotAccepting;
    t.printers.printers[3].state = QueueState::Unreachable;
    PrintToDialog dialog(t.platform, "Old");
    ASSERT_EQ(dialog.lstPrinters->count(), 4);
    EXPECT_EQ(dialog.lstPrinters->item(0)->text(), "Office (default)");
    EXPECT_EQ(dialog.lstPrinters->item(1)->text(), "Lab - stopped");
    EXPECT_EQ(dialog.lstPrinters->item(2)->text(), "Old - not accepting jobs");
    EXPECT_EQ(dialog.lstPrinters->item(3)->text(), "Away - unreachable");
    EXPECT_EQ(dialog.lstPrinters->currentRow(), 2) << "the queue chosen last time";
    EXPECT_EQ(PrintToDialog(t.platform, "Removed").lstPrinters->currentRow(), 0) << "gone since: the default";
    for (int row : {1, 2, 3}) {
        dialog.lstPrinters->setCurrentRow(row);
        dialog.cmdPrint->click();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        ASSERT_FALSE(t.messages.shown.empty());
        EXPECT_TRUE(t.messages.shown.back().text.startsWith(t.printers.printers[std::size_t(row)].deviceName))
            << t.messages.shown.back().text.toStdString();
    }
    EXPECT_TRUE(t.messages.shown[0].text.contains("stopped"));
    dialog.lstPrinters->setCurrentRow(0);
    dialog.spnCopies->setValue(3);
    dialog.cmdPrint->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.queue(), "Office");
    EXPECT_EQ(dialog.copies(), 3);
}

TEST(PrintPreview, ThePrinterListLaysTheJobOutForTheChosenQueueAndPrintSendsItThere) {
    TestPlatform t;
    t.printers.install({"Office", "Lab", "Stopped"});
    t.printers.printers[2].state = QueueState::Stopped;
    t.printer.margins = std::array<double, 4>{0.5, 0.5, 0.5, 0.5};
    t.printer.queueMargins["Lab"] = {0.1, 0.2, 0.1, 0.1};
    PrintPreviewWindow preview(t.platform, tick({9}));
    EXPECT_EQ(preview.lblPrinter->text(), "Printer: Office");
    ASSERT_EQ(preview.cboPrinter->count(), 4);
    EXPECT_EQ(preview.cboPrinter->itemText(3), "Stopped - stopped");
    EXPECT_FALSE(preview.lblFit->text().isEmpty()) << "0.5 in margins: the HD-DVD does not fit";
    preview.choosePrinter("Lab");
    EXPECT_EQ(preview.lblPrinter->text(), "Printer: Lab");
    EXPECT_EQ(preview.cboPrinter->currentIndex(), 2);
    EXPECT_TRUE(preview.lblFit->text().isEmpty()) << "on Lab it fits";
    EXPECT_EQ(preview.job().pages[0].covers[0].rect.left, Length::fromInches(0.1));
    preview.choosePrinter("Stopped");
    EXPECT_EQ(preview.chosenQueue(), "Lab") << "a stopped queue is refused";
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, "Stopped cannot print now: it is stopped.");
    EXPECT_EQ(t.printer.nextJobPrinter(), "Office") << "the preview keeps no queue on the printer object";
    preview.cmdPrint->click();
    ASSERT_TRUE(preview.outcome().sent);
    EXPECT_EQ(preview.outcome().printer, "Lab");
    EXPECT_EQ(opsStartingWith(t.printer.ops, "to queue"),
              (std::vector<QString>{"to queue Lab", "to queue ", "to queue Lab", "to queue "}));
    EXPECT_EQ(opsStartingWith(t.printer.ops, "draw"), std::vector<QString>{"draw Image9 0,0 15120x8460"});
    EXPECT_TRUE(t.printers.entryWrites.empty());
}

TEST(PrintPreview, SaysHowManyCutMarksTheCornerLeavesOutAndNoneWhenMovedIn) {
    TestPlatform t;
    t.printer.margins = std::array<double, 4>{0.25, 0.25, 0.25, 0.25};
    PrintSelection s = tick({4});
    s.layout.cutMarks = true;
    PrintPreviewWindow corner(t.platform, s);
    EXPECT_EQ(corner.lblFit->text().toStdString(),
              "8 of the 12 cut marks are left out: they would fall outside the area the printer can print on. "
              "Place covers \"at the printable corner, moved in for cut marks\" to keep them.");
    s.layout.choices.placement = Placement::MovedInForMarks;
    PrintPreviewWindow moved(t.platform, s);
    EXPECT_TRUE(moved.lblFit->text().isEmpty());
    EXPECT_EQ(moved.job().pages[0].marks.size(), 12u);
}

// For each new choice the preview shows where the job draws: each cover's picture lies on the
// covers' rectangles of the job the printer gets.
TEST(PrintPreview, ShowsTheJobOfEveryNewChoice) {
    struct Case {
        const char* what;
        std::initializer_list<int> kinds;
        PrintChoices choices;
        int pages, covers;
        bool legal; // the paper question asks for Legal
    };
    PrintChoices centred, moved, legal, together;
    centred.placement = Placement::CentredOnSheet;
    moved.placement = Placement::MovedInForMarks;
    legal.sheets.hdAndBluRay = LongCaseSheet::Legal;
    together.together = true;
    for (const Case& c : {Case{"centred", {4}, centred, 1, 1, true}, Case{"moved in", {1, 2, 3}, moved, 2, 3, false},
                          Case{"hd on legal", {9}, legal, 1, 1, true}, Case{"together", {1, 3}, together, 1, 2, false},
                          Case{"four mini cds", {5}, together, 1, 4, false}}) {
        TestPlatform shown, printed;
        for (TestPlatform* t : {&shown, &printed}) t->printer.margins = std::array<double, 4>{0.25, 0.3, 0.2, 0.25};
        PrintSelection s = tick(c.kinds);
        s.layout.cutMarks = true;
        s.layout.choices = c.choices;
        PrintPreviewWindow preview(shown.platform, s);
        ASSERT_TRUE(printCovers(printed.platform, s).sent) << c.what;
        ASSERT_EQ(int(preview.job().pages.size()), c.pages) << c.what;
        // The printer's draws, from the printable corner, are the preview's covers.
        std::vector<QString> fromPreview;
        int covers = 0;
        for (const RenderedPage& page : preview.job().pages) {
            covers += int(page.covers.size());
            for (const PlacedCover& cover : page.covers) {
                const LengthRect& r = cover.rect;
                fromPreview.push_back(QStringLiteral("draw Image%1 %2,%3 %4x%5")
                                          .arg(cover.kind)
                                          .arg((r.left - page.printable.left).twips())
                                          .arg((r.top - page.printable.top).twips())
                                          .arg(r.width.twips())
                                          .arg(r.height.twips()));
            }
            // The preview's page shows the covers where the job has them.
            const double dpi = 50;
            const QRect bounds = inches(coversBounds(page.covers), dpi);
            const QImage shownPage = preview.pageImage(int(&page - &preview.job().pages[0]), dpi);
            const QRect box = kavi::testing::inkBox(shownPage.copy(bounds.adjusted(-2, -2, 2, 2)))
                                  .translated(bounds.topLeft() - QPoint(2, 2));
            EXPECT_NEAR(box.left(), bounds.left(), 2) << c.what;
            EXPECT_NEAR(box.top(), bounds.top(), 2) << c.what;
            EXPECT_NEAR(box.right(), bounds.right(), 2) << c.what;
            EXPECT_NEAR(box.bottom(), bounds.bottom(), 2) << c.what;
        }
        EXPECT_EQ(covers, c.covers) << c.what;
        EXPECT_EQ(opsStartingWith(printed.printer.ops, "draw"), fromPreview) << c.what;
        EXPECT_EQ(opsStartingWith(printed.printer.ops, "line").size(), [&] {
            std::size_t n = 0;
            for (const RenderedPage& page : preview.job().pages) n += page.marks.size();
            return n;
        }()) << c.what;
        EXPECT_EQ(printed.messages.shown.back().text.toStdString(),
                  c.legal ? "Please make sure your printer is on and you are using LEGAL sized paper!"
                          : "Please make sure your printer is on and full of paper.")
            << c.what;
    }
}

// A file's covers put together: the PDF and the preview agree, four Mini CDs on one sheet.
TEST(PrintPreview, CoversTogetherInAPdfFileMatchThePreview) {
    QTemporaryDir dir;
    TestPlatform t; // no printer installed: the job is a PDF file
    CupsPrinterObject writer(t.printers);
    Platform withWriter = t.withPrinter(writer);
    PrintSelection s = tick({5});
    s.layout.choices.together = true;
    PrintPreviewWindow preview(withWriter, s);
    ASSERT_TRUE(preview.job().toFile);
    ASSERT_EQ(preview.job().pages.size(), 1u);
    EXPECT_EQ(preview.job().pages[0].covers.size(), 4u) << "two by two, with room for the marks around them";
    const QString pdf = dir.filePath("covers.pdf");
    t.saveDialog.answers = {{true, pdf, 0}};
    preview.cmdPrint->click();
    ASSERT_TRUE(preview.outcome().sent);
    const int dpi = 72;
    const QRect inPdf = kavi::testing::inkBox(kavi::testing::renderPdfPage(pdf, 1, dpi));
    const QRect inPreview = kavi::testing::inkBox(preview.pageImage(0, dpi));
    ASSERT_FALSE(inPdf.isEmpty());
    EXPECT_NEAR(inPreview.left(), inPdf.left(), 1);
    EXPECT_NEAR(inPreview.top(), inPdf.top(), 1);
    EXPECT_NEAR(inPreview.right(), inPdf.right(), 1);
    EXPECT_NEAR(inPreview.bottom(), inPdf.bottom(), 1);
}

TEST(PrintTo, NothingTickedOrNoPrinterIsSaidBeforeAnyListAndNothingIsRemembered) {
    kavi::testing::TempFolder folder;
    const QString ini = folder.file("kavi4.ini");
    TestPlatform none; // no printer installed
    EXPECT_FALSE(showPrintTo(none.platform, tick({5}), ini, nullptr).sent);
    ASSERT_EQ(none.messages.shown.size(), 1u);
    EXPECT_EQ(none.messages.shown[0].text, "No printer is installed.");
    TestPlatform t;
    t.printers.install({"Office"});
    EXPECT_FALSE(showPrintTo(t.platform, PrintSelection{}, ini, nullptr).sent);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, "Please select a cover option to print!");
    EXPECT_TRUE(t.printer.ops.empty());
    EXPECT_FALSE(QFile::exists(ini));
}
