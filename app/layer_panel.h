// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cover's elements in the layout window, in the order they are drawn (the background, the
// cover's own picture, then each further picture, track list and the texts): one is selected by
// clicking it in the list or on the cover; it is brought forward or sent back, removed, and a
// picture turned by quarter turns or faded. Pictures are added from files; a track list is typed,
// pasted or imported.
#include "app/layout_cover.h"

#include <QGroupBox>

#include <optional>

class QLabel;
class QListWidget;
class QPushButton;
class QSlider;

namespace kavi {

class CoverTextCanvas;
class SaveDialog;

class LayerPanel final : public QGroupBox {
    Q_OBJECT
public:
    // The list's first rows, before the layers.
    static constexpr int kBackgroundRow = 0, kCoverPictureRow = 1, kFirstLayerRow = 2;

    LayerPanel(LayoutCover& cover, CoverTextCanvas& canvas, SaveDialog& files, QWidget* parent = nullptr);

    // The selected layer, if a layer is selected.
    std::optional<std::size_t> selectedLayer() const;
    void selectLayer(std::optional<std::size_t> layer);
    void refresh(); // the list and the buttons from the design

    void cmdForward_Click();
    void cmdBack_Click();
    void cmdAddPicture_Click();
    void cmdRemoveLayer_Click();
    void cmdTrackList_Click();
    void turn(int quarters);

    QListWidget* lstLayers = nullptr;
    QPushButton* cmdForward = nullptr;
    QPushButton* cmdBack = nullptr;
    QPushButton* cmdAddPicture = nullptr;
    QPushButton* cmdTrackList = nullptr;
    QPushButton* cmdRemoveLayer = nullptr;
    QPushButton* cmdTurnLeft = nullptr;
    QPushButton* cmdTurnRight = nullptr;
    QSlider* sldOpacity = nullptr; // 0 to 100 %
    QLabel* lblLayerNotice = nullptr; // a picture that could not be added, and why

signals:
    void changed();
    void textsSelected();

private:
    void rowChosen();
    void moveSelected(int by);
    void showButtons();

    LayoutCover& cover_;
    CoverTextCanvas& canvas_;
    SaveDialog& files_;
    bool showing_ = false;
};

// A new element's box: the proportions given, as large as fits half the cover, in its middle.
LengthRect newLayerBox(int kind, double widthOverHeight);

} // namespace kavi
