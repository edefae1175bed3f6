// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page that "Calibrate Printer" prints, and the correction worked out from what the user
// measured on it. The page holds a 100 mm square, its top-left corner 30 mm from the sheet's left
// and top edges, and rulers in millimetres from the sheet's corner along its top and left edges.
#include "covers/calibration.h"
#include "covers/cut_marks.h"
#include "covers/paper.h"

#include <string>
#include <vector>

namespace kavi {

inline constexpr double kCalibrationSquareMillimetres = 100;
inline constexpr double kCalibrationSquareCornerMillimetres = 30;

// The page's lines on the sheet (as the page is drawn); ticks outside the printable area are left out.
std::vector<MarkLine> calibrationPageLines(Paper paper, Orientation orientation, const LengthRect& printable);

// What the user measured on the printed page, in millimetres: the square's width and height, and
// how far its top-left corner lies from the paper's left and top edges.
struct CalibrationMeasurement {
    double squareWidth = kCalibrationSquareMillimetres;
    double squareHeight = kCalibrationSquareMillimetres;
    double cornerLeft = kCalibrationSquareCornerMillimetres;
    double cornerTop = kCalibrationSquareCornerMillimetres;

    // Empty when every value lies where a printer Kavi corrects puts it: the square's sides 90 to
    // 110 mm (a scale of 90 to 110 %), its corner 10 to 50 mm from the paper's edges (up to 20 mm
    // off). Otherwise a sentence naming the first value that does not, as measured, with its range.
    std::string problem() const;
};

// The ranges that problem() checks, in millimetres as measured.
struct MeasuredRange {
    double least, most;
};
MeasuredRange measuredSideRange();
MeasuredRange measuredCornerRange();

// The correction that undoes the printer's error seen in the measurement: pages drawn through it
// come out where they were meant to. Every measurement that CalibrationMeasurement::problem()
// accepts gives a correction that Calibration::problem() accepts. A square measured as nothing
// gives a correction that problem() refuses.
Calibration correctionFor(const CalibrationMeasurement& measured);

} // namespace kavi
