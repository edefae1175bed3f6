// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cover's layout window: one cover as it prints, with its title, subtitle, spine text and free
// text boxes, their fields, and the style of the text being edited; and the cover's layers (its
// background, further pictures, track lists) in their order, with the CD Back's end-strip text. A
// text that runs past the cover's edge is outlined in red and a line under the cover says how far;
// texts and track lists that cross the safe margin or a fold are marked the same way. OK keeps the
// texts and the design, Cancel leaves them as they were.
#include "app/layout_cover.h"
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

class BackgroundEditor;
class CoverTextCanvas;
class LayerPanel;
class SaveDialog;

class CoverTextWindow final : public QDialog {
    Q_OBJECT
public:
    CoverTextWindow(int kind, QImage picture, FitMode fit, CoverText text, QWidget* parent = nullptr);
    // `files` asks for the pictures and track-list sources to add.
    CoverTextWindow(LayoutCover cover, SaveDialog& files, QWidget* parent = nullptr);

    const CoverText& text() const { return cover_.text; }
    // The design as edited: its picture layers name entries of pictures().
    CoverDesign design() const;
    const std::vector<LayoutPicture>& pictures() const { return cover_.pictures; }
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
    LayerPanel* fraLayers = nullptr;
    BackgroundEditor* fraBackground = nullptr;
    QLineEdit* txtEndStrips = nullptr; // the CD Back's end strips
    QLabel* lblSafeMargin = nullptr; // says which texts and track lists cross the safe margin or a fold
    QLabel* lblTrackListFit = nullptr; // what of a track list does not fit its box

private:
    void buildStyleFields(QFormLayout* form);
    void refreshTextList();
    void showStyle(); // the fields from the edited text
    void takeStyle(); // the edited text's style from the fields
    void changed();
    void showOverhangs();
    void showNotices(); // the safe margin's and the track lists' lines

    LayoutCover cover_;
    SaveDialog& files_;
    bool textsLayerAdded_ = false; // the design had no Texts layer: the texts lay over everything
    bool showing_ = false; // the fields are being filled, not edited
};

} // namespace kavi
