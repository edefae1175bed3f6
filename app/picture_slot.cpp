// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_slot.h"

#include "cover_kinds.h"
#include "picture_fit.h"

#include <QPainter>

namespace kavi {

namespace {

// Room around the cover for the selection frame.
constexpr double kMargin = 4;

QRectF rectOf(const FitBox& box) { return {box.left, box.top, box.width, box.height}; }

} // namespace

PictureSlot::PictureSlot(const QString& name, const CoverKind& kind, QWidget* parent)
    : StretchedPicture(parent), kind_(kind.number), coverWidth_(kind.printSize.width.twips()),
      coverHeight_(kind.printSize.height.twips()) {
    setObjectName(name);
    setToolTip(QStringLiteral("Cover image."));
}

void PictureSlot::setCoverSetPicture(const CoverSetPicture& picture) {
    if (picture.encoding() == CoverSetPicture::Encoding::Jpeg) {
        setPickedPicture(picture.image(), picture.encoded());
        opened_ = {};
        return;
    }
    setPicture(picture.image());
    opened_ = picture;
    openedKey_ = this->picture().cacheKey();
}

CoverSetPicture PictureSlot::coverSetPicture() const {
    if (picture().isNull()) return {};
    if (isUneditedOriginal()) return CoverSetPicture::ofJpegFile(originalJpeg_, picture());
    if (!opened_.isNull() && picture().cacheKey() == openedKey_) return opened_;
    return picture();
}

void PictureSlot::setFitMode(FitMode mode) {
    if (mode == fit_) return;
    fit_ = mode;
    layoutChanged();
}

void PictureSlot::setBottomBand(int pixels) {
    bottomBand_ = pixels;
    layoutChanged();
    renderText();
}

void PictureSlot::setCoverText(const CoverText& text) {
    text_ = text;
    renderText();
    update();
}

StretchedPicture::Layout PictureSlot::layoutFor(QSize area, QSize picture) const {
    const FitBox room{kMargin, kMargin, std::max(0.0, area.width() - 2 * kMargin),
                      std::max(0.0, area.height() - bottomBand_ - 2 * kMargin)};
    // The cover in its real proportions is the largest such rectangle that fits the room.
    const FitBox cover = fittedBox(room, coverWidth_, coverHeight_, FitMode::Fit);
    const VisiblePart part = visiblePart(cover, picture.width(), picture.height(), fit_);
    return {rectOf(cover), rectOf(part.target), rectOf(part.source)};
}

void PictureSlot::renderText() {
    overlays_.clear();
    const QRectF area = coverRect();
    if (!text_.hasText() || area.width() <= 0) return;
    overlays_ = renderTextOverlays(kind_, text_,
                                   area.width() * devicePixelRatioF() / coverKind(kind_).printSize.width.inches());
}

void PictureSlot::paintEvent(QPaintEvent* event) {
    StretchedPicture::paintEvent(event);
    if (overlays_.empty()) return;
    QPainter painter(this);
    painter.setClipRect(coverRect()); // the text is cut off at the cover's edge, as it prints
    paintTextOverlays(painter, overlays_, coverKind(kind_).printSize, coverRect());
}

void PictureSlot::resizeEvent(QResizeEvent* event) {
    StretchedPicture::resizeEvent(event);
    renderText();
}

} // namespace kavi
