#include "stretched_picture.h"

#include <QMouseEvent>
#include <QPainter>

namespace kavi {

StretchedPicture::StretchedPicture(QWidget* parent) : QWidget(parent) {}

void StretchedPicture::setPicture(QImage picture) {
    if (!picture.isNull() && picture.format() != QImage::Format_RGB32) picture.convertTo(QImage::Format_RGB32);
    picture_ = std::move(picture);
    refreshScreenCopy();
    update();
}

void StretchedPicture::refreshScreenCopy() {
    if (picture_.isNull() || width() <= 0 || height() <= 0) {
        screenCopy_ = QImage();
        return;
    }
    const QSize target = size() * devicePixelRatioF();
    screenCopy_ = picture_.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    screenCopy_.setDevicePixelRatio(devicePixelRatioF());
}

void StretchedPicture::setSelected(bool selected) {
    if (selected == selected_) return;
    selected_ = selected;
    update();
}

void StretchedPicture::paintEvent(QPaintEvent*) {
    if (screenCopy_.isNull() && !selected_) return;
    QPainter painter(this);
    if (!screenCopy_.isNull()) painter.drawImage(rect(), screenCopy_);
    if (!selected_) return;
    // A band in the highlight colour with a white line inside it stands out on light and dark pictures.
    constexpr int kBand = 3;
    const QRect inner = rect().adjusted(kBand, kBand, -kBand, -kBand);
    painter.setClipRegion(QRegion(rect()) - QRegion(inner));
    painter.fillRect(rect(), palette().color(QPalette::Highlight));
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
