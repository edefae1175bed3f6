// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/calibration.h"

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
        if (!(std::fabs(offsets[i]) <= kMaxCorrectionOffsetMillimetres))
            return std::string("The ") + axis + " offset of " + number(offsets[i]) + " mm is outside -" +
                number(kMaxCorrectionOffsetMillimetres) + " to " + number(kMaxCorrectionOffsetMillimetres) + " mm.";
        if (!(scales[i] >= kMinCorrectionScalePercent && scales[i] <= kMaxCorrectionScalePercent))
            return std::string("The ") + axis + " scale of " + number(scales[i]) + "% is outside " +
                number(kMinCorrectionScalePercent) + " to " + number(kMaxCorrectionScalePercent) + "%.";
    }
    return {};
}

} // namespace kavi
