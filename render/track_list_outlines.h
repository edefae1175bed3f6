// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A track list fitted into its box and drawn as vector outlines, like cover text: each column's
// lines as filled letters with their words, and the column's rectangle, which an output clips the
// column to, so that a line too long for its column ends at the column's edge and nothing of the
// list reaches outside its box. Fitting and measuring use the same font (track_list_measure.h).
#include "covers/cover_text.h"
#include "covers/text_outlines.h"
#include "covers/track_list.h"
#include "covers/track_list_fit.h"

#include <cstddef>
#include <vector>

namespace kavi {

struct TrackListColumn {
    CoverTextOutlines outlines; // in points on the cover
    LengthRect clip; // the column on the cover, inside the box
};

struct TrackListDrawing {
    TrackListFit fit;
    std::vector<TrackListColumn> columns; // those with lines, left to right
};

// The tracks' lines (with the total) fitted into `box`, starting at the style's size, in the style's
// font, colour and alignment.
TrackListDrawing trackListOutlines(const std::vector<Track>& tracks, const TextStyle& style, const LengthRect& box);

// The last few track lists drawn, kept so that a repaint does not fit and shape them again.
class TrackListOutlinesCache {
public:
    const TrackListDrawing& outlinesOf(const std::vector<Track>& tracks, const TextStyle& style, const LengthRect& box);

private:
    struct Entry {
        std::vector<Track> tracks;
        TextStyle style;
        LengthRect box;
        TrackListDrawing drawing;
    };
    static constexpr std::size_t kKept = 8;
    std::vector<Entry> entries_; // the most recently used last
};

} // namespace kavi
