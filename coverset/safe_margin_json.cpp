// SPDX-License-Identifier: GPL-3.0-or-later
#include "coverset/safe_margin_json.h"

#include "covers/safe_area.h"

#include <cmath>

namespace kavi {

namespace {

const QString kDesign = QStringLiteral("design");
const QString kSafeMargin = QStringLiteral("safeMargin");

} // namespace

void insertSafeMargin(QJsonObject& description, const std::optional<Length>& safeMargin) {
    if (!safeMargin) return;
    // To a hundredth of a millimetre, so 3 mm is written as 3 and not as 2.9999999999999996.
    const double millimetres = std::round(safeMargin->millimetres() * 100) / 100;
    description.insert(kDesign, QJsonObject{{kSafeMargin, millimetres}});
}

bool readSafeMargin(const QJsonObject& description, std::optional<Length>& safeMargin) {
    safeMargin.reset();
    const QJsonValue design = description.value(kDesign);
    if (design.isUndefined()) return true;
    if (!design.isObject()) return false;
    const QJsonValue margin = design.toObject().value(kSafeMargin);
    if (margin.isUndefined()) return true;
    if (!margin.isDouble()) return false;
    const double millimetres = margin.toDouble();
    if (!(millimetres >= 0) || millimetres > kLargestSafeMargin.millimetres()) return false;
    safeMargin = Length::fromMillimetres(millimetres);
    return true;
}

} // namespace kavi
