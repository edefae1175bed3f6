// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/disc_printing.h"

#include <QApplication>

namespace kavi {

namespace {

const QString kDiscPrintTitle = QStringLiteral("Printing Disc Labels");

QString askForPdfFile(Platform& platform, const QString& folder) {
    SaveDialogRequest request;
    request.directory = folder;
    request.title = QStringLiteral("Save Disc Label as PDF");
    request.filters = {QStringLiteral("PDF files (*.pdf)")};
    request.fileName = QStringLiteral("disc-label.pdf");
    request.defaultSuffix = QStringLiteral("pdf");
    const SaveDialogResult chosen = platform.saveDialog.ask(request);
    return chosen.accepted ? chosen.fileName : QString();
}

// Nothing to print, or a job that cannot be laid out (a start past the stock's labels): says why.
bool sayWhyNot(MessageBoxes& messages, const PreparedDiscJob& job) {
    if (job.layout.error.empty()) return false;
    QString why = QString::fromStdString(job.layout.error);
    why[0] = why[0].toUpper();
    messages.show({why + QStringLiteral("; nothing was printed."), kDiscPrintTitle, MsgIcon::Exclamation,
                   MsgButtons::Ok, MsgDefault::First});
    return true;
}

bool sendWithBusyPointer(PrinterObject& printer, const DiscPrintSelection& selection, const PreparedDiscJob& job) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool sent = sendPreparedDiscJob(printer, selection, job);
    QApplication::restoreOverrideCursor();
    return sent;
}

PrintOutcome writeFile(Platform& platform, const DiscPrintSelection& selection, const QString& file) {
    PrintOutcome outcome;
    outcome.file = file;
    platform.printer.printNextJobToFile(file);
    const PreparedDiscJob job = prepareDiscJob(platform.printer, selection, true);
    outcome.sent = sendWithBusyPointer(platform.printer, selection, job);
    outcome.pages = outcome.sent ? int(job.layout.sheets.size()) : 0;
    if (!outcome.sent)
        platform.messages.show({QStringLiteral("The PDF file could not be written. Check that the folder can be "
                                               "written to."),
                                kDiscPrintTitle, MsgIcon::Critical, MsgButtons::Ok, MsgDefault::First});
    return outcome;
}

} // namespace

PrintOutcome printDiscLabel(Platform& platform, const DiscPrintSelection& selection, const QString& pdfFolder) {
    PrintOutcome outcome;
    PrinterObject& printer = platform.printer;
    if (sayWhyNot(platform.messages, prepareDiscJob(printer, selection, true))) return outcome;
    if (!printer.setFollowDefault(true)) {
        const QString text = whyNoPrinter(platform.printers) +
            QStringLiteral("\n\nDo you want to save the label as a PDF file at its real size instead, to print it "
                           "elsewhere?");
        if (platform.messages.show(
                {text, kDiscPrintTitle, MsgIcon::Exclamation, MsgButtons::YesNo, MsgDefault::First}) != MsgResult::Yes)
            return outcome;
        const QString file = askForPdfFile(platform, pdfFolder);
        return file.isEmpty() ? outcome : writeFile(platform, selection, file);
    }
    const PreparedDiscJob job = prepareDiscJob(printer, selection, false);
    outcome.sent = sendWithBusyPointer(printer, selection, job);
    outcome.pages = outcome.sent ? int(job.layout.sheets.size()) : 0;
    outcome.printer = job.printer;
    if (!outcome.sent) sayJobNotSent(platform.messages, job.printer);
    return outcome;
}

PrintOutcome exportDiscPdf(Platform& platform, const DiscPrintSelection& selection, const QString& pdfFolder) {
    if (sayWhyNot(platform.messages, prepareDiscJob(platform.printer, selection, true))) return {};
    const QString file = askForPdfFile(platform, pdfFolder);
    if (file.isEmpty()) return {};
    return writeFile(platform, selection, file);
}

bool refuseCaseCoversOnStock(MessageBoxes& messages, const CoverDocument& document) {
    const DiscStockChoice& choice = document.stockChoice();
    if (choice.isPlainPaper() || document.tickedDisc() || !document.selection().printEnabled) return false;
    messages.show({QStringLiteral("Case covers are not printed on disc label stock (%1). Choose Plain paper in "
                                  "File > Label Stock... to print them, or tick Disc or Mini Disc.")
                       .arg(QString::fromStdString(choice.stock->name())),
                   kDiscPrintTitle, MsgIcon::Exclamation, MsgButtons::Ok, MsgDefault::First});
    return true;
}

bool refuseDiscLabelForPrintTo(MessageBoxes& messages, const CoverDocument& document) {
    if (!document.tickedDisc()) return false;
    messages.show({QStringLiteral("Print To... prints case covers. Print the disc label with Print."), kDiscPrintTitle,
                   MsgIcon::Information, MsgButtons::Ok, MsgDefault::First});
    return true;
}

} // namespace kavi
