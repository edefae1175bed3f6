#include "page_render.h"

namespace kavi {

RenderedPage renderPage(const PlannedPage& page, const PageOptions& options) {
    RenderedPage out{page.paper, page.orientation, page.sheet(), options.printable, {}, {}, {}};
    out.covers = coversOnSheet(page, options.placement, options.printable);
    out.overhangs = overhangs(out.covers, options.printable);
    if (options.cutMarks) out.marks = cutMarks(out.covers, options.printable);
    if (!options.calibration.isIdentity()) {
        for (PlacedCover& cover : out.covers) cover.rect = options.calibration.apply(cover.rect);
        for (MarkLine& mark : out.marks) {
            mark.from = options.calibration.apply(mark.from);
            mark.to = options.calibration.apply(mark.to);
        }
    }
    return out;
}

} // namespace kavi
