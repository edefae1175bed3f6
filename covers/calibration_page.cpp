// SPDX-License-Identifier: GPL-3.0-or-later
#include "calibration_page.h"

#include <cmath>
#include <limits>

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
