// SPDX-License-Identifier: GPL-3.0-or-later
#include "coverset/cover_text_json.h"

#include "covers/cover_kinds.h"

#include <QJsonArray>
#include <QString>

#include <algorithm>
#include <cmath>

namespace kavi {

namespace {

constexpr const char* kAlignNames[] = {"left", "centre", "right"};
constexpr const char* kEffectNames[] = {"none", "outline", "shadow"};

template <std::size_t N>
int indexOfName(const char* const (&names)[N], const QString& name) {
    for (std::size_t i = 0; i < N; ++i)
        if (name == QLatin1String(names[i])) return int(i);
    return -1;
}

} // namespace

QString colourName(std::uint32_t rgb) { return QStringLiteral("#%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0')); }

std::optional<std::uint32_t> colourOfName(const QString& name) {
    if (name.size() != 7 || !name.startsWith(QLatin1Char('#'))) return std::nullopt;
    bool ok = false;
    const uint value = name.mid(1).toUInt(&ok, 16);
    return ok ? std::optional<std::uint32_t>(value) : std::nullopt;
}

QJsonObject textBoxToJson(const TextBox& box) {
    const TextStyle& s = box.style;
    return QJsonObject{
        {QStringLiteral("text"), QString::fromStdString(box.text)},
        {QStringLiteral("font"), QString::fromStdString(s.family)},
        {QStringLiteral("size"), s.sizePoints},
        {QStringLiteral("colour"), colourName(s.colour)},
        {QStringLiteral("bold"), s.bold},
        {QStringLiteral("italic"), s.italic},
        {QStringLiteral("align"), QLatin1String(kAlignNames[int(s.align)])},
        {QStringLiteral("effect"), QLatin1String(kEffectNames[int(s.effect)])},
        {QStringLiteral("effectColour"), colourName(s.effectColour)},
        {QStringLiteral("x"), box.anchor.x.twips()},
        {QStringLiteral("y"), box.anchor.y.twips()},
    };
}

bool textBoxFromJson(const QJsonValue& value, TextBox& box, LengthSize cover) {
    if (value.isUndefined()) return true;
    if (!value.isObject()) return false;
    const QJsonObject o = value.toObject();
    TextStyle& s = box.style;
    const auto text = [&o](const char* key, std::string& to, std::size_t longest) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) return true;
        if (!v.isString()) return false;
        std::string utf8 = v.toString().toStdString();
        if (utf8.size() > longest) return false;
        to = std::move(utf8);
        return true;
    };
    const auto number = [&o](const char* key, double& to) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) return true;
        if (!v.isDouble() || !std::isfinite(v.toDouble())) return false;
        to = v.toDouble();
        return true;
    };
    const auto flag = [&o](const char* key, bool& to) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) return true;
        if (!v.isBool()) return false;
        to = v.toBool();
        return true;
    };
    const auto colour = [&o](const char* key, std::uint32_t& to) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) return true;
        const auto rgb = v.isString() ? colourOfName(v.toString()) : std::nullopt;
        if (rgb) to = *rgb;
        return rgb.has_value();
    };
    const auto choice = [&o](const char* key, const auto& names, auto& to) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) return true;
        const int index = v.isString() ? indexOfName(names, v.toString()) : -1;
        if (index >= 0) to = std::remove_reference_t<decltype(to)>(index);
        return index >= 0;
    };
    double x = box.anchor.x.twips(), y = box.anchor.y.twips();
    const bool ok = text("text", box.text, kLongestText) && text("font", s.family, 200) &&
        number("size", s.sizePoints) && colour("colour", s.colour) && flag("bold", s.bold) &&
        flag("italic", s.italic) && choice("align", kAlignNames, s.align) && choice("effect", kEffectNames, s.effect) &&
        colour("effectColour", s.effectColour) && number("x", x) && number("y", y);
    if (!ok) return false;
    s.sizePoints = std::clamp(s.sizePoints, kSmallestTextPoints, kLargestTextPoints);
    box.anchor = {Length::fromTwips(std::clamp(x, 0.0, cover.width.twips())),
                  Length::fromTwips(std::clamp(y, 0.0, cover.height.twips()))};
    return true;
}

QJsonObject coverTextToJson(const CoverText& text) {
    QJsonArray boxes;
    for (const TextBox& box : text.boxes) boxes.append(textBoxToJson(box));
    return QJsonObject{{QStringLiteral("title"), textBoxToJson(text.title)},
                       {QStringLiteral("subtitle"), textBoxToJson(text.subtitle)},
                       {QStringLiteral("spine"), textBoxToJson(text.spine)},
                       {QStringLiteral("boxes"), boxes}};
}

std::optional<CoverText> coverTextFromJson(const QJsonObject& json, int kind) {
    const LengthSize cover = coverKind(kind).printSize;
    CoverText text = emptyCoverText(kind);
    if (!textBoxFromJson(json.value(QStringLiteral("title")), text.title, cover) ||
        !textBoxFromJson(json.value(QStringLiteral("subtitle")), text.subtitle, cover) ||
        !textBoxFromJson(json.value(QStringLiteral("spine")), text.spine, cover))
        return std::nullopt;
    const QJsonValue boxes = json.value(QStringLiteral("boxes"));
    if (boxes.isUndefined()) return text;
    if (!boxes.isArray() || boxes.toArray().size() > kMostTextBoxes) return std::nullopt;
    for (const QJsonValue& value : boxes.toArray()) {
        TextBox box;
        box.anchor = newBoxAnchor(kind);
        if (!value.isObject() || !textBoxFromJson(value, box, cover)) return std::nullopt;
        text.boxes.push_back(std::move(box));
    }
    return text;
}

} // namespace kavi
