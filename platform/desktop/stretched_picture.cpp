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

void StretchedPicture::paintEvent(QPaintEvent*) {
    if (screenCopy_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(rect(), screenCopy_);
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
