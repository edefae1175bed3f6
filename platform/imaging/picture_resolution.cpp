// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imaging/picture_resolution.h"

#include <cmath>

namespace kavi {

namespace {

constexpr double kMetresPerInch = 0.0254;

int dotsPerMetre(double dpi) { return int(std::lround(dpi / kMetresPerInch)); }

} // namespace

void setPictureDpi(QImage& picture, double dpiX, double dpiY) {
    if (dpiX > 0) picture.setDotsPerMeterX(dotsPerMetre(dpiX));
    if (dpiY > 0) picture.setDotsPerMeterY(dotsPerMetre(dpiY));
}

std::optional<QSize> knownDotsPerMetre(const QImage& picture) {
    if (picture.isNull()) return std::nullopt;
    // A new picture takes the screen's resolution; one that still has it carries none of its own.
    static const QImage fresh(1, 1, QImage::Format_RGB32);
    const QSize dots(picture.dotsPerMeterX(), picture.dotsPerMeterY());
    if (dots.width() <= 0 || dots.height() <= 0) return std::nullopt;
    if (dots == QSize(fresh.dotsPerMeterX(), fresh.dotsPerMeterY())) return std::nullopt;
    return dots;
}

} // namespace kavi
