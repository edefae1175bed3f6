#include "cover_page.h"

namespace kavi {

void drawRenderedPage(pdf::Document& document, const RenderedPage& page, const CoverPixels& pixelsOf) {
    document.beginPage(page.sheet.width.points(), page.sheet.height.points());
    for (const PlacedCover& cover : page.covers) {
        const pdf::BgrxPixels pixels = pixelsOf(cover.kind);
        if (!pixels.pixels || pixels.width <= 0 || pixels.height <= 0) continue;
        const LengthRect& r = cover.rect;
        document.drawPicture(pixels, r.left.points(), r.top.points(), r.width.points(), r.height.points());
    }
    for (const MarkLine& mark : page.marks)
        document.drawLine(mark.from.x.points(), mark.from.y.points(), mark.to.x.points(), mark.to.y.points(),
                          kMarkWidth.points());
}

} // namespace kavi
