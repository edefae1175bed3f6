// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A cover's texts in the cover-set description, positions in twips from the cover's top-left.
#include "covers/cover_text.h"

#include <QJsonObject>

#include <optional>

namespace kavi {

QJsonObject coverTextToJson(const CoverText& text);

// The texts of the kind's cover; none when a value has the wrong type or is out of range. Missing
// values keep their usual ones, sizes are brought inside the drawable range and places onto the
// cover.
std::optional<CoverText> coverTextFromJson(const QJsonObject& json, int kind);

} // namespace kavi
