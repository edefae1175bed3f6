// SPDX-License-Identifier: GPL-3.0-or-later
#include "coverset/cover_set_discs_json.h"

#include <QJsonArray>

#include <cmath>

namespace kavi {

namespace {

constexpr int kMostStockLabels = 200;
constexpr double kLargestSheetMillimetres = 2000;

QJsonValue millimetres(Length l) { return std::round(l.millimetres() * 10000) / 10000; }

// A length in millimetres from 0 to the largest sheet; none for anything else.
std::optional<Length> lengthOf(const QJsonValue& value) {
    if (!value.isDouble()) return std::nullopt;
    const double mm = value.toDouble();
    if (!std::isfinite(mm) || mm < 0 || mm > kLargestSheetMillimetres) return std::nullopt;
    return Length::fromMillimetres(mm);
}

QString colourText(std::uint32_t rgb) { return QStringLiteral("#%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0')); }

std::optional<std::uint32_t> colourOf(const QString& text) {
    if (text.size() != 7 || text[0] != QLatin1Char('#')) return std::nullopt;
    bool ok = false;
    const uint value = text.mid(1).toUInt(&ok, 16);
    if (!ok) return std::nullopt;
    return std::uint32_t(value);
}

QJsonObject stockToJson(const DiscLabelStock& stock) {
    QJsonArray centres;
    for (const LengthPoint& c : stock.centres) centres.append(QJsonArray{millimetres(c.x), millimetres(c.y)});
    QJsonObject json{{QStringLiteral("brand"), QString::fromStdString(stock.brand)},
                     {QStringLiteral("part"), QString::fromStdString(stock.part)},
                     {QStringLiteral("description"), QString::fromStdString(stock.description)},
                     {QStringLiteral("paper"), QString::fromStdString(stock.paperId)},
                     {QStringLiteral("width"), millimetres(stock.paper.width)},
                     {QStringLiteral("height"), millimetres(stock.paper.height)},
                     {QStringLiteral("outer"), millimetres(stock.outerDiameter())},
                     {QStringLiteral("hole"), millimetres(stock.holeDiameter())},
                     {QStringLiteral("centres"), centres}};
    if (stock.cutWidth) json.insert(QStringLiteral("cutWidth"), millimetres(*stock.cutWidth));
    if (stock.cutHeight) json.insert(QStringLiteral("cutHeight"), millimetres(*stock.cutHeight));
    return json;
}

std::optional<DiscLabelStock> stockFromJson(const QJsonObject& json) {
    DiscLabelStock stock;
    stock.brand = json.value(QStringLiteral("brand")).toString().toStdString();
    stock.part = json.value(QStringLiteral("part")).toString().toStdString();
    stock.description = json.value(QStringLiteral("description")).toString().toStdString();
    stock.paperId = json.value(QStringLiteral("paper")).toString().toStdString();
    const auto width = lengthOf(json.value(QStringLiteral("width")));
    const auto height = lengthOf(json.value(QStringLiteral("height")));
    const auto outer = lengthOf(json.value(QStringLiteral("outer")));
    const auto hole = lengthOf(json.value(QStringLiteral("hole")));
    if (stock.brand.empty() || !width || !height || !outer || !hole || *width <= Length() || *height <= Length() ||
        *outer <= Length() || *hole >= *outer)
        return std::nullopt;
    stock.paper = {*width, *height};
    stock.outerRadius = *outer / 2;
    stock.holeRadius = *hole / 2;
    for (const char* name : {"cutWidth", "cutHeight"}) {
        const QJsonValue value = json.value(QLatin1String(name));
        if (value.isUndefined()) continue;
        const auto cut = lengthOf(value);
        if (!cut || *cut <= Length()) return std::nullopt;
        (name[3] == 'W' ? stock.cutWidth : stock.cutHeight) = *cut;
    }
    const QJsonArray centres = json.value(QStringLiteral("centres")).toArray();
    if (centres.isEmpty() || centres.size() > kMostStockLabels) return std::nullopt;
    for (const QJsonValue& value : centres) {
        const QJsonArray pair = value.toArray();
        const auto x = lengthOf(pair.at(0)), y = lengthOf(pair.at(1));
        if (pair.size() != 2 || !x || !y) return std::nullopt;
        stock.centres.push_back({*x, *y});
    }
    return stock;
}

} // namespace

QJsonObject discsToJson(const CoverSetDiscs& discs, const std::array<QString, kDiscKindCount>& pictureNames) {
    QJsonArray labels;
    for (DiscKind kind : allDiscKinds()) {
        const CoverSetDisc& label = discs.labels[kind];
        QJsonObject json{{QStringLiteral("kind"), QLatin1String(discKind(kind).commandName)},
                         {QStringLiteral("fit"), QLatin1String(fitModeName(label.fit).data())},
                         {QStringLiteral("outer"), millimetres(label.geometry.outer)},
                         {QStringLiteral("hole"), millimetres(label.geometry.hole)},
                         {QStringLiteral("title"), QString::fromStdString(label.text.title)},
                         {QStringLiteral("subtitle"), QString::fromStdString(label.text.subtitle)},
                         {QStringLiteral("font"), QString::fromStdString(label.text.fontFamily)},
                         {QStringLiteral("titleSize"), label.text.titlePoints},
                         {QStringLiteral("subtitleSize"), label.text.subtitlePoints},
                         {QStringLiteral("colour"), colourText(label.text.rgb)}};
        if (!pictureNames[std::size_t(kind)].isEmpty())
            json.insert(QStringLiteral("picture"), pictureNames[std::size_t(kind)]);
        labels.append(json);
    }
    QJsonObject json{{QStringLiteral("labels"), labels},
                     {QStringLiteral("startLabel"), discs.startLabel},
                     {QStringLiteral("copies"), discs.copies}};
    if (discs.ticked) json.insert(QStringLiteral("ticked"), QLatin1String(discKind(*discs.ticked).commandName));
    if (discs.stock) json.insert(QStringLiteral("stock"), stockToJson(*discs.stock));
    return json;
}

std::optional<DiscsFromJson> discsFromJson(const QJsonObject& json) {
    DiscsFromJson read;
    const QJsonValue ticked = json.value(QStringLiteral("ticked"));
    if (!ticked.isUndefined()) {
        read.discs.ticked = discKindOfName(ticked.toString().toStdString());
        if (!read.discs.ticked) return std::nullopt;
    }
    const QJsonValue labels = json.value(QStringLiteral("labels"));
    if (!labels.isUndefined() && (!labels.isArray() || labels.toArray().size() > kDiscKindCount)) return std::nullopt;
    for (const QJsonValue& value : labels.toArray()) {
        const QJsonObject label = value.toObject();
        const std::optional<DiscKind> kind =
            discKindOfName(label.value(QStringLiteral("kind")).toString().toStdString());
        if (!kind) return std::nullopt;
        CoverSetDisc& disc = read.discs.labels[*kind];
        if (const QJsonValue fit = label.value(QStringLiteral("fit")); !fit.isUndefined()) {
            const auto mode = fitModeFromName(fit.toString().toStdString());
            if (!mode) return std::nullopt;
            disc.fit = *mode;
        }
        const auto outer = lengthOf(label.value(QStringLiteral("outer")));
        const auto hole = lengthOf(label.value(QStringLiteral("hole")));
        if (outer && hole) disc.geometry = {*outer, *hole};
        if (!discGeometryError(disc.geometry).empty()) return std::nullopt;
        disc.text.title = label.value(QStringLiteral("title")).toString().left(500).toStdString();
        disc.text.subtitle = label.value(QStringLiteral("subtitle")).toString().left(500).toStdString();
        const QString font = label.value(QStringLiteral("font")).toString();
        if (!font.isEmpty()) disc.text.fontFamily = font.toStdString();
        disc.text.titlePoints = std::clamp(label.value(QStringLiteral("titleSize")).toDouble(14), 4.0, 72.0);
        disc.text.subtitlePoints = std::clamp(label.value(QStringLiteral("subtitleSize")).toDouble(10), 4.0, 72.0);
        if (const auto colour = colourOf(label.value(QStringLiteral("colour")).toString())) disc.text.rgb = *colour;
        if (const QJsonValue picture = label.value(QStringLiteral("picture")); !picture.isUndefined()) {
            if (!picture.isString() || picture.toString().isEmpty()) return std::nullopt;
            read.pictureNames[std::size_t(*kind)] = picture.toString();
        }
    }
    if (const QJsonValue stock = json.value(QStringLiteral("stock")); !stock.isUndefined()) {
        read.discs.stock = stock.isObject() ? stockFromJson(stock.toObject()) : std::nullopt;
        if (!read.discs.stock) return std::nullopt;
    }
    const int labelsOnSheet = read.discs.stock ? int(read.discs.stock->centres.size()) : 1;
    read.discs.startLabel = json.value(QStringLiteral("startLabel")).toInt(1);
    read.discs.copies = json.value(QStringLiteral("copies")).toInt(1);
    if (read.discs.startLabel < 1 || read.discs.startLabel > labelsOnSheet || read.discs.copies < 1 ||
        read.discs.copies > 1000)
        return std::nullopt;
    return read;
}

} // namespace kavi
