// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Crop window of the Cover Manipulator: the picture in its true proportions, a rectangle the
// user drags over it (never leaving the picture), an option that locks the rectangle to the
// proportions of the cover being edited, and OK to crop to it. Resizable; the picture follows.
#include "manipulator/crop_rect.h"

#include <QDialog>
#include <QImage>
#include <QRectF>

#include <functional>
#include <optional>

class QCheckBox;
class QDialogButtonBox;
class QLabel;

namespace kavi {

// The picture with the rectangle over it; the part outside the rectangle is dimmed.
class CropView final : public QWidget {
public:
    explicit CropView(QWidget* parent = nullptr);
    void setPicture(QImage picture);
    const QImage& picture() const { return picture_; }
    // Where the picture is drawn in the view, in its true proportions.
    QRectF pictureArea() const;
    // A point of the view in the picture's pixels (outside the picture when the point is).
    QPointF toPicture(QPointF point) const;
    QPointF fromPicture(QPointF point) const;

    CropRect selection() const { return selection_; }
    void setSelection(const CropRect& rect);
    // Locks new drags to the proportions (width / height); none unlocks.
    void setAspect(std::optional<double> aspect);
    // The last drag's two points in picture pixels, when there was one.
    bool hasDrag() const { return dragged_; }
    void redoLastDrag();
    std::function<void()> selectionChanged;

    QSize sizeHint() const override { return {560, 400}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void dragTo(QPointF point);
    void refreshScreenCopy();

    QImage picture_;
    QImage screenCopy_;
    CropRect selection_;
    std::optional<double> aspect_;
    bool pressing_ = false;
    bool dragged_ = false;
    QPointF anchor_, pointer_; // in picture pixels
};

class CropWindow final : public QDialog {
public:
    // coverAspect is the cover's width / height; coverName names it in the lock option. Without
    // an aspect there is nothing to lock to and the option is not offered.
    CropWindow(QImage picture, std::optional<double> coverAspect, const QString& coverName, QWidget* parent = nullptr);

    // The rectangle OK crops to, in the picture's pixels.
    CropRect selection() const { return view->selection(); }

    CropView* view;
    QCheckBox* chkLock;
    QLabel* lblSize;
    QDialogButtonBox* buttons;

private:
    void lockChanged();
    void showSelection();

    std::optional<double> coverAspect_;
};

} // namespace kavi
