// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/safe_margin_setting.h"

#include "covers/safe_area.h"
#include "platform/files/profile.h"

#include <algorithm>
#include <cmath>

namespace kavi {

namespace {

const QString kSection = QStringLiteral("DESIGN");
const QString kKey = QStringLiteral("SafeMargin");
constexpr int kValueBuffer = 64;
const QString kMissing = QStringLiteral("\x01");

} // namespace

Length readSafeMargin(const QString& settingsFile) {
    const QString value = profile::getString(kSection, kKey, QString(), kValueBuffer, settingsFile).trimmed();
    bool isNumber = false;
    const double millimetres = value.toDouble(&isNumber);
    if (!isNumber || !std::isfinite(millimetres) || millimetres < 0 || millimetres > kLargestSafeMargin.millimetres())
        return kDefaultSafeMargin;
    return Length::fromMillimetres(millimetres);
}

bool writeSafeMargin(const QString& settingsFile, Length margin) {
    margin = std::clamp(margin, Length(), kLargestSafeMargin);
    const bool isDefault = std::abs((margin - kDefaultSafeMargin).millimetres()) < 0.005;
    if (isDefault && profile::getString(kSection, kKey, kMissing, kValueBuffer, settingsFile) == kMissing) return true;
    // Whole hundredths of a millimetre, without trailing zeros: "3", "2.5".
    const QString value = QString::number(std::round(margin.millimetres() * 100) / 100, 'g', 8);
    return profile::writeString(kSection, kKey, value, settingsFile);
}

} // namespace kavi
