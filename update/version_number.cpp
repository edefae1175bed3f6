// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/version_number.h"

#include <QRegularExpression>
#include <cmath>

namespace kavi {

std::optional<std::int16_t> versionNumber(const QString& text) {
    static const QRegularExpression decimal(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)$"));
    const QString t = text.trimmed();
    if (!decimal.match(t).hasMatch()) return std::nullopt;
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok) return std::nullopt;
    const double whole = std::nearbyint(value); // the default rounding mode sends halves to even
    if (!(whole >= -32768.0 && whole <= 32767.0)) return std::nullopt;
    return std::int16_t(whole);
}

} // namespace kavi
