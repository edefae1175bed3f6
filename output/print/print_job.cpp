// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/print_job.h"

#include "covers/covers_together.h"
#include "output/print/cover_design_drawing.h"

#include <variant>

namespace kavi {

namespace {

const QImage& pictureOf(const PrintSelection& s, int kind) { return s.pictures[std::size_t(kind - 1)]; }
const CoverDesign& designOf(const PrintSelection& s, int kind) { return s.designs[std::size_t(kind - 1)]; }

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

// A length on the sheet as the printer object takes it: in twips from the printable area's corner.
double fromCornerX(const RenderedPage& page, Length x) { return (x - page.printable.left).twips(); }
double fromCornerY(const RenderedPage& page, Length y) { return (y - page.printable.top).twips(); }

// A picture's place on the sheet from the printable area's corner.
PictureOnPage onPrinter(const RenderedPage& page, const PictureOnPage& placed) {
    const auto moved = [&page](const LengthRect& r) {
        return LengthRect{r.left - page.printable.left, r.top - page.printable.top, r.width, r.height};
    };
    return {moved(placed.picture), placed.clip ? std::optional<LengthRect>(moved(*placed.clip)) : std::nullopt};
}

void drawMarks(PrinterObject& printer, const RenderedPage& page) {
    for (const MarkLine& m : page.marks)
        printer.drawLine(fromCornerX(page, m.from.x), fromCornerY(page, m.from.y), fromCornerX(page, m.to.x),
                         fromCornerY(page, m.to.y), kMarkWidth.twips());
}

// Where covers put together may go on a sheet of that paper: the printable area (the whole sheet
// of a file), less the marks' reach on every side unless the covers go to the printable corner.
LengthSize roomForCovers(PrinterObject& printer, Placement placement, Paper paper, Orientation orientation,
                         bool toFile) {
    const LengthSize sheet = sheetSize(paper, orientation);
    const std::optional<LengthRect> area = toFile ? std::nullopt : printer.printableArea(paper, orientation);
    LengthSize room = area ? area->size() : sheet;
    if (toFile || placement != Placement::AtPrintableCorner) {
        room.width = std::max(Length(), room.width - markReach() * 2);
        room.height = std::max(Length(), room.height - markReach() * 2);
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
    if (choices.together)
        job.plan = coversTogether(job.plan, [&](Paper paper, Orientation orientation) {
            return roomForCovers(printer, choices.placement, paper, orientation, toFile);
        });
    for (const PlannedPage& page : job.plan.pages) {
        PageOptions options;
        options.cutMarks = selection.layout.cutMarks;
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
            printer.setPaperSize(printerCode(paper->paper));
        } else if (const auto* orientation = std::get_if<SetOrientation>(&step)) {
            printer.setOrientation(printerCode(orientation->orientation));
        } else if (const auto* draw = std::get_if<DrawCover>(&step)) {
            const PictureOnPage& placed = page.pictures.at(coverIndex++);
            const LengthRect& r = placed.picture;
            const QImage& picture = pictureOf(selection, draw->cover.kind);
            const QByteArray& jpeg = selection.originalJpegs[std::size_t(draw->cover.kind - 1)];
            const double x = fromCornerX(page, r.left), y = fromCornerY(page, r.top);
            const std::size_t k = std::size_t(draw->cover.kind - 1);
            const CoverOnPage cover{
                draw->cover.kind, page.covers.at(coverIndex - 1).rect, {page.printable.left, page.printable.top}};
            drawCoverBackground(printer, selection.designs[k].background, cover.rect());
            if (picture.isNull()) {
                // A design without a picture of its own: only the design prints.
            } else if (!selection.designs[k].isPlain() && picture.hasAlphaChannel()) {
                drawLaidCoverPicture(printer, picture, jpeg, onPrinter(page, placed), cover.rect());
            } else if (placed.clip) {
                const LengthRect& c = *placed.clip;
                const LengthRect clip{Length::fromTwips(fromCornerX(page, c.left)),
                                      Length::fromTwips(fromCornerY(page, c.top)), c.width, c.height};
                printer.drawClippedPicture(picture, x, y, r.width.twips(), r.height.twips(), clip);
            } else if (jpeg.isEmpty()) {
                printer.drawPicture(picture, x, y, r.width.twips(), r.height.twips());
            } else {
                printer.drawJpegPicture(picture, jpeg, x, y, r.width.twips(), r.height.twips());
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
