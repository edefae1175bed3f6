// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/stretched_picture.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace kavi {

StretchedPicture::StretchedPicture(QWidget* parent) : QWidget(parent) {}

namespace {

// Transparent parts stay transparent (not premultiplied); they show the paper when drawn.
void keepAs32Bits(QImage& picture) {
    const QImage::Format kept = picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (!picture.isNull() && picture.format() != kept) picture.convertTo(kept);
}

} // namespace

const QImage& StretchedPicture::picture() const {
    // Decoding fills in what the control already stood for; the control itself is never const.
    if (deferred_) const_cast<StretchedPicture*>(this)->decodeNow(true);
    return picture_;
}

void StretchedPicture::decodeNow(bool repaint) {
    const std::function<QImage()> decode = std::move(deferred_);
    deferred_ = nullptr;
    deferredSize_ = QSize();
    QImage picture = decode();
    keepAs32Bits(picture);
    picture_ = std::move(picture);
    refreshScreenCopy();
    if (repaint) update();
    undecodedPictureDecoded();
}

void StretchedPicture::setUndecodedPicture(QSize size, std::function<QImage()> decode) {
    picture_ = QImage();
    deferred_ = std::move(decode);
    deferredSize_ = size;
    refreshScreenCopy();
    update();
}

void StretchedPicture::setPicture(QImage picture) {
    deferred_ = nullptr;
    deferredSize_ = QSize();
    keepAs32Bits(picture);
    picture_ = std::move(picture);
    refreshScreenCopy();
    update();
}

StretchedPicture::Layout StretchedPicture::layoutFor(QSize area, QSize picture) const {
    return {QRectF(), QRectF(QPointF(0, 0), QSizeF(area)), QRectF(QPointF(0, 0), QSizeF(picture))};
}

void StretchedPicture::layoutChanged() {
    refreshScreenCopy();
    update();
}

void StretchedPicture::refreshScreenCopy() {
    layout_ = layoutFor(size(), pictureSize());
    screenCopy_ = QImage();
    // An undecoded picture is scaled when it is painted.
    if (deferred_ || picture_.isNull() || width() <= 0 || height() <= 0) return;
    const QRectF& source = layout_.source;
    const QSize target(std::max(1, int(std::lround(layout_.target.width() * devicePixelRatioF()))),
                       std::max(1, int(std::lround(layout_.target.height() * devicePixelRatioF()))));
    if (layout_.target.isEmpty() || source.isEmpty()) return;
    if (source == QRectF(picture_.rect())) {
        screenCopy_ = picture_.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    } else {
        // Only the part that shows is scaled (Fill cuts the rest off); its edges are whole pixels.
        const QRect part = source.toAlignedRect().intersected(picture_.rect());
        screenCopy_ = picture_.copy(part).scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    screenCopy_.setDevicePixelRatio(devicePixelRatioF());
}

void StretchedPicture::setSelected(bool selected) {
    if (selected == selected_) return;
    selected_ = selected;
    update();
}

void StretchedPicture::paintEvent(QPaintEvent*) {
    if (deferred_) decodeNow(false); // shown for the first time: the picture is needed now
    if (screenCopy_.isNull() && !selected_ && layout_.paper.isEmpty()) return;
    QPainter painter(this);
    if (!layout_.paper.isEmpty()) {
        const QRectF paper = layout_.paper;
        painter.fillRect(paper, Qt::white);
        painter.setPen(QColor(160, 164, 170));
        painter.drawRect(paper.adjusted(-0.5, -0.5, -0.5, -0.5));
    }
    if (!screenCopy_.isNull()) painter.drawImage(layout_.target, screenCopy_);
    if (!selected_) return;
    // A band in the highlight colour with a white line inside it stands out on light and dark pictures.
    constexpr int kBand = 3;
    const QRect frame =
        layout_.paper.isEmpty() ? rect() : layout_.paper.toAlignedRect().adjusted(-kBand, -kBand, kBand, kBand);
    const QRect inner = frame.adjusted(kBand, kBand, -kBand, -kBand);
    painter.setClipRegion(QRegion(frame) - QRegion(inner));
    painter.fillRect(frame, palette().color(QPalette::Highlight));
    painter.setClipping(false);
    painter.setPen(Qt::white);
    painter.drawRect(inner.adjusted(0, 0, -1, -1));
}

void StretchedPicture::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    refreshScreenCopy();
}

void StretchedPicture::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QWidget::mouseReleaseEvent(event);
}

} // namespace kavi
