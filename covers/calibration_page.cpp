// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/calibration_page.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

namespace kavi {

namespace {

// Ruler ticks: every millimetre short, every 5 mm longer, every 10 mm longest.
Length tickLength(int mm) {
    if (mm % 10 == 0) return Length::fromMillimetres(6);
    if (mm % 5 == 0) return Length::fromMillimetres(4);
    return Length::fromMillimetres(2);
}

bool within(const LengthPoint& p, const LengthRect& r) {
    return p.x >= r.left && p.x <= r.right() && p.y >= r.top && p.y <= r.bottom();
}

} // namespace

std::vector<MarkLine> calibrationPageLines(Paper paper, Orientation orientation, const LengthRect& printable) {
    const LengthSize sheet = sheetSize(paper, orientation);
    std::vector<MarkLine> lines;
    const auto add = [&](LengthPoint a, LengthPoint b) {
        if (within(a, printable) && within(b, printable)) lines.push_back({a, b});
    };
    const Length corner = Length::fromMillimetres(kCalibrationSquareCornerMillimetres);
    const Length side = Length::fromMillimetres(kCalibrationSquareMillimetres);
    add({corner, corner}, {corner + side, corner});
    add({corner + side, corner}, {corner + side, corner + side});
    add({corner + side, corner + side}, {corner, corner + side});
    add({corner, corner + side}, {corner, corner});

    // The rulers run along the printable area's top and left edges, numbered from the sheet's corner.
    for (int mm = 0; Length::fromMillimetres(mm) <= sheet.width; ++mm) {
        const Length x = Length::fromMillimetres(mm);
        add({x, printable.top}, {x, printable.top + tickLength(mm)});
    }
    for (int mm = 0; Length::fromMillimetres(mm) <= sheet.height; ++mm) {
        const Length y = Length::fromMillimetres(mm);
        add({printable.left, y}, {printable.left + tickLength(mm), y});
    }
    return lines;
}

namespace {

std::string millimetres(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

// The value's sentence, or "" when it lies in its range.
std::string outside(const char* what, double value, MeasuredRange range) {
    if (std::isnan(value)) return std::string("The ") + what + " is not a number of millimetres.";
    if (!(value > 0))
        return std::string("The ") + what + " you entered is " + millimetres(value) +
            " mm: measure it on the printed page.";
    if (value >= range.least && value <= range.most) return {};
    return std::string("The ") + what + " you measured, " + millimetres(value) + " mm, is outside " +
        millimetres(range.least) + " to " + millimetres(range.most) + " mm.";
}

} // namespace

MeasuredRange measuredSideRange() {
    return {kCalibrationSquareMillimetres * Calibration::kMinScalePercent / 100,
            kCalibrationSquareMillimetres * Calibration::kMaxScalePercent / 100};
}

MeasuredRange measuredCornerRange() {
    return {kCalibrationSquareCornerMillimetres - Calibration::kMaxOffsetMillimetres,
            kCalibrationSquareCornerMillimetres + Calibration::kMaxOffsetMillimetres};
}

std::string CalibrationMeasurement::problem() const {
    const std::pair<const char*, double> sides[] = {{"square width", squareWidth}, {"square height", squareHeight}};
    for (const auto& [what, value] : sides)
        if (std::string p = outside(what, value, measuredSideRange()); !p.empty()) return p;
    const std::pair<const char*, double> corners[] = {{"corner's distance from the left edge", cornerLeft},
                                                      {"corner's distance from the top edge", cornerTop}};
    for (const auto& [what, value] : corners)
        if (std::string p = outside(what, value, measuredCornerRange()); !p.empty()) return p;
    return {};
}

Calibration correctionFor(const CalibrationMeasurement& m) {
    // The printer puts a point meant at p at p * s + o. From the square, s = measured / 100; from
    // its corner, o = corner - 30 * s. Drawing at p * (1 / s) - o / s makes it land at p.
    const auto axis = [](double measuredSide, double measuredCorner, double& offset, double& scalePercent) {
        if (!(measuredSide > 0)) {
            offset = 0;
            scalePercent = std::numeric_limits<double>::infinity(); // refused by problem()
            return;
        }
        const double s = measuredSide / kCalibrationSquareMillimetres;
        const double o = measuredCorner - kCalibrationSquareCornerMillimetres * s;
        scalePercent = 100 / s;
        offset = -o / s;
    };
    Calibration c;
    axis(m.squareWidth, m.cornerLeft, c.offsetXMillimetres, c.scaleXPercent);
    axis(m.squareHeight, m.cornerTop, c.offsetYMillimetres, c.scaleYPercent);
    return c;
}

} // namespace kavi
