// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A cover set's print layout as the "print" object of its description (see
// docs/cover-set-format.md).
#include "coverset/cover_set_print_layout.h"

#include <QJsonObject>

#include <optional>

namespace kavi {

QJsonObject printLayoutToJson(const CoverSetPrintLayout& layout);
// None when a field has the wrong type or a value this reader does not know; missing fields keep
// their usual values.
std::optional<CoverSetPrintLayout> printLayoutFromJson(const QJsonObject& json);

} // namespace kavi
