// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/cover_printing.h"

#include <QApplication>
#include <QPushButton>
#include <QStringList>

namespace kavi {

namespace {

const QString kPrintTitle = QStringLiteral("Printing Covers");

// The paper question; true when the user answers OK.
bool askForPaper(MessageBoxes& messages, PaperQuestion question) {
    QString text;
    switch (question) {
    case PaperQuestion::LegalPaper:
        text = QStringLiteral("Please make sure your printer is on and you are using LEGAL sized paper!");
        break;
    case PaperQuestion::A4Paper:
        text = QStringLiteral("Please make sure your printer is on and you are using A4 sized paper!");
        break;
    case PaperQuestion::FullOfPaper:
        text = QStringLiteral("Please make sure your printer is on and full of paper.");
        break;
    }
    return messages.show({text, kPrintTitle, MsgIcon::Information, MsgButtons::OkCancel, MsgDefault::First}) ==
        MsgResult::Ok;
}

} // namespace

QString whyNoPrinter(PrinterSystem& printers) {
    const PrintServiceStatus service = printers.printService();
    const QString unreachable = QStringLiteral("The print service cannot be reached (CUPS at %1), so no printer "
                                               "can be used now.")
                                    .arg(service.server);
    if (!service.reachable) return unreachable;
    if (!printers.installedPrinters().empty()) {
        // A default there now was not found a moment ago: the service did not answer then.
        if (!deviceNameOfEntry(printers.defaultPrinterEntry()).isEmpty()) return unreachable;
        return QStringLiteral("None of the installed printers is the default printer. You can choose one with "
                              "\"Select Printer\" in the File menu.");
    }
    return QStringLiteral("No printer is installed.");
}

namespace {

// Asks where a PDF file of the covers goes; empty when the user cancels.
QString askForPdfFile(Platform& platform, const QString& folder) {
    SaveDialogRequest request;
    request.directory = folder;
    request.title = QStringLiteral("Save Covers as PDF");
    request.filters = {QStringLiteral("PDF files (*.pdf)")};
    request.fileName = QStringLiteral("covers.pdf");
    request.defaultSuffix = QStringLiteral("pdf");
    const SaveDialogResult chosen = platform.saveDialog.ask(request);
    return chosen.accepted ? chosen.fileName : QString();
}

// No printer can take the job: offers to write it as a PDF file at real size instead. True when
// the printer object now writes the next job to the file the user chose.
bool offerPdfInstead(Platform& platform, const QString& folder, QString& file) {
    const QString text = whyNoPrinter(platform.printers) +
        QStringLiteral("\n\nDo you want to save the covers as a PDF file at their real size "
                       "instead, to print it elsewhere?");
    if (platform.messages.show({text, kPrintTitle, MsgIcon::Exclamation, MsgButtons::YesNo, MsgDefault::First}) !=
        MsgResult::Yes)
        return false;
    file = askForPdfFile(platform, folder);
    if (file.isEmpty()) return false;
    platform.printer.printNextJobToFile(file);
    return true;
}

// Ticked covers without a picture are named before anything is sent. True when printing goes on:
// some covers have pictures and the user answers OK.
bool confirmMissingPictures(MessageBoxes& messages, const PrintSelection& s, const PreparedJob& job) {
    QStringList missing;
    for (const QString& caption : coversWithoutPicture(s)) missing << caption;
    if (missing.isEmpty()) return true;
    const QString names = missing.join(QStringLiteral(", "));
    const bool one = missing.size() == 1;
    if (job.pages.empty()) {
        const QString text = one ? QStringLiteral("The ticked cover (%1) has no picture, so there is nothing to print.")
                                 : QStringLiteral("None of the ticked covers (%1) has a picture, so there is nothing "
                                                  "to print.");
        messages.show({text.arg(names), kPrintTitle, MsgIcon::Exclamation, MsgButtons::Ok, MsgDefault::First});
        return false;
    }
    const QString text = (one ? QStringLiteral("This ticked cover has no picture and will not be printed: %1.")
                              : QStringLiteral("These ticked covers have no picture and will not be printed: %1."))
                             .arg(names) +
        QStringLiteral("\n\nThe other covers print in their usual places.");
    return messages.show({text, kPrintTitle, MsgIcon::Exclamation, MsgButtons::OkCancel, MsgDefault::First}) ==
        MsgResult::Ok;
}

// Covers that reach outside the printer's printable area lose that part on paper: the user hears
// which, by how much and where, and may still print. True when printing goes on.
bool confirmCoversThatDoNotFit(MessageBoxes& messages, const PreparedJob& job) {
    QStringList losses;
    for (const RenderedPage& page : job.pages)
        for (const Overhang& o : page.overhangs)
            losses << QStringLiteral("%1 loses %2 in (%3 mm) at the %4 edge")
                          .arg(QString::fromUtf8(coverKind(o.kind).checkCaption))
                          .arg(o.amount.inches(), 0, 'f', 2)
                          .arg(o.amount.millimetres(), 0, 'f', 1)
                          .arg(QString::fromLatin1(sideName(o.side)));
    if (losses.isEmpty()) return true;
    const QString text = QStringLiteral("Part of a cover falls outside the area the printer can print on:\n") +
        losses.join(QStringLiteral("\n")) + QStringLiteral("\n\nDo you want to print anyway?");
    return messages.show({text, kPrintTitle, MsgIcon::Exclamation, MsgButtons::OkCancel, MsgDefault::First}) ==
        MsgResult::Ok;
}

// Writing a job of large pictures takes a moment: the pointer says so.
bool sendWithBusyPointer(Platform& platform, const PrintSelection& selection, const PreparedJob& job, int copies) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ended = sendPreparedJob(platform.printer, selection, job, copies);
    QApplication::restoreOverrideCursor();
    return ended;
}

void sayPdfNotWritten(MessageBoxes& messages) {
    messages.show({QStringLiteral("The PDF file could not be written. Check that the covers have pictures and that "
                                  "the folder can be written to."),
                   kPrintTitle, MsgIcon::Critical, MsgButtons::Ok, MsgDefault::First});
}

} // namespace

void sayJobNotSent(MessageBoxes& messages, const QString& printer) {
    const QString name = printer.isEmpty() ? QStringLiteral("the printer") : printer;
    messages.show({QStringLiteral("The covers could not be sent to %1. The printer may have been removed or stopped, "
                                  "or the print service may have stopped; nothing was printed. The covers are "
                                  "kept, so you can print them again.")
                       .arg(name),
                   kPrintTitle, MsgIcon::Critical, MsgButtons::Ok, MsgDefault::First});
}

bool confirmBeforeSending(Platform& platform, const PrintSelection& selection, const PreparedJob& job) {
    if (!confirmMissingPictures(platform.messages, selection, job)) return false;
    if (job.toFile) return true; // a PDF file needs no paper, and everything fits its sheet
    return confirmCoversThatDoNotFit(platform.messages, job) && askForPaper(platform.messages, job.plan.question);
}

PrintOutcome printCovers(Platform& platform, const PrintSelection& selection) {
    PrinterObject& printer = platform.printer;
    PrintOutcome outcome;
    // Covers without a picture are named before a missing printer is: they may be all there is.
    const PreparedJob withPictures = prepareJob(printer, selection, true);
    const bool anyTicked = !planPrintJob(selection.ticked).pages.empty();
    if (anyTicked && !confirmMissingPictures(platform.messages, selection, withPictures)) return outcome;
    const bool toFile = !printer.setFollowDefault(true);
    if (toFile && (withPictures.pages.empty() || !offerPdfInstead(platform, selection.pdfFolder, outcome.file)))
        return outcome;
    const PreparedJob job = prepareJob(printer, selection, toFile);
    // A PDF file needs no paper, and its centred covers fit its sheet.
    if (!toFile &&
        !(confirmCoversThatDoNotFit(platform.messages, job) && askForPaper(platform.messages, job.plan.question)))
        return outcome;
    outcome.sent = sendWithBusyPointer(platform, selection, job, 1);
    outcome.pages = outcome.sent ? int(job.pages.size()) : 0;
    outcome.printer = job.printer;
    // Neither a file the user asked for nor a job may silently go missing.
    if (toFile && !outcome.sent) sayPdfNotWritten(platform.messages);
    if (!toFile && !outcome.sent) sayJobNotSent(platform.messages, job.printer);
    return outcome;
}

PrintOutcome exportCoversPdf(Platform& platform, const PrintSelection& selection) {
    PrintOutcome outcome;
    if (planPrintJob(selection.ticked).pages.empty()) {
        platform.messages.show({QStringLiteral("Please select a cover option to print!"),
                                QStringLiteral("No Cover Option Selected!"), MsgIcon::Critical, MsgButtons::Ok,
                                MsgDefault::First});
        return outcome;
    }
    PrinterObject& printer = platform.printer;
    if (!confirmMissingPictures(platform.messages, selection, prepareJob(printer, selection, true))) return outcome;
    outcome.file = askForPdfFile(platform, selection.pdfFolder);
    if (outcome.file.isEmpty()) return outcome;
    printer.printNextJobToFile(outcome.file);
    const PreparedJob job = prepareJob(printer, selection, true);
    outcome.sent = sendWithBusyPointer(platform, selection, job, 1);
    outcome.pages = outcome.sent ? int(job.pages.size()) : 0;
    if (!outcome.sent) sayPdfNotWritten(platform.messages);
    return outcome;
}

QString outcomeNotice(const PrintOutcome& outcome) {
    if (!outcome.sent) return {};
    const QString pages = outcome.pages == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(outcome.pages);
    if (!outcome.file.isEmpty()) return QStringLiteral("Saved %1 of covers as %2.").arg(pages, outcome.file);
    return QStringLiteral("Sent %1 to %2.").arg(pages, outcome.printer);
}

void requestPrint(Platform& platform, QPushButton& cmdPrint) {
    if (cmdPrint.isEnabled()) {
        cmdPrint.click();
        return;
    }
    platform.messages.show({QStringLiteral("Please select a cover option to print!"),
                            QStringLiteral("No Cover Option Selected!"), MsgIcon::Critical, MsgButtons::Ok,
                            MsgDefault::First});
}

} // namespace kavi
