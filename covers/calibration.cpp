// SPDX-License-Identifier: GPL-3.0-or-later
#include "calibration.h"

#include <cmath>
#include <cstdio>

namespace kavi {

namespace {

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

} // namespace

std::string Calibration::problem() const {
    const double offsets[] = {offsetXMillimetres, offsetYMillimetres};
    const double scales[] = {scaleXPercent, scaleYPercent};
    for (int i = 0; i < 2; ++i) {
        const char* axis = i == 0 ? "horizontal" : "vertical";
        // NaN fails both comparisons, so it is refused too.
        if (!(std::fabs(offsets[i]) <= kMaxOffsetMillimetres))
            return std::string("The ") + axis + " offset of " + number(offsets[i]) + " mm is outside -" +
                number(kMaxOffsetMillimetres) + " to " + number(kMaxOffsetMillimetres) + " mm.";
        if (!(scales[i] >= kMinScalePercent && scales[i] <= kMaxScalePercent))
            return std::string("The ") + axis + " scale of " + number(scales[i]) + "% is outside " +
                number(kMinScalePercent) + " to " + number(kMaxScalePercent) + "%.";
    }
    return {};
}

} // namespace kavi
