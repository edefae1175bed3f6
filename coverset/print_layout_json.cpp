// SPDX-License-Identifier: GPL-3.0-or-later
#include "coverset/print_layout_json.h"

#include <array>
#include <utility>

namespace kavi {

namespace {

template <typename T, std::size_t N>
using Names = std::array<std::pair<T, const char*>, N>;

constexpr Names<PaperChoice, 2> kPapers{{{PaperChoice::LetterAndLegal, "us"}, {PaperChoice::A4, "a4"}}};
constexpr Names<Placement, 3> kPlacements{{{Placement::AtPrintableCorner, "corner"},
                                           {Placement::CentredOnSheet, "centre"},
                                           {Placement::MovedInForMarks, "marks"}}};
constexpr Names<LongCaseSheet, 2> kHdSheets{{{LongCaseSheet::Letter, "letter"}, {LongCaseSheet::Legal, "legal"}}};
constexpr Names<DsSheetOnA4, 2> kDsSheets{{{DsSheetOnA4::A4, "a4"}, {DsSheetOnA4::Legal, "legal"}}};

template <typename T, std::size_t N>
QString nameOf(const Names<T, N>& names, T value) {
    for (const auto& [v, name] : names)
        if (v == value) return QLatin1String(name);
    return {};
}

// Reads the named field into value: false when it is there but not one of the names.
template <typename T, std::size_t N>
bool readName(const QJsonObject& json, const char* field, const Names<T, N>& names, T& value) {
    const QJsonValue v = json.value(QLatin1String(field));
    if (v.isUndefined()) return true;
    for (const auto& [known, name] : names)
        if (v.isString() && v.toString() == QLatin1String(name)) {
            value = known;
            return true;
        }
    return false;
}

bool readBool(const QJsonObject& json, const char* field, bool& value) {
    const QJsonValue v = json.value(QLatin1String(field));
    if (v.isUndefined()) return true;
    if (!v.isBool()) return false;
    value = v.toBool();
    return true;
}

// The bleed in millimetres: 0, 2 or 3 (a whole number, though written as 2.0 by some tools).
bool readBleed(const QJsonObject& json, Bleed& value) {
    const QJsonValue v = json.value(QLatin1String("bleed"));
    if (v.isUndefined()) return true;
    if (!v.isDouble()) return false;
    const std::optional<Bleed> bleed = bleedOfMillimetres(v.toDouble());
    if (!bleed) return false;
    value = *bleed;
    return true;
}

} // namespace

QJsonObject printLayoutToJson(const CoverSetPrintLayout& layout) {
    QJsonObject json{{QStringLiteral("paper"), nameOf(kPapers, layout.paper)},
                     {QStringLiteral("marks"), layout.cutMarks},
                     {QStringLiteral("place"), nameOf(kPlacements, layout.choices.placement)},
                     {QStringLiteral("hdSheet"), nameOf(kHdSheets, layout.choices.sheets.hdAndBluRay)},
                     {QStringLiteral("dsSheet"), nameOf(kDsSheets, layout.choices.sheets.dsOnA4)},
                     {QStringLiteral("together"), layout.choices.together}};
    // Written only when there is one, so a set without bleed is written as before.
    if (layout.choices.bleed != Bleed::Off)
        json.insert(QStringLiteral("bleed"), bleedMillimetres(layout.choices.bleed));
    return json;
}

std::optional<CoverSetPrintLayout> printLayoutFromJson(const QJsonObject& json) {
    CoverSetPrintLayout layout;
    if (!readName(json, "paper", kPapers, layout.paper) || !readBool(json, "marks", layout.cutMarks) ||
        !readName(json, "place", kPlacements, layout.choices.placement) ||
        !readName(json, "hdSheet", kHdSheets, layout.choices.sheets.hdAndBluRay) ||
        !readName(json, "dsSheet", kDsSheets, layout.choices.sheets.dsOnA4) ||
        !readBool(json, "together", layout.choices.together) || !readBleed(json, layout.choices.bleed))
        return std::nullopt;
    return layout;
}

} // namespace kavi
