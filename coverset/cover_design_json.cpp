// SPDX-License-Identifier: GPL-3.0-or-later
#include "coverset/cover_design_json.h"

#include "covers/cover_kinds.h"
#include "covers/track_list.h"
#include "coverset/cover_design_rules.h"
#include "coverset/cover_text_json.h"

#include <QJsonArray>

#include <cmath>

namespace kavi {

namespace {

constexpr const char* kFillNames[] = {"paper", "colour", "gradient"};
constexpr const char* kLayerNames[] = {"picture", "tracks", "texts"};

template <std::size_t N>
QString nameOf(const char* const (&names)[N], int index) {
    return QLatin1String(names[std::size_t(index)]);
}

template <std::size_t N>
int indexOfName(const char* const (&names)[N], const QJsonValue& value) {
    if (!value.isString()) return -1;
    for (std::size_t i = 0; i < N; ++i)
        if (value.toString() == QLatin1String(names[i])) return int(i);
    return -1;
}

// Reads the members of one JSON object, remembering the first member that is wrong.
class Members {
public:
    Members(const QJsonObject& object, std::string where) : object_(object), where_(std::move(where)) {}

    const std::string& problem() const { return problem_; }
    bool has(const char* key) const { return object_.contains(QLatin1String(key)); }
    QJsonValue value(const char* key) const { return object_.value(QLatin1String(key)); }
    void wrong(const char* key, const char* what) {
        if (problem_.empty()) problem_ = where_ + "'s " + key + " " + what;
    }

    void number(const char* key, double& to, double lowest, double highest) {
        const QJsonValue v = value(key);
        if (v.isUndefined()) return;
        if (!v.isDouble() || !std::isfinite(v.toDouble()) || v.toDouble() < lowest || v.toDouble() > highest)
            return wrong(key, "is not a number it can be");
        to = v.toDouble();
    }
    void whole(const char* key, int& to, int lowest, int highest) {
        double read = to;
        number(key, read, lowest, highest);
        if (read != std::floor(read)) return wrong(key, "is not a whole number");
        to = int(read);
    }
    void colour(const char* key, std::uint32_t& to) {
        const QJsonValue v = value(key);
        if (v.isUndefined()) return;
        const std::optional<std::uint32_t> rgb = v.isString() ? colourOfName(v.toString()) : std::nullopt;
        if (!rgb) return wrong(key, "is not a colour \"#rrggbb\"");
        to = *rgb;
    }
    void text(const char* key, std::string& to, std::size_t longest) {
        const QJsonValue v = value(key);
        if (v.isUndefined()) return;
        std::string utf8 = v.isString() ? v.toString().toStdString() : std::string();
        if (!v.isString() || utf8.size() > longest) return wrong(key, "is not a text it can be");
        to = std::move(utf8);
    }
    void length(const char* key, Length& to) {
        double twips = to.twips();
        number(key, twips, -Length::fromMillimetres(kFarthestLayerMillimetres).twips(),
               Length::fromMillimetres(kFarthestLayerMillimetres).twips());
        to = Length::fromTwips(twips);
    }

private:
    const QJsonObject& object_;
    std::string where_;
    std::string problem_;
};

QJsonObject trackToJson(const Track& track) {
    QJsonObject json{{QStringLiteral("number"), track.number},
                     {QStringLiteral("title"), QString::fromStdString(track.title)}};
    if (!track.artist.empty()) json.insert(QStringLiteral("artist"), QString::fromStdString(track.artist));
    if (track.seconds) json.insert(QStringLiteral("seconds"), *track.seconds);
    return json;
}

QJsonObject layerToJson(const CoverLayer& layer, const std::vector<QString>& pictureNames) {
    QJsonObject json{{QStringLiteral("type"), nameOf(kLayerNames, int(layer.type))}};
    if (layer.type == LayerType::Texts) return json;
    json.insert(QStringLiteral("x"), layer.box.left.twips());
    json.insert(QStringLiteral("y"), layer.box.top.twips());
    json.insert(QStringLiteral("width"), layer.box.width.twips());
    json.insert(QStringLiteral("height"), layer.box.height.twips());
    if (layer.type == LayerType::Picture) {
        json.insert(QStringLiteral("picture"),
                    layer.picture < pictureNames.size() ? pictureNames[layer.picture] : QString());
        json.insert(QStringLiteral("turns"), layer.quarterTurns);
        json.insert(QStringLiteral("opacity"), layer.opacity);
    } else {
        QJsonArray tracks;
        for (const Track& track : layer.tracks) tracks.append(trackToJson(track));
        json.insert(QStringLiteral("tracks"), tracks);
        // The style alone: a track list has no words or anchor of its own.
        QJsonObject style = textBoxToJson({{}, layer.style, {}});
        for (const char* key : {"text", "x", "y"}) style.remove(QLatin1String(key));
        json.insert(QStringLiteral("style"), style);
    }
    return json;
}

std::optional<Track> trackFromJson(const QJsonValue& value, const std::string& where) {
    if (!value.isObject()) return std::nullopt;
    const QJsonObject object = value.toObject();
    Members m(object, where);
    Track track;
    m.whole("number", track.number, 0, kHighestTrackNumber);
    m.text("title", track.title, kLongestTrackText);
    m.text("artist", track.artist, kLongestTrackText);
    if (m.has("seconds")) {
        double seconds = 0;
        m.number("seconds", seconds, 0, kLongestTrackSeconds);
        track.seconds = seconds;
    }
    if (!m.problem().empty()) return std::nullopt;
    return track;
}

// One layer; its picture's entry is added to `names` when not there yet.
std::optional<CoverLayer> layerFromJson(const QJsonValue& value, int kind, const std::string& where,
                                        std::vector<QString>& names, std::string& problem) {
    if (!value.isObject()) {
        problem = where + " is not a layer";
        return std::nullopt;
    }
    const QJsonObject object = value.toObject();
    Members m(object, where);
    CoverLayer layer;
    const int type = indexOfName(kLayerNames, m.value("type"));
    if (type < 0) {
        problem = where + " is of a type this Kavi does not know";
        return std::nullopt;
    }
    layer.type = LayerType(type);
    if (layer.type != LayerType::Texts) {
        m.length("x", layer.box.left);
        m.length("y", layer.box.top);
        m.length("width", layer.box.width);
        m.length("height", layer.box.height);
    }
    if (layer.type == LayerType::Picture) {
        const QJsonValue picture = m.value("picture");
        if (!picture.isString() || picture.toString().isEmpty()) m.wrong("picture", "names no entry");
        const auto found = std::find(names.begin(), names.end(), picture.toString());
        layer.picture = std::size_t(found - names.begin());
        if (found == names.end() && picture.isString() && names.size() < kMostCoverLayers)
            names.push_back(picture.toString());
        m.whole("turns", layer.quarterTurns, 0, 3);
        m.number("opacity", layer.opacity, 0, 1);
    } else if (layer.type == LayerType::TrackList) {
        const QJsonValue tracks = m.value("tracks");
        if (!tracks.isUndefined() && (!tracks.isArray() || std::size_t(tracks.toArray().size()) > kMostTracks))
            m.wrong("tracks", "is not a list of at most 999 tracks");
        for (const QJsonValue& track : tracks.toArray()) {
            std::optional<Track> read =
                trackFromJson(track, where + "'s track " + std::to_string(layer.tracks.size() + 1));
            if (!read) {
                m.wrong("tracks", "hold a track that cannot be");
                break;
            }
            layer.tracks.push_back(std::move(*read));
        }
        TextBox style{{}, layer.style, {}};
        const QJsonValue styleValue = m.value("style");
        if (!styleValue.isUndefined() &&
            (!styleValue.isObject() || !textBoxFromJson(styleValue, style, coverKind(kind).printSize)))
            m.wrong("style", "is not a text style");
        layer.style = style.style;
    }
    problem = m.problem();
    if (!problem.empty()) return std::nullopt;
    return layer;
}

} // namespace

QJsonObject coverDesignToJson(const CoverDesign& design, const std::vector<QString>& pictureNames) {
    const CoverBackground& b = design.background;
    QJsonObject json{{QStringLiteral("background"),
                      QJsonObject{{QStringLiteral("fill"), nameOf(kFillNames, int(b.fill))},
                                  {QStringLiteral("colour"), colourName(b.colour)},
                                  {QStringLiteral("endColour"), colourName(b.endColour)},
                                  {QStringLiteral("angle"), b.angleDegrees}}}};
    QJsonArray layers;
    for (const CoverLayer& layer : design.layers) layers.append(layerToJson(layer, pictureNames));
    json.insert(QStringLiteral("layers"), layers);
    if (!design.endStrips.text.empty()) json.insert(QStringLiteral("endStrips"), textBoxToJson(design.endStrips));
    return json;
}

DesignFromJson coverDesignFromJson(const QJsonValue& value, int kind) {
    DesignFromJson read;
    if (!value.isObject()) {
        read.problem = "it is not a design";
        return read;
    }
    const QJsonObject object = value.toObject();
    Members m(object, "the design");
    CoverDesign& design = read.design;
    const QJsonValue background = m.value("background");
    if (!background.isUndefined()) {
        if (!background.isObject()) {
            read.problem = "the background is not a background";
            return read;
        }
        const QJsonObject b = background.toObject();
        Members bm(b, "the background");
        if (bm.has("fill")) {
            const int fill = indexOfName(kFillNames, bm.value("fill"));
            if (fill < 0) bm.wrong("fill", "is not paper, colour or gradient");
            else design.background.fill = BackgroundFill(fill);
        }
        bm.colour("colour", design.background.colour);
        bm.colour("endColour", design.background.endColour);
        bm.whole("angle", design.background.angleDegrees, 0, 315);
        if (!bm.problem().empty()) {
            read.problem = bm.problem();
            return read;
        }
    }
    const QJsonValue layers = m.value("layers");
    if (!layers.isUndefined() && (!layers.isArray() || std::size_t(layers.toArray().size()) > kMostCoverLayers)) {
        read.problem = "the layers are not a list of at most " + std::to_string(kMostCoverLayers) + " layers";
        return read;
    }
    for (const QJsonValue& layer : layers.toArray()) {
        const std::string where = "layer " + std::to_string(design.layers.size() + 1);
        std::optional<CoverLayer> one = layerFromJson(layer, kind, where, read.pictureNames, read.problem);
        if (!one) return read;
        design.layers.push_back(std::move(*one));
    }
    const QJsonValue strips = m.value("endStrips");
    if (!strips.isUndefined()) {
        if (!hasEndStrips(kind)) {
            read.problem = "it has end strips, which only the CD Back has";
            return read;
        }
        if (!strips.isObject() || !textBoxFromJson(strips, design.endStrips, coverKind(kind).printSize)) {
            read.problem = "the end strips are not a text box";
            return read;
        }
    }
    if (const std::string problem = designProblem(design, read.pictureNames.size()); !problem.empty())
        read.problem = problem;
    return read;
}

} // namespace kavi
