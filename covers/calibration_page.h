// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page that "Calibrate Printer" prints, and the correction worked out from what the user
// measured on it. The page holds a 100 mm square, its top-left corner 30 mm from the sheet's left
// and top edges, and rulers in millimetres from the sheet's corner along its top and left edges.
#include "calibration.h"
#include "cut_marks.h"
#include "paper.h"

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
};

// The correction that undoes the printer's error seen in the measurement: pages drawn through it
// come out where they were meant to. Check its problem() before storing it: a measurement far
// from the page gives values out of range. A square measured as nothing gives a correction that
// problem() refuses.
Calibration correctionFor(const CalibrationMeasurement& measured);

} // namespace kavi
