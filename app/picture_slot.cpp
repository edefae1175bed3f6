#include "picture_slot.h"

#include "cover_kinds.h"

#include <QPainter>

namespace kavi {

void PictureSlot::setCoverText(int kind, const CoverText& text) {
    kind_ = kind;
    text_ = text;
    renderText();
    update();
}

void PictureSlot::renderText() {
    overlays_.clear();
    if (kind_ < 1 || !text_.hasText() || width() <= 0) return;
    const QRectF area = coverArea();
    overlays_ = renderTextOverlays(kind_, text_,
                                   area.width() * devicePixelRatioF() / coverKind(kind_).printSize.width.inches());
}

void PictureSlot::paintEvent(QPaintEvent* event) {
    StretchedPicture::paintEvent(event);
    if (overlays_.empty()) return;
    QPainter painter(this);
    paintTextOverlays(painter, overlays_, coverKind(kind_).printSize, coverArea());
}

void PictureSlot::resizeEvent(QResizeEvent* event) {
    StretchedPicture::resizeEvent(event);
    renderText();
}

} // namespace kavi
