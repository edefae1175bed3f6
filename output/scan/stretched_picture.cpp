#include "stretched_picture.h"

#include <QMouseEvent>
#include <QPainter>

namespace kavi {

StretchedPicture::StretchedPicture(QWidget* parent) : QWidget(parent) {}

void StretchedPicture::setPicture(QImage picture) {
    picture_ = std::move(picture);
    shown_ = QImage();
    update();
}

void StretchedPicture::paintEvent(QPaintEvent*) {
    if (picture_.isNull() || width() <= 0 || height() <= 0) return;
    if (shown_.size() != size())
        shown_ = picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter painter(this);
    painter.drawImage(0, 0, shown_);
}

void StretchedPicture::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QWidget::mouseReleaseEvent(event);
}

} // namespace kavi
