// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/page_render.h"

#include <algorithm>

namespace kavi {

RenderedPage renderPage(const PlannedPage& page, const PageOptions& options) {
    RenderedPage out{page.paper, page.orientation, page.sheet(), options.printable, {}, {}, {}, {}, {}, {}, {}};
    const Length bleed = std::max(Length(), options.bleed);
    out.bleed = bleed;
    out.covers = coversOnSheet(page, options.placement, options.printable, bleed);
    for (const PlacedCover& cover : out.covers) {
        const CoverPictureShape& shape = options.pictures[std::size_t(cover.kind - 1)];
        out.pictures.push_back(fitPicture(cover.rect, shape.pixelWidth, shape.pixelHeight, shape.fit, bleed));
        out.bleedRects.push_back(grownBy(cover.rect, bleed));
    }
    out.overhangs = overhangs(out.covers, options.printable, bleed);
    if (options.cutMarks) {
        PageMarks marks = cutMarksCounted(out.covers, options.printable, bleed);
        out.marks = std::move(marks.marks);
        out.marksOutsidePrintable = marks.outsidePrintable;
    }
    if (!options.calibration.isIdentity()) {
        for (PlacedCover& cover : out.covers) cover.rect = options.calibration.apply(cover.rect);
        for (LengthRect& rect : out.bleedRects) rect = options.calibration.apply(rect);
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
