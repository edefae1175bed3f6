// SPDX-License-Identifier: GPL-3.0-or-later
// Each cover's design in the open covers: its background, its layers of further pictures, track
// lists and texts, its end strips, and the ready layouts that set designs and texts together.
#include "coverset/cover_design_rules.h"
#include "document/cover_document.h"

#include <algorithm>
#include <utility>

namespace kavi {

namespace {

const CoverPicture kNoPicture;
const QImage kNoPixels;

// Where a new picture layer goes: under the Texts layer if there is one, else on top.
std::size_t placeForNewLayer(const CoverDesign& design) {
    const auto texts = std::find_if(design.layers.begin(), design.layers.end(),
                                    [](const CoverLayer& layer) { return layer.type == LayerType::Texts; });
    return std::size_t(texts - design.layers.begin());
}

} // namespace

const CoverPicture& CoverDocument::designPicture(Kind kind, std::size_t index) const {
    const std::vector<CoverPicture>& pictures = covers_[kind].designPictures;
    return index < pictures.size() ? pictures[index] : kNoPicture;
}

const QImage& CoverDocument::designPixels(Kind kind, std::size_t index) const {
    const std::vector<CoverPicture>& pictures = covers_[kind].designPictures;
    if (index >= pictures.size()) return kNoPixels;
    const CoverPicture& picture = pictures[index];
    if (picture.isUndecoded() && picture.decode()) notify(kind, What::Design);
    return picture.pixels();
}

void CoverDocument::putDesign(Kind kind, CoverDesign design, std::vector<CoverPicture> pictures, Unsaved unsaved) {
    Cover& cover = covers_[kind];
    if (cover.design == design && showSamePictures(cover.designPictures, pictures)) return;
    aboutToEdit(unsaved);
    cover.design = std::move(design);
    cover.designPictures = std::move(pictures);
    notify(kind, What::Design);
    edited(unsaved);
}

bool CoverDocument::setDesign(Kind kind, CoverDesign design, Unsaved unsaved) {
    const std::vector<CoverPicture>& held = covers_[kind].designPictures;
    bool repaired = false;
    design = repairedDesign(std::move(design), held.size(), repaired);
    if (!hasEndStrips(kind.number()) && !design.endStrips.text.empty()) {
        design.endStrips = {};
        repaired = true;
    }
    std::vector<CoverPicture> pictures;
    for (std::size_t old : keepUsedPictures(design, held.size())) pictures.push_back(held[old]);
    putDesign(kind, std::move(design), std::move(pictures), unsaved);
    return !repaired;
}

std::optional<std::size_t> CoverDocument::addPictureLayer(Kind kind, QImage picture, QByteArray originalJpeg,
                                                          LengthRect box) {
    const Cover& cover = covers_[kind];
    if (picture.isNull() || cover.design.layers.size() >= kMostCoverLayers) return std::nullopt;
    CoverDesign design = cover.design;
    std::vector<CoverPicture> pictures = cover.designPictures;
    CoverPicture added;
    added.setPicked(std::move(picture), std::move(originalJpeg));
    pictures.push_back(std::move(added));
    CoverLayer layer;
    layer.type = LayerType::Picture;
    layer.box = box;
    layer.picture = pictures.size() - 1;
    const std::size_t place = placeForNewLayer(design);
    design.layers.insert(design.layers.begin() + std::ptrdiff_t(place), std::move(layer));
    bool repaired = false;
    design = repairedDesign(std::move(design), pictures.size(), repaired);
    if (design.layers.size() != cover.design.layers.size() + 1) return std::nullopt; // a box that cannot be
    std::vector<CoverPicture> numbered;
    for (std::size_t old : keepUsedPictures(design, pictures.size())) numbered.push_back(std::move(pictures[old]));
    putDesign(kind, std::move(design), std::move(numbered), Unsaved::Mark);
    return place;
}

bool CoverDocument::setLayer(Kind kind, std::size_t index, const CoverLayer& layer, Unsaved unsaved) {
    CoverDesign design = covers_[kind].design;
    if (index >= design.layers.size()) return false;
    design.layers[index] = layer;
    return setDesign(kind, std::move(design), unsaved);
}

void CoverDocument::removeLayer(Kind kind, std::size_t index) {
    CoverDesign design = covers_[kind].design;
    if (index >= design.layers.size()) return;
    design.layers.erase(design.layers.begin() + std::ptrdiff_t(index));
    setDesign(kind, std::move(design));
}

void CoverDocument::moveLayer(Kind kind, std::size_t index, int by) {
    CoverDesign design = covers_[kind].design;
    if (index >= design.layers.size() || by == 0) return;
    const auto last = std::ptrdiff_t(design.layers.size() - 1);
    const std::ptrdiff_t to = std::clamp(std::ptrdiff_t(index) + by, std::ptrdiff_t(0), last);
    const auto from = design.layers.begin() + std::ptrdiff_t(index);
    if (to > std::ptrdiff_t(index)) std::rotate(from, from + 1, design.layers.begin() + to + 1);
    else std::rotate(design.layers.begin() + to, from, from + 1);
    setDesign(kind, std::move(design));
}

void CoverDocument::setBackground(Kind kind, const CoverBackground& background, Unsaved unsaved) {
    CoverDesign design = covers_[kind].design;
    design.background = background;
    setDesign(kind, std::move(design), unsaved);
}

void CoverDocument::setEndStrips(Kind kind, const TextBox& endStrips, Unsaved unsaved) {
    if (!hasEndStrips(kind.number())) return;
    CoverDesign design = covers_[kind].design;
    design.endStrips = endStrips;
    setDesign(kind, std::move(design), unsaved);
}

KindFlags CoverDocument::layoutKinds(const CoverSet& layout) {
    KindFlags kinds{};
    for (Kind kind : Kind::all()) {
        const CoverSetCover& cover = layout.cover(kind.number());
        kinds[kind.index()] = cover.text.hasText() || !cover.design.isPlain();
    }
    return kinds;
}

CoverSet CoverDocument::toLayout() const {
    CoverSet layout = CoverSet::empty();
    for (Kind kind : Kind::all()) {
        const Cover& cover = covers_[kind];
        CoverSetCover& saved = layout.cover(kind.number());
        saved.fit = cover.fit;
        saved.text = cover.text;
        saved.design = cover.design;
        std::erase_if(saved.design.layers, [](const CoverLayer& layer) { return layer.type == LayerType::Picture; });
        if (!cover.text.hasText() && saved.design.isPlain()) {
            saved = CoverSetCover{};
            saved.text = emptyCoverText(kind.number());
        }
    }
    return layout;
}

void CoverDocument::applyLayout(const CoverSet& layout) {
    const KindFlags kinds = layoutKinds(layout);
    OneAction action(*this);
    for (Kind kind : Kind::all()) {
        if (!kinds[kind.index()]) continue;
        const CoverSetCover& from = layout.cover(kind.number());
        // The layout's own picture layers have no pictures here; the cover's further pictures stay,
        // in their order, under the layout's Texts layer.
        CoverDesign design = from.design;
        std::erase_if(design.layers, [](const CoverLayer& layer) { return layer.type == LayerType::Picture; });
        std::size_t place = placeForNewLayer(design);
        for (const CoverLayer& layer : covers_[kind].design.layers)
            if (layer.type == LayerType::Picture)
                design.layers.insert(design.layers.begin() + std::ptrdiff_t(place++), layer);
        setDesign(kind, std::move(design));
        setText(kind, from.text);
    }
}

} // namespace kavi
