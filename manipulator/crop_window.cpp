// SPDX-License-Identifier: GPL-3.0-or-later
#include "manipulator/crop_window.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kavi {

namespace {

constexpr double kMargin = 8; // around the picture, so a drag can start just off its edge

} // namespace

CropView::CropView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("cropView"));
    setMinimumSize(200, 150);
    setCursor(Qt::CrossCursor);
}

void CropView::setPicture(QImage picture) {
    picture_ = std::move(picture);
    selection_ = {0, 0, picture_.width(), picture_.height()};
    refreshScreenCopy();
    update();
}

QRectF CropView::pictureArea() const {
    if (picture_.isNull()) return {};
    const double roomW = std::max(1.0, width() - 2 * kMargin), roomH = std::max(1.0, height() - 2 * kMargin);
    const double scale = std::min(roomW / picture_.width(), roomH / picture_.height());
    const double w = picture_.width() * scale, h = picture_.height() * scale;
    return {(width() - w) / 2, (height() - h) / 2, w, h};
}

QPointF CropView::toPicture(QPointF point) const {
    const QRectF area = pictureArea();
    if (area.isEmpty()) return {};
    return {(point.x() - area.left()) * picture_.width() / area.width(),
            (point.y() - area.top()) * picture_.height() / area.height()};
}

QPointF CropView::fromPicture(QPointF point) const {
    const QRectF area = pictureArea();
    if (picture_.isNull()) return {};
    return {area.left() + point.x() * area.width() / picture_.width(),
            area.top() + point.y() * area.height() / picture_.height()};
}

void CropView::setSelection(const CropRect& rect) {
    selection_ = rect;
    update();
    if (selectionChanged) selectionChanged();
}

void CropView::setAspect(std::optional<double> aspect) { aspect_ = aspect; }

void CropView::redoLastDrag() {
    if (dragged_) dragTo(fromPicture(pointer_));
}

void CropView::dragTo(QPointF point) {
    pointer_ = toPicture(point);
    const CropRect rect = cropFromDrag(anchor_.x(), anchor_.y(), pointer_.x(), pointer_.y(), picture_.width(),
                                       picture_.height(), aspect_);
    // A click without a drag keeps the rectangle there is.
    if (!rect.isEmpty()) {
        dragged_ = true;
        setSelection(rect);
    }
}

void CropView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || picture_.isNull()) return;
    pressing_ = true;
    anchor_ = toPicture(event->position());
}

void CropView::mouseMoveEvent(QMouseEvent* event) {
    if (pressing_) dragTo(event->position());
}

void CropView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressing_) return;
    dragTo(event->position());
    pressing_ = false;
}

void CropView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    refreshScreenCopy();
}

void CropView::refreshScreenCopy() {
    const QRectF area = pictureArea();
    if (picture_.isNull() || area.isEmpty()) {
        screenCopy_ = QImage();
        return;
    }
    const QSize size(std::max(1, int(area.width() * devicePixelRatioF())),
                     std::max(1, int(area.height() * devicePixelRatioF())));
    screenCopy_ = picture_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    screenCopy_.setDevicePixelRatio(devicePixelRatioF());
}

void CropView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(90, 90, 90));
    if (screenCopy_.isNull()) return;
    const QRectF area = pictureArea();
    painter.drawImage(area, screenCopy_);
    if (selection_.isEmpty()) return;
    const QRectF chosen(fromPicture(QPointF(selection_.left, selection_.top)),
                        fromPicture(QPointF(selection_.left + selection_.width, selection_.top + selection_.height)));
    // What the crop cuts away is dimmed; the rectangle has a dark and a light line, seen on any picture.
    painter.setClipRegion(QRegion(area.toAlignedRect()) - QRegion(chosen.toAlignedRect()));
    painter.fillRect(area, QColor(0, 0, 0, 130));
    painter.setClipping(false);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(chosen.adjusted(-1, -1, 0, 0));
    painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
    painter.drawRect(chosen.adjusted(-1, -1, 0, 0));
}

CropWindow::CropWindow(QImage picture, std::optional<double> coverAspect, const QString& coverName, QWidget* parent)
    : QDialog(parent), view(new CropView(this)), chkLock(new QCheckBox(this)), lblSize(new QLabel(this)),
      buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)), coverAspect_(coverAspect) {
    setObjectName(QStringLiteral("CropWindow"));
    setWindowTitle(QStringLiteral("Crop"));
    setSizeGripEnabled(true);
    chkLock->setObjectName(QStringLiteral("chkLock"));
    lblSize->setObjectName(QStringLiteral("lblSize"));
    buttons->setObjectName(QStringLiteral("buttons"));
    auto* hint = new QLabel(QStringLiteral("Drag a rectangle over the picture; OK keeps what is inside it."), this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(view, 1);
    layout->addWidget(chkLock);
    layout->addWidget(lblSize);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    view->setPicture(std::move(picture));
    view->selectionChanged = [this] { showSelection(); };
    if (coverAspect_) {
        chkLock->setText(QStringLiteral("Keep the proportions of the %1 cover (%2 : 1)")
                             .arg(coverName)
                             .arg(*coverAspect_, 0, 'f', 2));
        chkLock->setChecked(true);
    } else {
        chkLock->setText(QStringLiteral("Keep the proportions of the cover"));
        chkLock->setEnabled(false);
    }
    connect(chkLock, &QCheckBox::toggled, this, [this] { lockChanged(); });
    lockChanged();
    resize(640, 520);
}

// Locking takes the cover's proportions at once: for the last drag, or else the largest such
// rectangle, centred. Unlocking keeps the rectangle as it is.
void CropWindow::lockChanged() {
    const bool locked = coverAspect_ && chkLock->isChecked();
    view->setAspect(locked ? coverAspect_ : std::nullopt);
    if (locked) {
        if (view->hasDrag()) view->redoLastDrag();
        else view->setSelection(largestCentredCrop(view->picture().width(), view->picture().height(), *coverAspect_));
    }
    showSelection();
}

void CropWindow::showSelection() {
    const CropRect r = view->selection();
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!r.isEmpty());
    lblSize->setText(r.isEmpty() ? QStringLiteral("Nothing chosen yet.")
                                 : QStringLiteral("Keeps %1 x %2 pixels of %3 x %4.")
                                       .arg(r.width)
                                       .arg(r.height)
                                       .arg(view->picture().width())
                                       .arg(view->picture().height()));
}

} // namespace kavi
