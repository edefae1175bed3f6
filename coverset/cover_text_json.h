// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A cover's texts in the cover-set description, positions in twips from the cover's top-left.
#include "covers/cover_text.h"

#include <QJsonObject>

#include <QJsonValue>
#include <QString>

#include <cstdint>
#include <optional>

namespace kavi {

QJsonObject coverTextToJson(const CoverText& text);

// One text box: its words, style and place.
QJsonObject textBoxToJson(const TextBox& box);
// Reads the values present over the box's usual ones; false when one has the wrong type. Sizes
// are brought inside the drawable range and the place onto a cover of size `cover`.
bool textBoxFromJson(const QJsonValue& value, TextBox& box, LengthSize cover);

// A colour as "#rrggbb", and back; none for any other text.
QString colourName(std::uint32_t rgb);
std::optional<std::uint32_t> colourOfName(const QString& name);

// The texts of the kind's cover; none when a value has the wrong type or is out of range. Missing
// values keep their usual ones, sizes are brought inside the drawable range and places onto the
// cover.
std::optional<CoverText> coverTextFromJson(const QJsonObject& json, int kind);

} // namespace kavi
