// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/disc_sheet_plan.h"

#include <cmath>
#include <numbers>

namespace kavi {

DiscSheetPlan planDiscLabels(const DiscLabelStock& stock, int startLabel, int copies) {
    DiscSheetPlan plan;
    const int perSheet = int(stock.centres.size());
    if (perSheet == 0) {
        plan.error = stock.name() + " has no labels";
        return plan;
    }
    if (startLabel < 1 || startLabel > perSheet) {
        plan.error = "the first label must be from 1 to " + std::to_string(perSheet) + " on " + stock.name();
        return plan;
    }
    if (copies < 1) {
        plan.error = "at least one copy is needed";
        return plan;
    }
    int sheet = 0;
    int label = startLabel - 1;
    for (int copy = 0; copy < copies; ++copy) {
        if (label == perSheet) {
            ++sheet;
            label = 0;
        }
        plan.places.push_back({sheet, label, stock.centres[std::size_t(label)]});
        ++label;
    }
    plan.sheets = sheet + 1;
    return plan;
}

std::vector<ArcLetter> placeOnArc(const std::vector<Length>& advances, Length radius, ArcSide side) {
    std::vector<ArcLetter> letters;
    if (radius <= Length()) return letters;
    Length run;
    for (Length a : advances) run += a;
    // Angles on screen: 0 points right, a quarter turn points down. The top's middle is at -90 degrees and
    // reading to the right goes clockwise there; the bottom's middle is at +90 and reading goes anticlockwise.
    const double middle = side == ArcSide::Top ? -std::numbers::pi / 2 : std::numbers::pi / 2;
    const double direction = side == ArcSide::Top ? 1 : -1;
    Length along = -run / 2;
    for (Length a : advances) {
        const double angle = middle + direction * ((along + a / 2) / radius);
        letters.push_back(
            {{radius * std::cos(angle), radius * std::sin(angle)}, (angle - middle) * 180 / std::numbers::pi});
        along += a;
    }
    return letters;
}

} // namespace kavi
