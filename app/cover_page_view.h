// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One cover's page on the tab strip (Tab0 ... Tab9): the cover's picture slot (Image1 ...), its fit
// control (cboFit1 ..., with the label lblFit1 ...) and its "Text..." button (cmdText1 ...). The
// slot and the fit control show the cover document; what the user does here is announced, and the
// main window turns it into an edit of the document.
#include "document/cover_document.h"

#include <QWidget>

class QComboBox;
class QPushButton;

namespace kavi {

class PictureSlot;
class ScreenUnits;
class TabStrip;

class CoverPageView final : public QWidget {
    Q_OBJECT
public:
    // Adds itself as the kind's tab of `strip`; `document` outlives the view.
    CoverPageView(const ScreenUnits& screen, CoverDocument& document, Kind kind, TabStrip& strip);
    ~CoverPageView() override;

    PictureSlot* slot() const { return slot_; }
    QComboBox* fitBox() const { return fitBox_; }
    QPushButton* textButton() const { return textButton_; }
    // The fit mode the control offers at index (its captions: "Stretch", "Fill", "Fit").
    static FitMode fitAt(int index);

signals:
    void slotClicked();
    void fitActivated(); // the user picked an entry of the fit control
    void textClicked();

private:
    void buildFitControl(const QRect& slotInStrip, TabStrip& strip);
    void buildTextButton(const ScreenUnits& screen, const QRect& slotInStrip, TabStrip& strip);
    void showFitMode();
    CoverDocument& document_;
    Kind kind_;
    int listener_ = 0;
    PictureSlot* slot_ = nullptr;
    QComboBox* fitBox_ = nullptr;
    QPushButton* textButton_ = nullptr;
};

} // namespace kavi
