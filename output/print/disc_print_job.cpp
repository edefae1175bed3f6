// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/disc_print_job.h"

#include "render/disc_text_outlines.h"

namespace kavi {

namespace {

Paper plainPaperOf(PaperChoice choice) { return choice == PaperChoice::A4 ? Paper::A4 : Paper::Letter; }

void drawLabel(PrinterObject& printer, const DiscPrintSelection& s, const DiscSheetLayout& sheet,
               const RingOnSheet& ring) {
    RingOnSheet fromCorner = ring;
    fromCorner.centre = fromPrintableCorner(ring.centre, sheet.printable);
    if (!s.picture.isNull()) {
        const LengthRect r = discPicture(ring, s.picture.width(), s.picture.height(), s.fit).picture;
        printer.drawPictureInRing(s.picture, s.originalJpeg, fromPrintableCorner(r, sheet.printable), fromCorner);
    }
    if (s.text.hasText()) {
        const DiscTextOutlines text = discTextOutlines(s.text, ring.outerRadius, ring.holeRadius);
        const LengthRect square = ring.square();
        if (!text.outlines.empty())
            printer.drawTextOutlines(text.outlines, fromPrintableCorner(square, sheet.printable), square.size());
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
        printer.setPaperSize(*first.paper);
    } else if (!printer.setOwnSheetSize(first.sheet)) {
        return false;
    }
    printer.setOrientation(Orientation::Portrait);
    bool ended = false;
    for (std::size_t i = 0; i < job.layout.sheets.size(); ++i) {
        const DiscSheetLayout& sheet = job.layout.sheets[i];
        if (i > 0) printer.newPage();
        for (const DiscLabelSlot& label : sheet.labels)
            if (label.used) drawLabel(printer, selection, sheet, label.ring);
        for (const MarkLine& m : sheet.marks)
            printer.drawLine(fromPrintableCorner(m.from, sheet.printable), fromPrintableCorner(m.to, sheet.printable),
                             kMarkWidth);
    }
    ended = printer.endDocument();
    return ended;
}

} // namespace kavi
