#include "cover_page.h"

namespace kavi {

void drawRenderedPage(pdf::Document& document, const RenderedPage& page, const CoverPixels& pixelsOf) {
    document.beginPage(page.sheet.width.points(), page.sheet.height.points());
    for (std::size_t i = 0; i < page.covers.size(); ++i) {
        const pdf::BgrxPixels pixels = pixelsOf(page.covers[i].kind);
        if (!pixels.pixels || pixels.width <= 0 || pixels.height <= 0) continue;
        // A page laid out without pictures' places stretches each picture onto its cover.
        const PictureOnPage placed = i < page.pictures.size() ? page.pictures[i] : PictureOnPage{page.covers[i].rect, {}};
        const LengthRect& r = placed.picture;
        if (placed.clip) {
            const LengthRect& c = *placed.clip;
            document.drawPicture(pixels, r.left.points(), r.top.points(), r.width.points(), r.height.points(),
                                 {c.left.points(), c.top.points(), c.width.points(), c.height.points()});
        } else {
            document.drawPicture(pixels, r.left.points(), r.top.points(), r.width.points(), r.height.points());
        }
    }
    for (const MarkLine& mark : page.marks)
        document.drawLine(mark.from.x.points(), mark.from.y.points(), mark.to.x.points(), mark.to.y.points(),
                          kMarkWidth.points());
}

} // namespace kavi
