#include "cover_printing.h"

#include "page_plan.h"

#include <QApplication>
#include <QPushButton>
#include <QStringList>

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

// Why no printer can take the job: the print service does not answer (queues may well be set up),
// no printer is installed, or none of them is the default.
QString whyNoPrinter(PrinterSystem& printers) {
    const PrintServiceStatus service = printers.printService();
    if (!service.reachable)
        return QStringLiteral("The print service cannot be reached (CUPS at %1), so no printer can be used "
                              "now.")
            .arg(service.server);
    if (!printers.installedPrinters().empty())
        return QStringLiteral("None of the installed printers is the default printer. You can choose one with "
                              "\"Select Printer\" in the File menu.");
    return QStringLiteral("No printer is installed.");
}

// No printer can take the job: offers to write it as a PDF file at real size instead. True when
// the printer object now writes the next job to the file the user chose.
bool offerPdfInstead(Platform& platform) {
    const QString why = whyNoPrinter(platform.printers);
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

// The captions of the job's covers whose slot holds no picture, in drawing order.
QStringList coversWithoutPicture(const PrintSelection& s, const PrintJob& job) {
    QStringList captions;
    for (const PlannedPage& page : job.pages)
        for (const PlacedCover& cover : page.covers)
            if (pictureOf(s, cover.kind).isNull()) captions << QString::fromUtf8(coverKind(cover.kind).checkCaption);
    return captions;
}

// The job without the covers that have no picture; a page left with none is dropped, so no blank
// sheet comes out. The others keep their places.
PrintJob withoutMissingPictures(const PrintSelection& s, PrintJob job) {
    for (PlannedPage& page : job.pages)
        std::erase_if(page.covers, [&s](const PlacedCover& c) { return pictureOf(s, c.kind).isNull(); });
    std::erase_if(job.pages, [](const PlannedPage& p) { return p.covers.empty(); });
    return job;
}

// Ticked covers without a picture are named before anything is sent. True when printing goes on:
// some covers have pictures and the user answers OK.
bool confirmMissingPictures(MessageBoxes& messages, const PrintSelection& s, const PrintJob& job) {
    const QStringList missing = coversWithoutPicture(s, job);
    if (missing.isEmpty()) return true;
    const QString names = missing.join(QStringLiteral(", "));
    const bool one = missing.size() == 1;
    if (withoutMissingPictures(s, job).pages.empty()) {
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
    const PrintJob planned = planPrintJob(selection.ticked);
    if (!planned.pages.empty() && !confirmMissingPictures(platform.messages, selection, planned)) return;
    const PrintJob job = withoutMissingPictures(selection, planned);
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
