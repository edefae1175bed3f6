// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's printing commands beyond the print button: the PDF export, the paper choice
// and cut marks, and what every print command reads from the window.
#include "app/main_window.h"

#include "app/dialog_folders.h"
#include "app/folder_list.h"
#include "app/print_choices_menu.h"
#include "app/safe_margin_setting.h"
#include "output/print/calibrate_printer.h"
#include "output/print/cover_document_printing.h"
#include "output/print/cover_printing.h"
#include "output/print/disc_printing.h"
#include "output/print/print_preview.h"
#include "output/print/print_to.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace kavi {

void MainWindow::buildPrintLayoutMenu() {
    PaperMenu = File->addMenu(QStringLiteral("Pape&r"));
    PaperMenu->setObjectName(QStringLiteral("PaperMenu"));
    auto* choices = new QActionGroup(PaperMenu);
    const auto choice = [&](QAction*& action, const char* name, const QString& caption, void (MainWindow::*handler)()) {
        action = PaperMenu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        choices->addAction(action);
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    choice(PaperLetterLegal, "PaperLetterLegal", QStringLiteral("&Letter and Legal"),
           &MainWindow::PaperLetterLegal_Click);
    choice(PaperA4, "PaperA4", QStringLiteral("&A4"), &MainWindow::PaperA4_Click);
    printChoicesMenu = new PrintChoicesMenu(
        PaperMenu, [this] { return printLayout().choices; },
        [this](const PrintChoices& choices) {
            PrintLayoutSettings layout = printLayout();
            layout.choices = choices;
            choosePrintLayout(layout);
        });
    CutMarks = File->addAction(QStringLiteral("Cut &Marks"));
    CutMarks->setObjectName(QStringLiteral("CutMarks"));
    CutMarks->setCheckable(true);
    connect(CutMarks, &QAction::triggered, this, [this] { CutMarks_Click(); });
    showPrintLayout();
}

// Shows the document's layout in the menu.
void MainWindow::showPrintLayout() {
    const PrintLayoutSettings layout = printLayout();
    PaperLetterLegal->setChecked(layout.paper == PaperChoice::LetterAndLegal);
    PaperA4->setChecked(layout.paper == PaperChoice::A4);
    CutMarks->setChecked(layout.cutMarks);
    printChoicesMenu->show(layout.choices);
}

PrintLayoutSettings MainWindow::printLayout() const { return printLayoutSettingsOf(document_.printLayout()); }

// Read at start-up, the layout is shown and not written.
void MainWindow::readPrintLayoutSettings() {
    document_.setPrintLayout(documentPrintLayoutOf(readPrintLayout(settingsFile)));
    document_.setSafeMargin(readSafeMargin(settingsFile));
    showPrintLayout();
}

// A change is kept at once: the section is written only when the user changes something in it.
void MainWindow::choosePrintLayout(const PrintLayoutSettings& layout) {
    document_.setPrintLayout(documentPrintLayoutOf(layout));
    showPrintLayout();
    writePrintLayout(settingsFile, layout);
}
void MainWindow::PaperLetterLegal_Click() {
    choosePrintLayout({PaperChoice::LetterAndLegal, printLayout().cutMarks, printLayout().choices});
}
void MainWindow::PaperA4_Click() {
    choosePrintLayout({PaperChoice::A4, printLayout().cutMarks, printLayout().choices});
}
void MainWindow::CutMarks_Click() {
    choosePrintLayout({printLayout().paper, CutMarks->isChecked(), printLayout().choices});
}

PrintSelection MainWindow::printSelection() const {
    PrintSelection selection = printSelectionOf(document_);
    selection.pdfFolder = dialogStartFolder(settingsFile, DialogFileKind::Pdf, dirSelect->path());
    selection.calibrationOf = [file = settingsFile](const QString& queue, Orientation orientation) {
        return readCalibration(file, queue, orientation);
    };
    return selection;
}

void MainWindow::cmdPrint_Click() {
    if (handledAsDiscLabel(DiscOutput::Print)) return;
    showPrintOutcome(printCovers(platform, printSelection()));
}

// Confirms what was sent; a PDF file the user named keeps its folder for the next PDF dialog.
void MainWindow::showPrintOutcome(const PrintOutcome& outcome) {
    rememberDialogFolder(settingsFile, DialogFileKind::Pdf, outcome.file);
    const QString notice = outcomeNotice(outcome);
    if (!notice.isEmpty()) ShowNotice(notice);
}

// Prints the calibration page on the printer the next job goes to, then asks what the user
// measured on it and keeps that queue's corrections.
void MainWindow::CalibratePrinter_Click() {
    const QString title = QStringLiteral("Calibrate Printer");
    PrinterObject& printer = platform.printer;
    const QString queue = printer.setFollowDefault(true) ? printer.nextJobPrinter() : QString();
    if (queue.isEmpty()) {
        platform.messages.show(
            {whyNoPrinter(platform.printers), title, MsgIcon::Exclamation, MsgButtons::Ok, MsgDefault::First});
        return;
    }
    const QString paper = printLayout().paper == PaperChoice::A4 ? QStringLiteral("A4") : QStringLiteral("Letter");
    const QString text = QStringLiteral("Kavi sends two calibration pages to %1, one upright and one sideways. "
                                        "Please make sure your printer is on and you are using %2 sized paper.")
                             .arg(queue, paper);
    if (platform.messages.show({text, title, MsgIcon::Information, MsgButtons::OkCancel, MsgDefault::First}) !=
        MsgResult::Ok)
        return;
    if (!printCalibrationJob(printer, printLayout().paper)) {
        platform.messages.show({QStringLiteral("The calibration pages could not be sent to %1.").arg(queue), title,
                                MsgIcon::Critical, MsgButtons::Ok, MsgDefault::First});
        return;
    }
    CalibrationWindow dialog(platform, settingsFile, queue, this);
    dialog.exec();
    if (dialog.outcome() == CalibrationWindow::Outcome::Saved)
        ShowNotice(QStringLiteral("Calibration saved for %1.").arg(queue));
    if (dialog.outcome() == CalibrationWindow::Outcome::Reset)
        ShowNotice(QStringLiteral("%1 prints without calibration again.").arg(queue));
}

void MainWindow::PrintPreview_Click() {
    if (handledAsDiscLabel(DiscOutput::Preview)) return;
    showPrintOutcome(showPrintPreview(platform, printSelection(), this));
}

// Sends the covers to a queue chosen for this job only; the default printer stays as it is. Disc
// labels print with Print, on the label stock's sheets.
void MainWindow::PrintTo_Click() {
    if (refuseCaseCoversOnStock(platform.messages, document_)) return;
    if (refuseDiscLabelForPrintTo(platform.messages, document_)) return;
    showPrintOutcome(showPrintTo(platform, printSelection(), settingsFile, this));
}

void MainWindow::ExportPdf_Click() {
    if (handledAsDiscLabel(DiscOutput::Export)) return;
    showPrintOutcome(exportCoversPdf(platform, printSelection()));
}

} // namespace kavi
