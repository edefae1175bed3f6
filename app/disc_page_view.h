// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A disc kind's page on the tab strip (Tab11 "Disc", Tab12 "Mini Disc"): the ring with its picture and
// curved text (DiscImage11 ...), the ring's size (cboDiscSize11 ...: the presets or "Own size", with
// txtDiscOuter11 and txtDiscHole11 in millimetres), the fit (cboDiscFit11 ...), and the title and subtitle
// (txtDiscTitle11, txtDiscSubtitle11). Every control shows the cover document and sends its edits to it.
#include "document/cover_document.h"

#include <QWidget>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;

namespace kavi {

class DiscRingCanvas;
class ScreenUnits;
class TabStrip;

class DiscPageView final : public QWidget {
    Q_OBJECT
public:
    // Adds itself as the kind's tab of `strip`; `document` outlives the view.
    DiscPageView(const ScreenUnits& screen, CoverDocument& document, DiscKind kind, TabStrip& strip);
    ~DiscPageView() override;

    DiscRingCanvas* canvas() const { return canvas_; }
    QComboBox* sizeBox() const { return size_; }
    QDoubleSpinBox* outerBox() const { return outer_; }
    QDoubleSpinBox* holeBox() const { return hole_; }
    QLineEdit* titleEdit() const { return title_; }

private:
    void showDocument();
    void sizeChosen(int index);
    void ownSizeEdited();
    void textEdited();
    CoverDocument& document_;
    DiscKind kind_;
    int listener_ = 0;
    DiscRingCanvas* canvas_ = nullptr;
    QComboBox* size_ = nullptr;
    QDoubleSpinBox* outer_ = nullptr;
    QDoubleSpinBox* hole_ = nullptr;
    QComboBox* fit_ = nullptr;
    QLineEdit* title_ = nullptr;
    QLineEdit* subtitle_ = nullptr;
    QLabel* stock_ = nullptr;
};

} // namespace kavi
