// SPDX-License-Identifier: GPL-3.0-or-later
#include "coverset/cover_design_rules.h"

#include "covers/cover_text.h"
#include "covers/track_list.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <optional>

namespace kavi {

namespace {

const Length kFarthest = Length::fromMillimetres(kFarthestLayerMillimetres);

bool finiteLength(Length length) { return std::isfinite(length.twips()); }

bool boxIsPlaceable(const LengthRect& box) {
    for (Length l : {box.left, box.top, box.width, box.height})
        if (!finiteLength(l) || l > kFarthest || l < -kFarthest) return false;
    return box.width > Length() && box.height > Length();
}

std::string layerName(std::size_t index) { return "layer " + std::to_string(index + 1); }

bool sizeFits(double points) {
    return std::isfinite(points) && points >= kSmallestTextPoints && points <= kLargestTextPoints;
}

// Cuts a UTF-8 text to at most `longest` bytes on a character's boundary, after replacing what is
// not UTF-8 as a cover set's description would.
void cutText(std::string& text, std::size_t longest) {
    text = QString::fromStdString(text).toStdString();
    if (text.size() <= longest) return;
    std::size_t end = longest;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
}

bool isUtf8(const std::string& text) { return QString::fromStdString(text).toStdString() == text; }

bool lengthFits(const std::optional<double>& seconds) {
    return !seconds || (std::isfinite(*seconds) && *seconds >= 0 && *seconds <= kLongestTrackSeconds);
}

void repairStyle(TextStyle& style, bool& repaired) {
    const TextStyle before = style;
    cutText(style.family, kLongestFontName);
    style.sizePoints =
        std::isfinite(style.sizePoints) ? std::clamp(style.sizePoints, kSmallestTextPoints, kLargestTextPoints) : 24;
    style.colour &= 0xFFFFFF;
    style.effectColour &= 0xFFFFFF;
    if (!(style == before)) repaired = true;
}

} // namespace

std::string designProblem(const CoverDesign& design, std::size_t pictureCount) {
    const CoverBackground& background = design.background;
    if (background.angleDegrees % 45 != 0 || background.angleDegrees < 0 || background.angleDegrees >= 360)
        return "the background's angle " + std::to_string(background.angleDegrees) +
            " is not one of 0, 45, ... 315 degrees";
    if ((background.colour | background.endColour) > 0xFFFFFF) return "a background colour is not a colour";
    if (design.layers.size() > kMostCoverLayers)
        return "it has " + std::to_string(design.layers.size()) + " layers, more than " +
            std::to_string(kMostCoverLayers);
    if (pictureCount > kMostCoverLayers) return "it has more than " + std::to_string(kMostCoverLayers) + " pictures";
    std::size_t texts = 0;
    for (std::size_t i = 0; i < design.layers.size(); ++i) {
        const CoverLayer& layer = design.layers[i];
        switch (layer.type) {
        case LayerType::Texts:
            if (++texts > 1) return layerName(i) + " is a second layer of the cover's texts";
            continue;
        case LayerType::Picture:
            if (layer.picture >= pictureCount)
                return layerName(i) + " names picture " + std::to_string(layer.picture + 1) +
                    ", which the cover does not hold";
            if (layer.quarterTurns < 0 || layer.quarterTurns > 3)
                return layerName(i) + " is turned " + std::to_string(layer.quarterTurns) + " quarter turns, not 0 to 3";
            if (!std::isfinite(layer.opacity) || layer.opacity < 0 || layer.opacity > 1)
                return layerName(i) + " has an opacity outside 0 to 1";
            break;
        case LayerType::TrackList:
            if (layer.tracks.size() > kMostTracks)
                return layerName(i) + " lists more than " + std::to_string(kMostTracks) + " tracks";
            for (const Track& track : layer.tracks)
                if (track.title.size() > kLongestTrackText || track.artist.size() > kLongestTrackText ||
                    !isUtf8(track.title) || !isUtf8(track.artist) || !lengthFits(track.seconds) || track.number < 0 ||
                    track.number > kHighestTrackNumber)
                    return layerName(i) + " has a track whose number, text or length cannot be";
            if (!sizeFits(layer.style.sizePoints)) return layerName(i) + " has a text size outside 4 to 288 points";
            break;
        }
        if (!boxIsPlaceable(layer.box)) return layerName(i) + " has a box that is empty or lies too far off the cover";
    }
    if (design.endStrips.text.size() > kLongestText) return "the end strips' text is too long";
    if (!sizeFits(design.endStrips.style.sizePoints)) return "the end strips' text size is outside 4 to 288 points";
    return {};
}

CoverDesign repairedDesign(CoverDesign design, std::size_t pictureCount, bool& repaired) {
    repaired = false;
    CoverBackground& background = design.background;
    const CoverBackground backgroundBefore = background;
    const int angle = int(std::lround(background.angleDegrees / 45.0)) * 45;
    background.angleDegrees = ((angle % 360) + 360) % 360;
    background.colour &= 0xFFFFFF;
    background.endColour &= 0xFFFFFF;
    if (!(background == backgroundBefore)) repaired = true;

    std::vector<CoverLayer> kept;
    bool texts = false;
    for (CoverLayer& layer : design.layers) {
        const bool placeable = layer.type == LayerType::Texts || boxIsPlaceable(layer.box);
        const bool secondTexts = layer.type == LayerType::Texts && texts;
        const bool missingPicture = layer.type == LayerType::Picture && layer.picture >= pictureCount;
        if (kept.size() == kMostCoverLayers || !placeable || secondTexts || missingPicture) {
            repaired = true;
            continue;
        }
        texts = texts || layer.type == LayerType::Texts;
        // What a layer of its type does not use is kept at its usual value, as a set reads it.
        if (layer.type == LayerType::Texts) layer = CoverLayer{LayerType::Texts, {}, 0, 0, 1, {}, {}};
        if (layer.type == LayerType::Picture) {
            layer.tracks.clear();
            layer.style = TextStyle{};
        }
        if (layer.type == LayerType::TrackList) {
            layer.picture = 0;
            layer.quarterTurns = 0;
            layer.opacity = 1;
        }
        if (layer.type == LayerType::Picture) {
            const int turns = ((layer.quarterTurns % 4) + 4) % 4;
            const double opacity = std::isfinite(layer.opacity) ? std::clamp(layer.opacity, 0.0, 1.0) : 1.0;
            if (turns != layer.quarterTurns || opacity != layer.opacity) repaired = true;
            layer.quarterTurns = turns;
            layer.opacity = opacity;
        }
        if (layer.type == LayerType::TrackList) {
            if (layer.tracks.size() > kMostTracks) {
                layer.tracks.resize(kMostTracks);
                repaired = true;
            }
            for (Track& track : layer.tracks) {
                const Track before = track;
                cutText(track.title, kLongestTrackText);
                cutText(track.artist, kLongestTrackText);
                track.number = std::clamp(track.number, 0, kHighestTrackNumber);
                if (!lengthFits(track.seconds)) track.seconds.reset();
                if (!(track == before)) repaired = true;
            }
            repairStyle(layer.style, repaired);
        }
        kept.push_back(std::move(layer));
    }
    design.layers = std::move(kept);
    const std::string strips = design.endStrips.text;
    cutText(design.endStrips.text, kLongestText);
    if (design.endStrips.text != strips) repaired = true;
    repairStyle(design.endStrips.style, repaired);
    return design;
}

std::vector<std::size_t> keepUsedPictures(CoverDesign& design, std::size_t pictureCount) {
    constexpr std::size_t kUnused = std::size_t(-1);
    std::vector<std::size_t> kept, newIndex(pictureCount, kUnused);
    for (CoverLayer& layer : design.layers) {
        if (layer.type != LayerType::Picture || layer.picture >= pictureCount) continue;
        if (newIndex[layer.picture] == kUnused) {
            newIndex[layer.picture] = kept.size();
            kept.push_back(layer.picture);
        }
        layer.picture = newIndex[layer.picture];
    }
    return kept;
}

} // namespace kavi
