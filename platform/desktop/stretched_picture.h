// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture control: keeps the whole picture and paints it stretched to its own rectangle from a
// cached copy of screen size, so repainting stays fast with large pictures. A left click (pressed
// and released inside) is announced. A selected picture is drawn inside a frame.
//
// A control may instead show its picture on a sheet of paper inside its rectangle (a cover in its
// real proportions): it then says where the paper lies and which part of the picture shows where.
//
// A picture may be given undecoded, with its size and a way to decode it: it is decoded the first
// time it is painted or asked for, so that a control that never shows costs no pixels.
#include <QImage>
#include <QRectF>
#include <QWidget>

#include <functional>

namespace kavi {

class StretchedPicture : public QWidget {
    Q_OBJECT
public:
    explicit StretchedPicture(QWidget* parent = nullptr);

    // The picture's pixels; a picture given undecoded is decoded here, once (a null image when its
    // bytes did not decode). Every reader of the pixels goes through here.
    const QImage& picture() const;
    // Whether there is a picture, without decoding one.
    bool hasPicture() const { return deferred_ ? true : !picture_.isNull(); }
    // Keeps the picture as 32-bit pixels, the form printing, saving and the filters work on, with
    // its transparency (Format_ARGB32) when it has any.
    void setPicture(QImage picture);
    // A picture of `size` pixels whose pixels `decode` gives when they are first needed.
    void setUndecodedPicture(QSize size, std::function<QImage()> decode);
    // True while the picture is given but not yet decoded.
    bool isPictureUndecoded() const { return bool(deferred_); }
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
    Layout currentLayout() const { return layoutFor(size(), pictureSize()); }

signals:
    void clicked();

protected:
    // The whole picture stretched onto the whole control, unless a control says otherwise.
    virtual Layout layoutFor(QSize area, QSize picture) const;
    // Call when what layoutFor gives has changed.
    void layoutChanged();
    // Told once an undecoded picture has been decoded; picture() is then null if it did not decode.
    virtual void undecodedPictureDecoded() {}

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void refreshScreenCopy();
    void decodeNow(bool repaint); // repaint: not when painting already
    QSize pictureSize() const { return deferred_ ? deferredSize_ : picture_.size(); }
    QImage picture_;
    std::function<QImage()> deferred_; // decodes the picture not yet decoded
    QSize deferredSize_;
    QImage screenCopy_;
    Layout layout_;
    bool selected_ = false;
};

} // namespace kavi
