#include "cover_printing.h"

#include "page_plan.h"

#include <QApplication>
#include <QPushButton>

#include <variant>
#include <vector>

namespace kavi {

namespace {

const QString kPrintTitle = QStringLiteral("Printing Covers");

const QImage& pictureOf(const PrintSelection& s, int kind) { return s.pictures[std::size_t(kind - 1)]; }

// The paper question; true when the user answers OK.
bool askForPaper(MessageBoxes& messages, PaperQuestion question) {
    const QString text = question == PaperQuestion::LegalPaper
                             ? QStringLiteral("Please make sure your printer is on and you are using LEGAL sized paper!")
                             : QStringLiteral("Please make sure your printer is on and full of paper.");
    return messages.show({text, kPrintTitle, MsgIcon::Information, MsgButtons::OkCancel, MsgDefault::First}) ==
           MsgResult::Ok;
}

// No printer can take the job: offers to write it as a PDF file at real size instead. True when
// the printer object now writes the next job to the file the user chose.
bool offerPdfInstead(Platform& platform) {
    const bool installed = !platform.printers.installedPrinters().empty();
    const QString why = installed
        ? QStringLiteral("None of the installed printers is the default printer. You can choose one with "
                         "\"Select Printer\" in the File menu.")
        : QStringLiteral("No printer is installed.");
    const QString text = why + QStringLiteral("\n\nDo you want to save the covers as a PDF file at their real size "
                                              "instead, to print it elsewhere?");
    if (platform.messages.show({text, kPrintTitle, MsgIcon::Exclamation, MsgButtons::YesNo, MsgDefault::First}) !=
        MsgResult::Yes)
        return false;
    SaveDialogRequest request;
    request.title = QStringLiteral("Save Covers as PDF");
    request.filters = {QStringLiteral("PDF files (*.pdf)")};
    request.fileName = QStringLiteral("covers.pdf");
    request.defaultSuffix = QStringLiteral("pdf");
    const SaveDialogResult chosen = platform.saveDialog.ask(request);
    if (!chosen.accepted || chosen.fileName.isEmpty()) return false;
    platform.printer.printNextJobToFile(chosen.fileName);
    return true;
}

// Sends the job's printer steps in order; a failing step is skipped. Returns whether the job was
// ended.
bool sendSteps(PrinterObject& printer, const PrintSelection& s, const std::vector<PrintStep>& steps) {
    bool ended = false;
    for (const PrintStep& step : steps) {
        if (const auto* paper = std::get_if<SetPaper>(&step)) {
            printer.setPaperSize(printerCode(paper->paper));
        } else if (const auto* orientation = std::get_if<SetOrientation>(&step)) {
            printer.setOrientation(printerCode(orientation->orientation));
        } else if (const auto* draw = std::get_if<DrawCover>(&step)) {
            const LengthRect& r = draw->cover.rect;
            printer.drawPicture(pictureOf(s, draw->cover.kind), r.left.twips(), r.top.twips(), r.width.twips(),
                                r.height.twips());
        } else if (std::holds_alternative<NewPage>(step)) {
            printer.newPage();
        } else {
            ended = printer.endDocument();
        }
    }
    return ended;
}

} // namespace

void printCovers(Platform& platform, const PrintSelection& selection) {
    PrinterObject& printer = platform.printer;
    const PrintJob job = planPrintJob(selection.ticked);
    const bool toFile = !printer.setFollowDefault(true);
    if (toFile && (job.pages.empty() || !offerPdfInstead(platform))) return;
    // A PDF file needs no paper, so the paper question is only asked for a printer.
    if (!toFile && !askForPaper(platform.messages, job.question)) return;

    // Writing a job of large pictures takes a moment: the pointer says so.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ended = sendSteps(printer, selection, printSteps(job));
    QApplication::restoreOverrideCursor();

    // Printing reports nothing, but a file the user asked for must not silently go missing.
    if (toFile && !ended)
        platform.messages.show({QStringLiteral("The PDF file could not be written. Check that the covers have "
                                               "pictures and that the folder can be written to."),
                                kPrintTitle, MsgIcon::Critical, MsgButtons::Ok, MsgDefault::First});
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
