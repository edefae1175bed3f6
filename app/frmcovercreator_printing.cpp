// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's printing commands beyond the print button: the PDF export, the paper choice
// and cut marks, and what every print command reads from the window.
#include "frmcovercreator.h"

#include "calibrate_printer.h"
#include "cover_document_printing.h"
#include "cover_printing.h"
#include "dialog_folders.h"
#include "folder_list.h"
#include "print_preview.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace kavi {

void frmcovercreator::buildPrintLayoutMenu() {
    PaperMenu = File->addMenu(QStringLiteral("Pape&r"));
    PaperMenu->setObjectName(QStringLiteral("PaperMenu"));
    auto* choices = new QActionGroup(PaperMenu);
    const auto choice = [&](QAction*& action, const char* name, const QString& caption,
                            void (frmcovercreator::*handler)()) {
        action = PaperMenu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        choices->addAction(action);
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    choice(PaperLetterLegal, "PaperLetterLegal", QStringLiteral("&Letter and Legal"),
           &frmcovercreator::PaperLetterLegal_Click);
    choice(PaperA4, "PaperA4", QStringLiteral("&A4"), &frmcovercreator::PaperA4_Click);
    CutMarks = File->addAction(QStringLiteral("Cut &Marks"));
    CutMarks->setObjectName(QStringLiteral("CutMarks"));
    CutMarks->setCheckable(true);
    connect(CutMarks, &QAction::triggered, this, [this] { CutMarks_Click(); });
    showPrintLayout();
}

// Shows the document's layout in the menu.
void frmcovercreator::showPrintLayout() {
    const PrintLayoutSettings layout = printLayout();
    PaperLetterLegal->setChecked(layout.paper == PaperChoice::LetterAndLegal);
    PaperA4->setChecked(layout.paper == PaperChoice::A4);
    CutMarks->setChecked(layout.cutMarks);
}

PrintLayoutSettings frmcovercreator::printLayout() const { return printLayoutSettingsOf(document_.printLayout()); }

// Read at start-up, the layout is shown and not written.
void frmcovercreator::readPrintLayoutSettings() {
    document_.setPrintLayout(documentPrintLayoutOf(readPrintLayout(settingsFile)));
    showPrintLayout();
}

// A change is kept at once: the section is written only when the user changes something in it.
void frmcovercreator::choosePrintLayout(const PrintLayoutSettings& layout) {
    document_.setPrintLayout(documentPrintLayoutOf(layout));
    showPrintLayout();
    writePrintLayout(settingsFile, layout);
}
void frmcovercreator::PaperLetterLegal_Click() {
    choosePrintLayout({PaperChoice::LetterAndLegal, printLayout().cutMarks});
}
void frmcovercreator::PaperA4_Click() { choosePrintLayout({PaperChoice::A4, printLayout().cutMarks}); }
void frmcovercreator::CutMarks_Click() { choosePrintLayout({printLayout().paper, CutMarks->isChecked()}); }

PrintSelection frmcovercreator::printSelection() const {
    PrintSelection selection = printSelectionOf(document_);
    selection.pdfFolder = dialogStartFolder(settingsFile, DialogFileKind::Pdf, dirSelect->path());
    selection.calibrationOf = [file = settingsFile](const QString& queue, Orientation orientation) {
        return readCalibration(file, queue, orientation);
    };
    return selection;
}

void frmcovercreator::cmdPrint_Click() {
    if (handledAsDiscLabel(DiscOutput::Print)) return;
    showPrintOutcome(printCovers(platform, printSelection()));
}

// Confirms what was sent; a PDF file the user named keeps its folder for the next PDF dialog.
void frmcovercreator::showPrintOutcome(const PrintOutcome& outcome) {
    rememberDialogFolder(settingsFile, DialogFileKind::Pdf, outcome.file);
    const QString notice = outcomeNotice(outcome);
    if (!notice.isEmpty()) ShowNotice(notice);
}

// Prints the calibration page on the printer the next job goes to, then asks what the user
// measured on it and keeps that queue's corrections.
void frmcovercreator::CalibratePrinter_Click() {
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
    frmCalibrate dialog(platform, settingsFile, queue, this);
    dialog.exec();
    if (dialog.outcome() == frmCalibrate::Outcome::Saved)
        ShowNotice(QStringLiteral("Calibration saved for %1.").arg(queue));
    if (dialog.outcome() == frmCalibrate::Outcome::Reset)
        ShowNotice(QStringLiteral("%1 prints without calibration again.").arg(queue));
}

void frmcovercreator::PrintPreview_Click() {
    if (handledAsDiscLabel(DiscOutput::Preview)) return;
    showPrintOutcome(showPrintPreview(platform, printSelection(), this));
}

void frmcovercreator::ExportPdf_Click() {
    if (handledAsDiscLabel(DiscOutput::Export)) return;
    showPrintOutcome(exportCoversPdf(platform, printSelection()));
}

} // namespace kavi
