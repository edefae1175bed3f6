// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/print_job.h"

#include "covers/covers_together.h"
#include "document/kind.h"
#include "output/print/cover_design_drawing.h"

#include <variant>

namespace kavi {

namespace {

const QImage& pictureOf(const PrintSelection& s, int kind) { return s.pictures[Kind(kind).index()]; }
const CoverDesign& designOf(const PrintSelection& s, int kind) { return s.designs[Kind(kind).index()]; }

// A cover with nothing to print: no picture of its own and a plain design.
bool isWithoutPicture(const PrintSelection& s, int kind) {
    return pictureOf(s, kind).isNull() && designOf(s, kind).isPlain();
}

// The plan without the covers that have no picture; a page left with none is dropped, so no blank
// sheet comes out. The others keep their places.
PrintJob withoutMissingPictures(const PrintSelection& s, PrintJob job) {
    for (PlannedPage& page : job.pages)
        std::erase_if(page.covers, [&s](const PlacedCover& c) { return isWithoutPicture(s, c.kind); });
    std::erase_if(job.pages, [](const PlannedPage& p) { return p.covers.empty(); });
    return job;
}

// A point or rectangle on the sheet as the printer object takes it: from the printable area's corner.
LengthPoint fromCorner(const RenderedPage& page, LengthPoint p) { return fromPrintableCorner(p, page.printable); }
LengthRect fromCorner(const RenderedPage& page, const LengthRect& r) { return fromPrintableCorner(r, page.printable); }

// A picture's place on the sheet from the printable area's corner.
PictureOnPage onPrinter(const RenderedPage& page, const PictureOnPage& placed) {
    const auto moved = [&page](const LengthRect& r) {
        return LengthRect{r.left - page.printable.left, r.top - page.printable.top, r.width, r.height};
    };
    return {moved(placed.picture), placed.clip ? std::optional<LengthRect>(moved(*placed.clip)) : std::nullopt};
}

void drawMarks(PrinterObject& printer, const RenderedPage& page) {
    for (const MarkLine& m : page.marks) printer.drawLine(fromCorner(page, m.from), fromCorner(page, m.to), kMarkWidth);
}

// Where covers put together may go on a sheet of that paper: the printable area (the whole sheet
// of a file), less the marks' reach on every side unless the covers go to the printable corner,
// and less the bleed on every side there.
LengthSize roomForCovers(PrinterObject& printer, Placement placement, Paper paper, Orientation orientation, bool toFile,
                         Length bleed) {
    const LengthSize sheet = sheetSize(paper, orientation);
    const std::optional<LengthRect> area = toFile ? std::nullopt : printer.printableArea(paper, orientation);
    LengthSize room = area ? area->size() : sheet;
    const Length edge = toFile || placement != Placement::AtPrintableCorner ? markReach(bleed) : bleed;
    if (edge > Length()) {
        room.width = std::max(Length(), room.width - edge * 2);
        room.height = std::max(Length(), room.height - edge * 2);
    }
    return room;
}

} // namespace

std::vector<QString> coversWithoutPicture(const PrintSelection& selection) {
    std::vector<QString> captions;
    for (const PlannedPage& page :
         planPrintJob(selection.ticked, selection.layout.paper, selection.layout.choices.sheets).pages)
        for (const PlacedCover& cover : page.covers)
            if (isWithoutPicture(selection, cover.kind))
                captions.push_back(QString::fromUtf8(coverKind(cover.kind).checkCaption));
    return captions;
}

PreparedJob prepareJob(PrinterObject& printer, const PrintSelection& selection, bool toFile) {
    PreparedJob job;
    job.toFile = toFile;
    const PrintChoices& choices = selection.layout.choices;
    job.plan =
        withoutMissingPictures(selection, planPrintJob(selection.ticked, selection.layout.paper, choices.sheets));
    if (!toFile) job.printer = printer.nextJobPrinter();
    const Length bleed = bleedLength(choices.bleed);
    if (choices.together)
        job.plan = coversTogether(
            job.plan,
            [&](Paper paper, Orientation orientation) {
                return roomForCovers(printer, choices.placement, paper, orientation, toFile, bleed);
            },
            bleed);
    for (const PlannedPage& page : job.plan.pages) {
        PageOptions options;
        options.cutMarks = selection.layout.cutMarks;
        options.bleed = bleed;
        for (std::size_t i = 0; i < options.pictures.size(); ++i)
            options.pictures[i] = {selection.pictures[i].width(), selection.pictures[i].height(),
                                   selection.fitModes[i]};
        if (toFile) {
            options.placement = Placement::CentredOnSheet;
            options.printable = wholeSheet(page);
            if (selection.fileCalibration) options.calibration = *selection.fileCalibration;
        } else {
            options.placement = choices.placement;
            std::optional<LengthRect> area = printer.printableArea(page.paper, page.orientation);
            if (!area) {
                // Covers go to the corner as always; without margins nothing can be checked.
                job.printableKnown = false;
                area = wholeSheet(page);
            }
            options.printable = *area;
            if (selection.calibrationOf && !job.printer.isEmpty())
                options.calibration = selection.calibrationOf(job.printer, page.orientation);
        }
        job.pages.push_back(renderPage(page, options));
    }
    return job;
}

bool sendPreparedJob(PrinterObject& printer, const PrintSelection& selection, const PreparedJob& job, int copies) {
    if (job.pages.empty()) return false;
    if (copies > 1) printer.setCopies(copies);
    bool ended = false;
    std::size_t pageIndex = 0, coverIndex = 0;
    for (const PrintStep& step : printSteps(job.plan)) {
        const RenderedPage& page = job.pages[std::min(pageIndex, job.pages.size() - 1)];
        if (const auto* paper = std::get_if<SetPaper>(&step)) {
            printer.setPaperSize(paper->paper);
        } else if (const auto* orientation = std::get_if<SetOrientation>(&step)) {
            printer.setOrientation(orientation->orientation);
        } else if (const auto* draw = std::get_if<DrawCover>(&step)) {
            const PictureOnPage& placed = page.pictures.at(coverIndex++);
            const LengthRect r = fromCorner(page, placed.picture);
            const QImage& picture = pictureOf(selection, draw->cover.kind);
            const QByteArray& jpeg = selection.originalJpegs[Kind(draw->cover.kind).index()];
            const std::size_t k = Kind(draw->cover.kind).index();
            const CoverOnPage cover{
                draw->cover.kind, page.covers.at(coverIndex - 1).rect, {page.printable.left, page.printable.top}};
            // The background fills the bleed as well, so a cut a little off shows no paper.
            drawCoverBackground(printer, selection.designs[k].background,
                                fromCorner(page, page.bleedRects.at(coverIndex - 1)));
            if (picture.isNull()) {
                // A design without a picture of its own: only the design prints.
            } else if (!selection.designs[k].isPlain() && picture.hasAlphaChannel()) {
                drawLaidCoverPicture(printer, picture, jpeg, onPrinter(page, placed), cover.rect());
            } else if (placed.clip) {
                printer.drawClippedPicture(picture, r, fromCorner(page, *placed.clip));
            } else if (jpeg.isEmpty()) {
                printer.drawPicture(picture, r);
            } else {
                printer.drawJpegPicture(picture, jpeg, r);
            }
            drawOverCoverPicture(printer, {selection.texts[k], selection.designs[k], selection.designPictures[k]},
                                 cover);
        } else if (std::holds_alternative<NewPage>(step)) {
            drawMarks(printer, page);
            printer.newPage();
            ++pageIndex;
            coverIndex = 0;
        } else {
            drawMarks(printer, page);
            ended = printer.endDocument();
        }
    }
    return ended;
}

} // namespace kavi
