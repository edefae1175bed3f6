// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/page_render.h"

namespace kavi {

RenderedPage renderPage(const PlannedPage& page, const PageOptions& options) {
    RenderedPage out{page.paper, page.orientation, page.sheet(), options.printable, {}, {}, {}, {}};
    out.covers = coversOnSheet(page, options.placement, options.printable);
    for (const PlacedCover& cover : out.covers) {
        const CoverPictureShape& shape = options.pictures[std::size_t(cover.kind - 1)];
        out.pictures.push_back(fitPicture(cover.rect, shape.pixelWidth, shape.pixelHeight, shape.fit));
    }
    out.overhangs = overhangs(out.covers, options.printable);
    if (options.cutMarks) {
        PageMarks marks = cutMarksCounted(out.covers, options.printable);
        out.marks = std::move(marks.marks);
        out.marksOutsidePrintable = marks.outsidePrintable;
    }
    if (!options.calibration.isIdentity()) {
        for (PlacedCover& cover : out.covers) cover.rect = options.calibration.apply(cover.rect);
        // The picture and its clip are calibrated with the cover, so they keep their place on it.
        for (PictureOnPage& picture : out.pictures) {
            picture.picture = options.calibration.apply(picture.picture);
            if (picture.clip) picture.clip = options.calibration.apply(*picture.clip);
        }
        for (MarkLine& mark : out.marks) {
            mark.from = options.calibration.apply(mark.from);
            mark.to = options.calibration.apply(mark.to);
        }
    }
    return out;
}

} // namespace kavi
