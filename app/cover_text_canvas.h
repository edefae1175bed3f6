// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One cover in its real proportions as the cover text window shows it, exactly as the tab and the
// print show it (the picture placed by the cover's fit mode, its texts cut off at the cover's edge),
// with each text that runs past the edge outlined in red: a click picks the text under the pointer,
// a drag moves it (a spine text only along the spine).
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

class CoverTextCanvas final : public QWidget {
    Q_OBJECT
public:
    CoverTextCanvas(int kind, QImage picture, FitMode fit, CoverText& text, QWidget* parent = nullptr);

    // Where the cover lies in the widget, and the point of the cover under a widget position.
    QRectF coverArea() const;
    LengthPoint coverPointAt(QPointF position) const;
    QPointF positionOf(LengthPoint onCover) const;
    // The text drawn at that widget position (the topmost), if any.
    std::optional<int> textAt(QPointF position) const;
    void setSelected(int ref);
    // The texts that run past the cover's edge (by a twentieth of a millimetre or more), in order.
    std::vector<TextOverhang> overhangs() const;
    void textChanged();

signals:
    void picked(int ref);
    void moved();

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

    int kind_;
    QImage picture_;
    FitMode fit_;
    CoverText& text_;
    LengthRect view_; // the part of the cover's plane the canvas shows, in the cover's coordinates
    int selected_ = kTitleRef;
    std::optional<QPointF> dragFrom_;
    LengthPoint anchorAtPress_;
};

} // namespace kavi
