// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cover text window: one cover as it prints, with its title, subtitle, spine text and free
// text boxes, their fields, and the style of the text being edited. A text that runs past the
// cover's edge is outlined in red and a line under the cover says how far. OK keeps the texts,
// Cancel leaves them as they were.
#include "covers/cover_text.h"
#include "covers/fit_mode.h"

#include <QDialog>
#include <QImage>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kavi {

class CoverTextCanvas;

class CoverTextWindow final : public QDialog {
    Q_OBJECT
public:
    CoverTextWindow(int kind, QImage picture, FitMode fit, CoverText text, QWidget* parent = nullptr);

    const CoverText& text() const { return text_; }
    int editedText() const; // which text the style fields show (kTitleRef ...)
    void selectText(int ref);
    void cmdAddBox_Click();
    void cmdRemoveBox_Click();

    CoverTextCanvas* picCoverText = nullptr;
    QLabel* lblOverhang = nullptr; // says which texts run past the cover's edge, and how far
    QLineEdit* txtTitle = nullptr;
    QLineEdit* txtSubtitle = nullptr;
    QLineEdit* txtSpine = nullptr;
    QPlainTextEdit* txtBox = nullptr; // the free box being edited
    QPushButton* cmdAddBox = nullptr;
    QPushButton* cmdRemoveBox = nullptr;
    QComboBox* cboText = nullptr; // which text the style applies to
    QFontComboBox* cboFont = nullptr;
    QDoubleSpinBox* spnSize = nullptr;
    QLineEdit* txtColour = nullptr; // #rrggbb
    QPushButton* cmdColour = nullptr;
    QCheckBox* chkBold = nullptr;
    QCheckBox* chkItalic = nullptr;
    QComboBox* cboAlign = nullptr;
    QComboBox* cboEffect = nullptr;
    QLineEdit* txtEffectColour = nullptr;

private:
    void buildStyleFields(QFormLayout* form);
    void refreshTextList();
    void showStyle(); // the fields from the edited text
    void takeStyle(); // the edited text's style from the fields
    void changed();
    void showOverhangs();

    int kind_;
    CoverText text_;
    bool showing_ = false; // the fields are being filled, not edited
};

} // namespace kavi
