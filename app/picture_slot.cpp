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
    originalJpeg_ = picture.encoding() == CoverSetPicture::Encoding::Jpeg ? picture.encoded() : QByteArray();
    pickedKey_ = openedKey_ = 0;
    opened_ = picture;
    if (picture.isNull()) {
        StretchedPicture::setPicture({});
    } else if (picture.isDecoded()) {
        StretchedPicture::setPicture(picture.image());
        pickedKey_ = openedKey_ = this->picture().cacheKey();
    } else {
        // Copies of the set's picture share its bytes and, once decoded, its pixels.
        setUndecodedPicture(picture.size(), [picture] { return picture.image(); });
    }
}

void PictureSlot::undecodedPictureDecoded() {
    if (picture().isNull()) {
        // Nothing to show or print; the stored bytes are still saved as they were.
        originalJpeg_.clear();
        emit pictureDamaged();
        return;
    }
    openedKey_ = picture().cacheKey();
    if (!originalJpeg_.isEmpty()) pickedKey_ = openedKey_;
}

bool PictureSlot::isUneditedOriginal() const {
    if (originalJpeg_.isEmpty()) return false;
    if (isPictureUndecoded()) return true;
    return !picture().isNull() && picture().cacheKey() == pickedKey_;
}

CoverSetPicture PictureSlot::coverSetPicture() const {
    if (!opened_.isNull()) {
        if (isPictureUndecoded()) return opened_;
        // A picture that did not decode stays as it was stored until another one replaces it.
        if (picture().isNull() ? opened_.decodeFailed() : picture().cacheKey() == openedKey_) return opened_;
    }
    if (picture().isNull()) return {};
    if (isUneditedOriginal()) return CoverSetPicture::ofJpegFile(originalJpeg_, picture());
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
