#include "cover_printing.h"

#include "cover_kinds.h"

#include <QApplication>
#include <QPushButton>

#include <vector>

namespace kavi {

namespace {

const QString kPrintTitle = QStringLiteral("Printing Covers");

bool anyTicked(const PrintSelection& s, int firstKind, int lastKind) {
    for (int n = firstKind; n <= lastKind; ++n)
        if (s.ticked[std::size_t(n - 1)]) return true;
    return false;
}

const QImage& pictureOf(const PrintSelection& s, int kind) { return s.pictures[std::size_t(kind - 1)]; }

// The paper question; true when the user answers OK.
bool askForPaper(MessageBoxes& messages, const PrintSelection& s) {
    const bool legal = s.ticked[3] || s.ticked[6] || s.ticked[7]; // DVD, DS, SLIM
    const QString text = legal ? QStringLiteral("Please make sure your printer is on and you are using LEGAL sized paper!")
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

// One single kind alone on its page. Returns whether the job was ended.
bool printSingle(PrinterObject& printer, const CoverKind& kind, const QImage& picture) {
    if (kind.orientationBeforePaper) {
        printer.setOrientation(printerCode(kind.orientation));
        printer.setPaperSize(printerCode(kind.paper));
    } else {
        printer.setPaperSize(printerCode(kind.paper));
        printer.setOrientation(printerCode(kind.orientation));
    }
    printer.drawPicture(picture, 0, 0, kind.printSize.width.twips(), kind.printSize.height.twips());
    const bool ended = printer.endDocument();
    if (kind.paper == Paper::Legal) printer.setPaperSize(printerCode(Paper::Letter));
    return ended;
}

void drawCover(PrinterObject& printer, const PrintSelection& s, int kindNumber, double top) {
    const CoverKind& kind = coverKind(kindNumber);
    printer.drawPicture(pictureOf(s, kindNumber), 0, top, kind.printSize.width.twips(), kind.printSize.height.twips());
}

// The ticked jewel-case kinds: up to two on the first page, Back on a second page when all three
// are ticked. Returns whether a job was ended.
bool printJewelCase(PrinterObject& printer, const PrintSelection& s) {
    int sum = 0;
    for (int n = 1; n <= 3; ++n)
        if (s.ticked[std::size_t(n - 1)]) sum += coverKind(n).jewelWeight;
    std::vector<int> firstPage;
    switch (sum) {
    case 5: firstPage = {1}; break;
    case 10: firstPage = {2}; break;
    case 15: firstPage = {1, 2}; break;
    case 20: firstPage = {3}; break;
    case 25: firstPage = {1, 3}; break;
    case 30: firstPage = {2, 3}; break;
    case 35: firstPage = {1, 2}; break;
    default: return false; // nothing to print
    }
    printer.setPaperSize(printerCode(coverKind(1).paper));
    printer.setOrientation(printerCode(coverKind(1).orientation));
    drawCover(printer, s, firstPage[0], 0);
    if (firstPage.size() == 2) drawCover(printer, s, firstPage[1], kSecondCoverTop.twips());
    if (sum == 35) {
        printer.newPage();
        printer.setOrientation(printerCode(coverKind(3).orientation));
        drawCover(printer, s, 3, 0);
    }
    return printer.endDocument();
}

} // namespace

void printCovers(Platform& platform, const PrintSelection& selection) {
    PrinterObject& printer = platform.printer;
    const bool toFile = !printer.setFollowDefault(true);
    if (toFile && (!anyTicked(selection, 1, 10) || !offerPdfInstead(platform))) return;
    // A PDF file needs no paper, so the paper question is only asked for a printer.
    if (!toFile && !askForPaper(platform.messages, selection)) return;

    bool ended = false;
    {
        // Writing a job of large pictures takes a moment: the pointer says so.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        bool single = false;
        for (int n = 4; n <= 10 && !single; ++n) {
            if (!selection.ticked[std::size_t(n - 1)]) continue;
            ended = printSingle(printer, coverKind(n), pictureOf(selection, n));
            single = true;
        }
        if (!single) ended = printJewelCase(printer, selection);
        QApplication::restoreOverrideCursor();
    }

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
