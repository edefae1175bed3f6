// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/track_list_fit.h"

#include "covers/cover_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace kavi {

namespace {

// Rounding in the measures must not push a line that fits exactly out of its box.
constexpr double kSlackTwips = 0.01;

struct Measures {
    std::vector<Length> widths;
    Length lineSpacing;
};

// The sizes tried, from the start down: in half-point steps to the smallest, which is always tried.
std::vector<double> sizesFrom(double start) {
    if (!std::isfinite(start) || start <= kSmallestTrackListPoints)
        return {std::isfinite(start) && start >= kSmallestTextPoints ? start : kSmallestTrackListPoints};
    start = std::min(start, kLargestTextPoints);
    std::vector<double> sizes;
    for (double size = start; size > kSmallestTrackListPoints; size -= kTrackListSizeStep) sizes.push_back(size);
    sizes.push_back(kSmallestTrackListPoints);
    return sizes;
}

class Fitter {
public:
    Fitter(const std::vector<std::string>& lines, const LengthRect& box, const MeasureTrackLine& measure)
        : lines_(lines), box_(box), measure_(measure) {}

    // The layout at that size in that many columns, whole or not.
    TrackListFit layout(double size, int columns) {
        const Measures& m = measuresAt(size);
        TrackListFit fit;
        fit.sizePoints = size;
        fit.columns = columns;
        fit.columnGap = Length::fromPoints(size);
        const Length columnWidth = (box_.width - fit.columnGap * (columns - 1)) / columns;
        const std::size_t n = lines_.size();
        const double rowsInBox = m.lineSpacing > Length() && box_.height > Length()
            ? std::floor((box_.height.twips() + kSlackTwips) / m.lineSpacing.twips())
            : 0;
        const std::size_t room = std::size_t(std::min(rowsInBox, double(n)));
        // Balanced columns: the first holds half (rounded up), unless the box holds fewer.
        const std::size_t rows = std::min(room, (n + std::size_t(columns) - 1) / std::size_t(columns));
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t column = rows == 0 ? std::size_t(columns) : i / rows;
            if (column >= std::size_t(columns) || columnWidth <= Length()) {
                fit.leftOut.push_back(i);
                continue;
            }
            const Length left = box_.left + (columnWidth + fit.columnGap) * double(column);
            const Length top = box_.top + m.lineSpacing * double(i % rows);
            fit.placed.push_back(
                {i, {left, top, columnWidth, m.lineSpacing}, m.widths[i].twips() > columnWidth.twips() + kSlackTwips});
        }
        return fit;
    }

private:
    const Measures& measuresAt(double size) {
        auto found = cache_.find(size);
        if (found != cache_.end()) return found->second;
        Measures m;
        for (const std::string& line : lines_) {
            const MeasuredLine measured = measure_(line, size);
            const bool sane = std::isfinite(measured.width.twips()) && std::isfinite(measured.lineSpacing.twips());
            m.widths.push_back(sane ? std::max(measured.width, Length()) : Length::fromInches(1e6));
            if (sane) m.lineSpacing = std::max(m.lineSpacing, measured.lineSpacing);
        }
        return cache_.emplace(size, std::move(m)).first->second;
    }

    const std::vector<std::string>& lines_;
    LengthRect box_;
    const MeasureTrackLine& measure_;
    std::map<double, Measures> cache_;
};

// The better of two fits that are not whole: fewer lines left out, then fewer cut.
bool lessBroken(const TrackListFit& a, const TrackListFit& b) {
    if (a.leftOut.size() != b.leftOut.size()) return a.leftOut.size() < b.leftOut.size();
    return a.cutCount() < b.cutCount();
}

} // namespace

bool TrackListFit::fits() const { return leftOut.empty() && cutCount() == 0; }

std::size_t TrackListFit::cutCount() const {
    return std::size_t(std::count_if(placed.begin(), placed.end(), [](const PlacedTrackLine& l) { return l.cut; }));
}

TrackListFit fitTrackList(const std::vector<std::string>& lines, const LengthRect& box, double sizePoints,
                          const MeasureTrackLine& measure) {
    Fitter fitter(lines, box, measure);
    const std::vector<double> sizes = sizesFrom(sizePoints);
    TrackListFit best;
    bool haveBest = false;
    for (int columns = 1; columns <= kMostTrackListColumns; ++columns) {
        for (double size : sizes) {
            TrackListFit fit = fitter.layout(size, columns);
            if (fit.fits()) return fit;
            if (size == sizes.back() && (!haveBest || lessBroken(fit, best))) {
                best = std::move(fit);
                haveBest = true;
            }
        }
    }
    return best;
}

std::string trackListFitNotice(const TrackListFit& fit) {
    if (fit.fits()) return {};
    const auto count = [](std::size_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    char size[32];
    std::snprintf(size, sizeof size, "%g", std::round(fit.sizePoints * 10) / 10);
    std::string notice = "The track list does not fit its box at " + std::string(size) + " pt in " +
        count(std::size_t(fit.columns), "column", "columns") + ":";
    if (!fit.leftOut.empty()) notice += " " + count(fit.leftOut.size(), "line is", "lines are") + " left out";
    if (!fit.leftOut.empty() && fit.cutCount() > 0) notice += " and";
    if (fit.cutCount() > 0) notice += " " + count(fit.cutCount(), "line is", "lines are") + " cut off at the right";
    return notice + ".";
}

} // namespace kavi
