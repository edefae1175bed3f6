// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/layout_result.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace kavi {

LayoutCover layoutCoverOf(const CoverDocument& document, Kind kind) {
    LayoutCover cover{kind.number(),        document.pixels(kind), document.fitMode(kind),
                      document.text(kind),  document.design(kind), {},
                      document.safeMargin()};
    for (std::size_t i = 0; i < document.designPictureCount(kind); ++i)
        cover.pictures.push_back(
            {document.designPixels(kind, i), document.designPicture(kind, i).uneditedOriginalJpeg(), i});
    return cover;
}

namespace {

// Whether the window's design is the document's as it stands: the same layers naming the same
// pictures, none added.
bool sameDesign(const CoverDocument& document, Kind kind, const CoverDesign& design,
                const std::vector<LayoutPicture>& pictures) {
    CoverDesign named = design;
    for (CoverLayer& layer : named.layers) {
        if (layer.type != LayerType::Picture) continue;
        if (layer.picture >= pictures.size() || !pictures[layer.picture].documentIndex) return false;
        layer.picture = *pictures[layer.picture].documentIndex;
    }
    return named == document.design(kind);
}

} // namespace

void putLayout(CoverDocument& document, Kind kind, const CoverText& text, const CoverDesign& design,
               const std::vector<LayoutPicture>& pictures) {
    const bool sameText = text == document.text(kind);
    if (sameText && sameDesign(document, kind, design, pictures)) return;
    CoverDocument::OneAction action(document);
    if (!sameText) document.setText(kind, text);
    // The pictures added in the window go in first, each in a layer of its own that the design
    // below then places; the document may number its pictures anew on each edit, so each one is
    // followed through its layer.
    const std::vector<CoverLayer> before = document.design(kind).layers;
    std::map<std::size_t, std::size_t> added; // the window's picture -> the layer it went into
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (pictures[i].documentIndex) continue;
        const auto named = std::find_if(design.layers.begin(), design.layers.end(), [i](const CoverLayer& layer) {
            return layer.type == LayerType::Picture && layer.picture == i;
        });
        if (named == design.layers.end()) continue;
        if (const std::optional<std::size_t> layer =
                document.addPictureLayer(kind, pictures[i].pixels, pictures[i].originalJpeg, named->box))
            added[i] = *layer;
    }
    // A new layer goes in under the texts, after those added before it: the earlier ones keep
    // their places, and the layers that were there keep their order around them.
    const std::vector<CoverLayer>& now = document.design(kind).layers;
    std::vector<std::size_t> newPlace(pictures.size(), SIZE_MAX);
    for (const auto& [picture, layer] : added) newPlace[picture] = now[layer].picture;
    std::map<std::size_t, std::size_t> renumbered; // the document's picture before -> after
    std::vector<bool> isAdded(now.size(), false);
    for (const auto& entry : added) isAdded[entry.second] = true;
    for (std::size_t was = 0, at = 0; was < before.size() && at < now.size(); ++at) {
        if (isAdded[at]) continue;
        if (before[was].type == LayerType::Picture) renumbered[before[was].picture] = now[at].picture;
        ++was;
    }
    CoverDesign result = design;
    std::erase_if(result.layers, [&](const CoverLayer& layer) {
        if (layer.type != LayerType::Picture) return false;
        if (layer.picture >= pictures.size()) return true;
        const LayoutPicture& picture = pictures[layer.picture];
        if (picture.documentIndex) return !renumbered.contains(*picture.documentIndex);
        return newPlace[layer.picture] == SIZE_MAX; // it could not be added
    });
    for (CoverLayer& layer : result.layers) {
        if (layer.type != LayerType::Picture) continue;
        const LayoutPicture& picture = pictures[layer.picture];
        layer.picture = picture.documentIndex ? renumbered[*picture.documentIndex] : newPlace[layer.picture];
    }
    document.setDesign(kind, std::move(result));
}

} // namespace kavi
