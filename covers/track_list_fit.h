// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fitting a track list into its box on the cover: the lines keep the chosen size when they fit;
// otherwise the size drops in half-point steps down to 6 points, then the lines go into two
// columns (again from the chosen size down), and when even that is not enough, the result says
// which lines are left out or cut. Measuring the letters belongs to the outputs, so the fitting
// asks a callback for each line's width and the line spacing at a size.
#include "covers/length.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace kavi {

inline constexpr double kSmallestTrackListPoints = 6;
inline constexpr double kTrackListSizeStep = 0.5;
inline constexpr int kMostTrackListColumns = 2;

// A line as the font sets it: its advance, and the distance from one line's top to the next's.
struct MeasuredLine {
    Length width;
    Length lineSpacing;
};
using MeasureTrackLine = std::function<MeasuredLine(const std::string& line, double sizePoints)>;

struct PlacedTrackLine {
    std::size_t line = 0; // index into the lines fitted
    LengthRect rect; // its column's width and one line spacing high, on the cover
    bool cut = false; // the line is wider than its column, so its end is cut off
};

struct TrackListFit {
    double sizePoints = 0;
    int columns = 1;
    Length columnGap; // between two columns: one em of the size
    std::vector<PlacedTrackLine> placed; // in the lines' order, down the first column, then the second
    std::vector<std::size_t> leftOut; // lines with no room left, from the end of the list
    bool fits() const;
    std::size_t cutCount() const;
};

// Fits the lines into `box`, starting at `sizePoints` (at most the largest text size). A start
// size below 6 points is kept (the size never goes up) down to the smallest text size. Nothing
// fits a box with no room: every line is left out.
TrackListFit fitTrackList(const std::vector<std::string>& lines, const LengthRect& box, double sizePoints,
                          const MeasureTrackLine& measure);

// What a fit that is not whole says to the user: how many lines are left out and how many cut;
// empty when everything fits.
std::string trackListFitNotice(const TrackListFit& fit);

} // namespace kavi
