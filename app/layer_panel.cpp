// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/layer_panel.h"

#include "app/cover_text_canvas.h"
#include "app/track_list_dialog.h"
#include "covers/cover_kinds.h"
#include "platform/desktop/save_dialog.h"
#include "platform/imaging/picture_loader.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>

#include <algorithm>
#include <cmath>

namespace kavi {

namespace {

const QStringList kPictureFilters{QStringLiteral("Pictures (*.png *.tif *.tiff *.jpg *.jpeg *.bmp *.gif)"),
                                  QStringLiteral("All files (*)")};

QString why(PictureStatus status) {
    switch (status) {
    case PictureStatus::CannotOpen: return QStringLiteral("the file cannot be opened");
    case PictureStatus::Incomplete: return QStringLiteral("the file ends before the picture does");
    case PictureStatus::TooLarge: return QStringLiteral("the picture is too large to hold in memory");
    default: return QStringLiteral("it is not a picture Kavi can read");
    }
}

QString layerName(const CoverLayer& layer) {
    if (layer.type == LayerType::Texts) return QStringLiteral("Texts");
    if (layer.type == LayerType::TrackList) return QStringLiteral("Track list (%1 tracks)").arg(layer.tracks.size());
    const QString name = QStringLiteral("Picture %1").arg(layer.picture + 1);
    if (layer.opacity < 1) return QStringLiteral("%1 (%2 %)").arg(name).arg(std::lround(layer.opacity * 100));
    return name;
}

} // namespace

LengthRect newLayerBox(int kind, double widthOverHeight) {
    const LengthSize size = coverKind(kind).printSize;
    Length width = size.width / 2, height = size.height / 2;
    if (widthOverHeight > 0 && std::isfinite(widthOverHeight)) {
        if (width / height > widthOverHeight) width = height * widthOverHeight;
        else height = width / widthOverHeight;
    }
    return {(size.width - width) / 2, (size.height - height) / 2, width, height};
}

LayerPanel::LayerPanel(LayoutCover& cover, CoverTextCanvas& canvas, SaveDialog& files, QWidget* parent)
    : QGroupBox(QStringLiteral("Layers"), parent), cover_(cover), canvas_(canvas), files_(files) {
    setObjectName(QStringLiteral("fraLayers"));
    lstLayers = new QListWidget(this);
    lstLayers->setObjectName(QStringLiteral("lstLayers"));
    lstLayers->setToolTip(QStringLiteral("The cover's elements in the order they are drawn: the last lies on top."));
    lstLayers->setMaximumHeight(120);
    connect(lstLayers, &QListWidget::currentRowChanged, this, [this] {
        if (!showing_) rowChosen();
    });
    const auto button = [this](QPushButton*& b, const char* name, const QString& caption, auto handler) {
        b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, handler);
    };
    button(cmdForward, "cmdForward", QStringLiteral("Bring &Forward"), [this] { cmdForward_Click(); });
    button(cmdBack, "cmdBack", QStringLiteral("Send Bac&k"), [this] { cmdBack_Click(); });
    button(cmdAddPicture, "cmdAddPicture", QStringLiteral("Add &Picture..."), [this] { cmdAddPicture_Click(); });
    button(cmdTrackList, "cmdTrackList", QStringLiteral("Trac&k List..."), [this] { cmdTrackList_Click(); });
    button(cmdRemoveLayer, "cmdRemoveLayer", QStringLiteral("Remove"), [this] { cmdRemoveLayer_Click(); });
    button(cmdTurnLeft, "cmdTurnLeft", QStringLiteral("Turn Left"), [this] { turn(-1); });
    button(cmdTurnRight, "cmdTurnRight", QStringLiteral("Turn Right"), [this] { turn(1); });
    cmdTurnLeft->setToolTip(QStringLiteral("Turns the picture a quarter turn anticlockwise."));
    cmdTurnRight->setToolTip(QStringLiteral("Turns the picture a quarter turn clockwise."));
    sldOpacity = new QSlider(Qt::Horizontal, this);
    sldOpacity->setObjectName(QStringLiteral("sldOpacity"));
    sldOpacity->setRange(0, 100);
    sldOpacity->setToolTip(QStringLiteral("The picture's opacity, from 0 % (not seen) to 100 %."));
    connect(sldOpacity, &QSlider::valueChanged, this, [this](int percent) {
        const std::optional<std::size_t> layer = selectedLayer();
        if (showing_ || !layer || cover_.design.layers[*layer].type != LayerType::Picture) return;
        cover_.design.layers[*layer].opacity = percent / 100.0;
        refresh();
        emit changed();
    });
    lblLayerNotice = new QLabel(this);
    lblLayerNotice->setObjectName(QStringLiteral("lblLayerNotice"));
    lblLayerNotice->setStyleSheet(QStringLiteral("color: #c01818;"));
    lblLayerNotice->setWordWrap(true);
    lblLayerNotice->hide();

    auto* grid = new QGridLayout(this);
    grid->addWidget(lstLayers, 0, 0, 4, 1);
    grid->addWidget(cmdForward, 0, 1);
    grid->addWidget(cmdBack, 1, 1);
    grid->addWidget(cmdRemoveLayer, 2, 1);
    grid->addWidget(cmdAddPicture, 0, 2);
    grid->addWidget(cmdTrackList, 1, 2);
    grid->addWidget(cmdTurnLeft, 2, 2);
    grid->addWidget(cmdTurnRight, 3, 2);
    auto* opacity = new QLabel(QStringLiteral("Opacity:"), this);
    opacity->setBuddy(sldOpacity);
    grid->addWidget(opacity, 4, 0);
    grid->addWidget(sldOpacity, 4, 1, 1, 2);
    grid->addWidget(lblLayerNotice, 5, 0, 1, 3);
    refresh();
}

std::optional<std::size_t> LayerPanel::selectedLayer() const {
    const int row = lstLayers->currentRow();
    if (row < kFirstLayerRow || std::size_t(row - kFirstLayerRow) >= cover_.design.layers.size()) return std::nullopt;
    return std::size_t(row - kFirstLayerRow);
}

void LayerPanel::selectLayer(std::optional<std::size_t> layer) {
    const bool was = showing_;
    showing_ = true;
    lstLayers->setCurrentRow(layer ? kFirstLayerRow + int(*layer) : -1);
    showing_ = was;
    showButtons();
}

void LayerPanel::refresh() {
    const bool was = showing_;
    showing_ = true;
    const int row = lstLayers->currentRow();
    QStringList names{QStringLiteral("Background"), QStringLiteral("Cover picture")};
    for (const CoverLayer& layer : cover_.design.layers) names << layerName(layer);
    for (int i = 0; i < names.size(); ++i) {
        if (i < lstLayers->count()) lstLayers->item(i)->setText(names[i]);
        else lstLayers->addItem(names[i]);
    }
    while (lstLayers->count() > names.size()) delete lstLayers->takeItem(lstLayers->count() - 1);
    lstLayers->setCurrentRow(std::min(row, int(lstLayers->count()) - 1));
    showing_ = was;
    showButtons();
}

void LayerPanel::showButtons() {
    const std::optional<std::size_t> layer = selectedLayer();
    const CoverLayer* chosen = layer ? &cover_.design.layers[*layer] : nullptr;
    const bool picture = chosen && chosen->type == LayerType::Picture;
    cmdForward->setEnabled(layer && *layer + 1 < cover_.design.layers.size());
    cmdBack->setEnabled(layer && *layer > 0);
    cmdRemoveLayer->setEnabled(chosen && chosen->type != LayerType::Texts);
    cmdTurnLeft->setEnabled(picture);
    cmdTurnRight->setEnabled(picture);
    sldOpacity->setEnabled(picture);
    const bool was = showing_;
    showing_ = true;
    sldOpacity->setValue(picture ? int(std::lround(chosen->opacity * 100)) : 100);
    showing_ = was;
    cmdAddPicture->setEnabled(cover_.design.layers.size() < kMostCoverLayers);
}

void LayerPanel::rowChosen() {
    const std::optional<std::size_t> layer = selectedLayer();
    showButtons();
    if (layer && cover_.design.layers[*layer].type == LayerType::Texts) {
        emit textsSelected();
        return;
    }
    canvas_.setSelectedLayer(layer);
}

void LayerPanel::moveSelected(int by) {
    const std::optional<std::size_t> layer = selectedLayer();
    std::vector<CoverLayer>& layers = cover_.design.layers;
    if (!layer) return;
    const std::size_t to =
        std::size_t(std::clamp(std::ptrdiff_t(*layer) + by, std::ptrdiff_t(0), std::ptrdiff_t(layers.size()) - 1));
    if (to == *layer) return;
    std::swap(layers[*layer], layers[to]);
    refresh();
    selectLayer(to);
    canvas_.setSelectedLayer(layers[to].type == LayerType::Texts ? std::nullopt : std::optional(to));
    emit changed();
}

void LayerPanel::cmdForward_Click() { moveSelected(1); }
void LayerPanel::cmdBack_Click() { moveSelected(-1); }

void LayerPanel::cmdAddPicture_Click() {
    if (cover_.design.layers.size() >= kMostCoverLayers) return;
    SaveDialogRequest request;
    request.title = QStringLiteral("Add Picture");
    request.filters = kPictureFilters;
    request.opensFile = true;
    request.confirmOverwrite = false;
    const SaveDialogResult chosen = files_.ask(request);
    if (!chosen.accepted || chosen.fileName.isEmpty()) return;
    PictureLoad loaded = loadPictureFile(chosen.fileName);
    if (loaded.status != PictureStatus::Loaded) {
        lblLayerNotice->setText(QStringLiteral("%1 was not added: %2.").arg(chosen.fileName, why(loaded.status)));
        lblLayerNotice->show();
        return;
    }
    lblLayerNotice->hide();
    CoverLayer layer;
    layer.type = LayerType::Picture;
    layer.picture = cover_.pictures.size();
    layer.box = newLayerBox(cover_.kind, double(loaded.picture.width()) / loaded.picture.height());
    cover_.pictures.push_back({std::move(loaded.picture), std::move(loaded.originalJpeg), std::nullopt});
    // Above the other layers, under the texts.
    std::vector<CoverLayer>& layers = cover_.design.layers;
    const auto texts =
        std::find_if(layers.begin(), layers.end(), [](const CoverLayer& l) { return l.type == LayerType::Texts; });
    const std::size_t at = std::size_t(texts - layers.begin());
    layers.insert(texts, std::move(layer));
    refresh();
    selectLayer(at);
    canvas_.setSelectedLayer(at);
    emit changed();
}

void LayerPanel::cmdRemoveLayer_Click() {
    const std::optional<std::size_t> layer = selectedLayer();
    std::vector<CoverLayer>& layers = cover_.design.layers;
    if (!layer || layers[*layer].type == LayerType::Texts) return;
    layers.erase(layers.begin() + std::ptrdiff_t(*layer));
    refresh();
    selectLayer(std::nullopt);
    canvas_.setSelectedLayer(std::nullopt);
    emit changed();
}

void LayerPanel::cmdTrackList_Click() {
    // The selected track list, or a new one when none is selected.
    std::optional<std::size_t> layer = selectedLayer();
    std::vector<CoverLayer>& layers = cover_.design.layers;
    if (layer && layers[*layer].type != LayerType::TrackList) layer.reset();
    if (!layer && layers.size() >= kMostCoverLayers) return;
    TrackListDialog dialog(layer ? layers[*layer].tracks : std::vector<Track>{}, files_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!layer) {
        CoverLayer added;
        added.type = LayerType::TrackList;
        added.box = newLayerBox(cover_.kind, 0);
        added.style.sizePoints = 10;
        const auto texts =
            std::find_if(layers.begin(), layers.end(), [](const CoverLayer& l) { return l.type == LayerType::Texts; });
        layer = std::size_t(texts - layers.begin());
        layers.insert(texts, std::move(added));
    }
    layers[*layer].tracks = dialog.tracks();
    refresh();
    selectLayer(layer);
    canvas_.setSelectedLayer(layer);
    emit changed();
}

void LayerPanel::turn(int quarters) {
    const std::optional<std::size_t> layer = selectedLayer();
    if (!layer || cover_.design.layers[*layer].type != LayerType::Picture) return;
    CoverLayer& picture = cover_.design.layers[*layer];
    picture.quarterTurns = ((picture.quarterTurns + quarters) % 4 + 4) % 4;
    // The box turns with the picture, about its middle.
    LengthRect& box = picture.box;
    const Length middleX = box.left + box.width / 2, middleY = box.top + box.height / 2;
    std::swap(box.width, box.height);
    box.left = middleX - box.width / 2;
    box.top = middleY - box.height / 2;
    emit changed();
}

} // namespace kavi
