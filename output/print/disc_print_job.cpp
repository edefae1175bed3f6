// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/disc_print_job.h"

#include "render/disc_text_outlines.h"

namespace kavi {

namespace {

Paper plainPaperOf(PaperChoice choice) { return choice == PaperChoice::A4 ? Paper::A4 : Paper::Letter; }

// A length on the sheet as the printer object takes it: in twips from the printable area's corner.
double fromX(const DiscSheetLayout& sheet, Length x) { return (x - sheet.printable.left).twips(); }
double fromY(const DiscSheetLayout& sheet, Length y) { return (y - sheet.printable.top).twips(); }

void drawLabel(PrinterObject& printer, const DiscPrintSelection& s, const DiscSheetLayout& sheet,
               const RingOnSheet& ring) {
    const LengthPoint corner{sheet.printable.left, sheet.printable.top};
    RingOnSheet fromCorner = ring;
    fromCorner.centre = {ring.centre.x - corner.x, ring.centre.y - corner.y};
    if (!s.picture.isNull()) {
        const LengthRect r = discPicture(ring, s.picture.width(), s.picture.height(), s.fit).picture;
        printer.drawPictureInRing(s.picture, s.originalJpeg, fromX(sheet, r.left), fromY(sheet, r.top), r.width.twips(),
                                  r.height.twips(), fromCorner);
    }
    if (s.text.hasText()) {
        const DiscTextOutlines text = discTextOutlines(s.text, ring.outerRadius, ring.holeRadius);
        const LengthRect square = ring.square();
        if (!text.outlines.empty())
            printer.drawTextOutlines(text.outlines, fromX(sheet, square.left), fromY(sheet, square.top),
                                     square.width.twips(), square.height.twips(), square.size());
    }
}

} // namespace

std::optional<DiscPrintSelection> discPrintSelectionOf(const CoverDocument& document) {
    const std::optional<DiscKind> kind = document.tickedDisc();
    if (!kind) return std::nullopt;
    const DiscCover& disc = document.disc(*kind);
    DiscPrintSelection selection;
    selection.kind = *kind;
    selection.picture = document.pixels(*kind);
    selection.originalJpeg = disc.picture.uneditedOriginalJpeg();
    selection.fit = disc.fit;
    selection.geometry = disc.geometry;
    selection.text = disc.text;
    selection.stock = document.stockChoice();
    selection.paper = document.printLayout().paper;
    selection.cutMarks = document.printLayout().cutMarks;
    return selection;
}

PreparedDiscJob prepareDiscJob(PrinterObject& printer, const DiscPrintSelection& selection, bool toFile) {
    PreparedDiscJob job;
    job.toFile = toFile;
    if (!toFile) job.printer = printer.nextJobPrinter();
    if (selection.picture.isNull() && !selection.text.hasText()) {
        job.layout.error = std::string("the ") + discKind(selection.kind).checkCaption + " label has no picture";
        return job;
    }
    std::optional<LengthRect> printable;
    if (const std::optional<DiscLabelStock>& stock = selection.stock.stock) {
        job.layout = discOnStock(*stock, selection.stock.startLabel, selection.stock.copies);
        if (!toFile) {
            const std::optional<Paper> paper = paperOfStock(*stock);
            printable = paper ? printer.printableArea(*paper, Orientation::Portrait)
                              : printer.printableAreaOfSheet(stock->paper);
        }
    } else {
        const Paper paper = plainPaperOf(selection.paper);
        const LengthSize sheet = sheetSize(paper, Orientation::Portrait);
        if (!toFile) printable = printer.printableArea(paper, Orientation::Portrait);
        if (!toFile && !printable) job.printableKnown = false;
        const LengthRect area =
            toFile || !printable ? LengthRect{Length(), Length(), sheet.width, sheet.height} : *printable;
        job.layout = discOnPlainPaper(selection.geometry, paper,
                                      toFile ? Placement::CentredOnSheet : Placement::AtPrintableCorner, area,
                                      selection.cutMarks, selection.stock.copies);
    }
    if (!job.layout.error.empty()) return job;
    if (!toFile && !printable) job.printableKnown = false;
    Calibration calibration;
    if (toFile && selection.fileCalibration) calibration = *selection.fileCalibration;
    if (!toFile && selection.calibrationOf && !job.printer.isEmpty())
        calibration = selection.calibrationOf(job.printer, Orientation::Portrait);
    for (DiscSheetLayout& sheet : job.layout.sheets) {
        // On stock the labels lie where the sheet has them: the printable area only says where the
        // printer's corner is.
        if (printable) sheet.printable = *printable;
        calibrate(sheet, calibration);
    }
    return job;
}

bool sendPreparedDiscJob(PrinterObject& printer, const DiscPrintSelection& selection, const PreparedDiscJob& job) {
    if (job.layout.sheets.empty() || !job.layout.error.empty()) return false;
    const DiscSheetLayout& first = job.layout.sheets.front();
    if (first.paper) {
        printer.setOwnSheetSize(std::nullopt);
        printer.setPaperSize(printerCode(*first.paper));
    } else if (!printer.setOwnSheetSize(first.sheet)) {
        return false;
    }
    printer.setOrientation(printerCode(Orientation::Portrait));
    bool ended = false;
    for (std::size_t i = 0; i < job.layout.sheets.size(); ++i) {
        const DiscSheetLayout& sheet = job.layout.sheets[i];
        if (i > 0) printer.newPage();
        for (const DiscLabelSlot& label : sheet.labels)
            if (label.used) drawLabel(printer, selection, sheet, label.ring);
        for (const MarkLine& m : sheet.marks)
            printer.drawLine(fromX(sheet, m.from.x), fromY(sheet, m.from.y), fromX(sheet, m.to.x), fromY(sheet, m.to.y),
                             kMarkWidth.twips());
    }
    ended = printer.endDocument();
    return ended;
}

} // namespace kavi
