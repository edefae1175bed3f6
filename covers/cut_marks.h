// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Cut and fold marks around the covers of a page: short lines at each cover's corners, in line
// with its edges but outside the picture, and at the folds of the wrap-around kinds (their spines)
// and of the CD back card, above and below the cover. Marks never overprint a picture, a mark
// that would fall outside the printable area is left out, and covers never move for marks. With a
// bleed, the marks move out by it, so they start beyond the picture's bleed and never touch it.
#include "covers/length.h"
#include "covers/page_geometry.h"

#include <vector>

namespace kavi {

struct MarkLine {
    LengthPoint from, to;
    friend bool operator==(const MarkLine&, const MarkLine&) = default;
};

inline constexpr Length kMarkLength = Length::fromMillimetres(5);
// The gap between a cover's edge and the nearer end of its marks.
inline constexpr Length kMarkGap = Length::fromMillimetres(1.5);
// How thick marks are drawn; a mark keeps half this away from every picture.
inline constexpr Length kMarkWidth = Length::fromPoints(0.5);

// Where a kind folds, measured from the cover's left edge: the two edges of a wrap-around
// cover's centred spine, or the CD back card's folds 6.5 mm in from each end; none for the others.
std::vector<Length> foldsOf(int kind, Length coverWidth);

// The marks of a page whose covers are at their sheet rectangles.
std::vector<MarkLine> cutMarks(const std::vector<PlacedCover>& onSheet, const LengthRect& printable,
                               Length bleed = Length());

// The same marks, with how many were left out because they would fall outside the printable area.
struct PageMarks {
    std::vector<MarkLine> marks;
    int outsidePrintable = 0;
};
PageMarks cutMarksCounted(const std::vector<PlacedCover>& onSheet, const LengthRect& printable,
                          Length bleed = Length());

} // namespace kavi
