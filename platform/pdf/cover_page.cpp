// SPDX-License-Identifier: GPL-3.0-or-later
#include "cover_page.h"

#include "cover_text.h"

namespace kavi {

void drawRenderedPage(pdf::Document& document, const RenderedPage& page, const CoverPixels& pixelsOf,
                      const CoverOverlays& overlaysOf) {
    document.beginPage(page.sheet.width.points(), page.sheet.height.points());
    for (std::size_t i = 0; i < page.covers.size(); ++i) {
        const pdf::BgrxPixels pixels = pixelsOf(page.covers[i].kind);
        if (!pixels.pixels || pixels.width <= 0 || pixels.height <= 0) continue;
        // A page laid out without pictures' places stretches each picture onto its cover.
        const PictureOnPage placed =
            i < page.pictures.size() ? page.pictures[i] : PictureOnPage{page.covers[i].rect, {}};
        const LengthRect& r = placed.picture;
        if (placed.clip) {
            const LengthRect& c = *placed.clip;
            document.drawPicture(pixels, r.left.points(), r.top.points(), r.width.points(), r.height.points(),
                                 {c.left.points(), c.top.points(), c.width.points(), c.height.points()});
        } else {
            document.drawPicture(pixels, r.left.points(), r.top.points(), r.width.points(), r.height.points());
        }
        if (!overlaysOf) continue;
        const LengthRect& coverRect = page.covers[i].rect;
        const int kind = page.covers[i].kind;
        for (const CoverOverlay& overlay : overlaysOf(kind)) {
            if (!overlay.pixels.pixels || overlay.pixels.width <= 0 || overlay.pixels.height <= 0) continue;
            const LengthRect o = coverToSheet(overlay.inCover, coverKind(kind).printSize, coverRect);
            document.drawTranslucentPicture(overlay.pixels, o.left.points(), o.top.points(), o.width.points(),
                                            o.height.points());
        }
    }
    for (const MarkLine& mark : page.marks)
        document.drawLine(mark.from.x.points(), mark.from.y.points(), mark.to.x.points(), mark.to.y.points(),
                          kMarkWidth.points());
}

} // namespace kavi
