#include "print_job.h"

#include <variant>

namespace kavi {

namespace {

const QImage& pictureOf(const PrintSelection& s, int kind) { return s.pictures[std::size_t(kind - 1)]; }

// The plan without the covers that have no picture; a page left with none is dropped, so no blank
// sheet comes out. The others keep their places.
PrintJob withoutMissingPictures(const PrintSelection& s, PrintJob job) {
    for (PlannedPage& page : job.pages)
        std::erase_if(page.covers, [&s](const PlacedCover& c) { return pictureOf(s, c.kind).isNull(); });
    std::erase_if(job.pages, [](const PlannedPage& p) { return p.covers.empty(); });
    return job;
}

// A length on the sheet as the printer object takes it: in twips from the printable area's corner.
double fromCornerX(const RenderedPage& page, Length x) { return (x - page.printable.left).twips(); }
double fromCornerY(const RenderedPage& page, Length y) { return (y - page.printable.top).twips(); }

void drawMarks(PrinterObject& printer, const RenderedPage& page) {
    for (const MarkLine& m : page.marks)
        printer.drawLine(fromCornerX(page, m.from.x), fromCornerY(page, m.from.y), fromCornerX(page, m.to.x),
                         fromCornerY(page, m.to.y), kMarkWidth.twips());
}

} // namespace

std::vector<QString> coversWithoutPicture(const PrintSelection& selection) {
    std::vector<QString> captions;
    for (const PlannedPage& page : planPrintJob(selection.ticked, selection.layout.paper).pages)
        for (const PlacedCover& cover : page.covers)
            if (pictureOf(selection, cover.kind).isNull())
                captions.push_back(QString::fromUtf8(coverKind(cover.kind).checkCaption));
    return captions;
}

PreparedJob prepareJob(PrinterObject& printer, const PrintSelection& selection, bool toFile) {
    PreparedJob job;
    job.toFile = toFile;
    job.plan = withoutMissingPictures(selection, planPrintJob(selection.ticked, selection.layout.paper));
    if (!toFile) job.printer = printer.nextJobPrinter();
    for (const PlannedPage& page : job.plan.pages) {
        PageOptions options;
        options.cutMarks = selection.layout.cutMarks;
        if (toFile) {
            options.placement = Placement::CentredOnSheet;
            options.printable = wholeSheet(page);
        } else {
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
            const LengthRect& r = page.covers.at(coverIndex++).rect;
            const QImage& picture = pictureOf(selection, draw->cover.kind);
            const QByteArray& jpeg = selection.originalJpegs[std::size_t(draw->cover.kind - 1)];
            const double x = fromCornerX(page, r.left), y = fromCornerY(page, r.top);
            if (jpeg.isEmpty()) printer.drawPicture(picture, x, y, r.width.twips(), r.height.twips());
            else printer.drawJpegPicture(picture, jpeg, x, y, r.width.twips(), r.height.twips());
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
