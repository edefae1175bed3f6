#include "cover_page.h"

#include "cover_text.h"

namespace kavi {

void drawRenderedPage(pdf::Document& document, const RenderedPage& page, const CoverPixels& pixelsOf,
                      const CoverOverlays& overlaysOf) {
    document.beginPage(page.sheet.width.points(), page.sheet.height.points());
    for (const PlacedCover& cover : page.covers) {
        const pdf::BgrxPixels pixels = pixelsOf(cover.kind);
        if (!pixels.pixels || pixels.width <= 0 || pixels.height <= 0) continue;
        const LengthRect& r = cover.rect;
        document.drawPicture(pixels, r.left.points(), r.top.points(), r.width.points(), r.height.points());
        if (!overlaysOf) continue;
        for (const CoverOverlay& overlay : overlaysOf(cover.kind)) {
            if (!overlay.pixels.pixels || overlay.pixels.width <= 0 || overlay.pixels.height <= 0) continue;
            const LengthRect o = coverToSheet(overlay.inCover, coverKind(cover.kind).printSize, r);
            document.drawTranslucentPicture(overlay.pixels, o.left.points(), o.top.points(), o.width.points(),
                                            o.height.points());
        }
    }
    for (const MarkLine& mark : page.marks)
        document.drawLine(mark.from.x.points(), mark.from.y.points(), mark.to.x.points(), mark.to.y.points(),
                          kMarkWidth.points());
}

} // namespace kavi
