#include "picture_slot.h"

#include <QMouseEvent>
#include <QPainter>

namespace kavi {

PictureSlot::PictureSlot(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setToolTip(QStringLiteral("Cover image."));
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureSlot::setPicture(QImage picture) {
    if (!picture.isNull() && picture.format() != QImage::Format_RGB32) picture.convertTo(QImage::Format_RGB32);
    picture_ = std::move(picture);
    refreshScreenCopy();
    update();
}

void PictureSlot::refreshScreenCopy() {
    if (picture_.isNull() || width() <= 0 || height() <= 0) {
        screenCopy_ = QImage();
        return;
    }
    const QSize target = size() * devicePixelRatioF();
    screenCopy_ = picture_.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    screenCopy_.setDevicePixelRatio(devicePixelRatioF());
}

void PictureSlot::paintEvent(QPaintEvent*) {
    if (screenCopy_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(rect(), screenCopy_);
}

void PictureSlot::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    refreshScreenCopy();
}

void PictureSlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
    QWidget::mousePressEvent(event);
}

} // namespace kavi
