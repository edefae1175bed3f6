// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture control: keeps the whole picture and paints it stretched to its own rectangle from a
// cached copy of screen size, so repainting stays fast with large pictures. A left click (pressed
// and released inside) is announced. A selected picture is drawn inside a frame.
//
// A control may instead show its picture on a sheet of paper inside its rectangle (a cover in its
// real proportions): it then says where the paper lies and which part of the picture shows where.
#include <QImage>
#include <QRectF>
#include <QWidget>

namespace kavi {

class StretchedPicture : public QWidget {
    Q_OBJECT
public:
    explicit StretchedPicture(QWidget* parent = nullptr);

    const QImage& picture() const { return picture_; }
    bool hasPicture() const { return !picture_.isNull(); }
    // Keeps the picture as 32-bit pixels, the form printing, saving and the filters work on, with
    // its transparency (Format_ARGB32) when it has any.
    void setPicture(QImage picture);
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);

    // Where the picture shows: `paper` is the area drawn as white paper (empty: none, the whole
    // control is the picture's), `target` the part of the control that shows the part `source` of
    // the picture (in its pixels).
    struct Layout {
        QRectF paper;
        QRectF target;
        QRectF source;
    };
    Layout currentLayout() const { return layoutFor(size(), picture_.size()); }

signals:
    void clicked();

protected:
    // The whole picture stretched onto the whole control, unless a control says otherwise.
    virtual Layout layoutFor(QSize area, QSize picture) const;
    // Call when what layoutFor gives has changed.
    void layoutChanged();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void refreshScreenCopy();
    QImage picture_;
    QImage screenCopy_;
    Layout layout_;
    bool selected_ = false;
};

} // namespace kavi
