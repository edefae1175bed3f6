// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The safe margin a cover set was designed with, as the "design" object of its description:
// {"safeMargin": 3}, in millimetres (see docs/cover-set-format.md).
#include "covers/length.h"

#include <QJsonObject>

#include <optional>

namespace kavi {

// Adds the "design" object to the description when the set has a safe margin; nothing otherwise,
// so a set without one is written as before.
void insertSafeMargin(QJsonObject& description, const std::optional<Length>& safeMargin);

// The description's safe margin: none when the set has none; false when "design" or its
// "safeMargin" has the wrong type, or a margin below 0 or above 20 mm (a damaged set).
bool readSafeMargin(const QJsonObject& description, std::optional<Length>& safeMargin);

} // namespace kavi
