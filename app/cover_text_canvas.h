// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One cover in its real proportions as the cover's layout window shows it, exactly as the tab and
// the print show it (the picture placed by the cover's fit mode, its design's background and
// layers, its texts cut off at the cover's edge), with each text that runs past the edge outlined
// in red and the safe margin as a dashed line that is never printed. A click picks the topmost
// element under the pointer; a drag moves it (a spine text only along the spine), and a picture or
// track list is resized by dragging a corner of its box, keeping its proportions unless Shift is held.
#include "app/layout_cover.h"
#include "covers/cover_text.h"
#include "covers/fit_mode.h"

#include <QImage>
#include <QWidget>

#include <optional>
#include <vector>

namespace kavi {

// Which text of a cover: the title, subtitle, spine, or free box number (ref - kFirstBoxRef).
inline constexpr int kTitleRef = 0, kSubtitleRef = 1, kSpineRef = 2, kFirstBoxRef = 3;
TextBox& textBoxOf(CoverText& text, int ref);

// A text whose ink runs past the cover's edge: which text, how far, and its ink on the cover.
struct TextOverhang {
    int ref;
    Length by;
    LengthRect ink;
};

// A text or track list that crosses the safe line or a fold (one that runs past the cover's edge is
// an overhang instead): the text, or the track list's layer, and its ink.
struct SafeAreaMark {
    std::optional<int> ref;
    std::optional<std::size_t> layer;
    SafeAreaCrossing crossing;
    LengthRect ink;
};

// What lies under a point of the cover: a layer, and the text when it is the texts' layer.
struct LayoutHit {
    std::optional<std::size_t> layer; // none: a text while the design has no Texts layer
    std::optional<int> text;
};

class CoverTextCanvas final : public QWidget {
    Q_OBJECT
public:
    CoverTextCanvas(LayoutCover& cover, QWidget* parent = nullptr);

    // Where the cover lies in the widget, and the point of the cover under a widget position.
    QRectF coverArea() const;
    LengthPoint coverPointAt(QPointF position) const;
    QPointF positionOf(LengthPoint onCover) const;
    // The text drawn at that widget position (the topmost), if any.
    std::optional<int> textAt(QPointF position) const;
    // The topmost element at that widget position, if any.
    std::optional<LayoutHit> hitAt(QPointF position) const;
    void setSelected(int ref);
    void setSelectedLayer(std::optional<std::size_t> layer);
    std::optional<std::size_t> selectedLayer() const { return selectedLayer_; }
    // The texts that run past the cover's edge (by a twentieth of a millimetre or more), in order.
    std::vector<TextOverhang> overhangs() const;
    // The texts and track lists that cross the safe line or a fold, texts first.
    std::vector<SafeAreaMark> safeAreaMarks() const;
    void textChanged();

signals:
    void picked(int ref);
    void layerPicked(std::size_t layer);
    void moved();
    void layerChanged(std::size_t layer);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::optional<PlacedText> placedOf(int ref) const;
    // Takes in the cover and the ink of every text that runs past it, so the whole of each red
    // outline shows. Kept still while a text is dragged, so the cover does not move under the pointer.
    void refreshView();
    QRectF areaOf(const LengthRect& onCover) const;
    // The corner of the selected box under the position (0 top-left, 1 top-right, 2 bottom-right,
    // 3 bottom-left), if any.
    std::optional<int> cornerAt(QPointF position) const;
    void dragLayer(QPointF to, bool freeProportions);

    LayoutCover& cover_;
    LengthRect view_; // the part of the cover's plane the canvas shows, in the cover's coordinates
    int selected_ = kTitleRef;
    std::optional<std::size_t> selectedLayer_; // a picture or track list; none: the selected text
    std::optional<QPointF> dragFrom_;
    LengthPoint anchorAtPress_;
    LengthRect boxAtPress_;
    std::optional<int> cornerAtPress_;
};

} // namespace kavi
