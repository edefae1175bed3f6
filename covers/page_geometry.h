// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the covers of a planned page land on the sheet, and how far any of them falls outside the
// printer's printable area. Sheet positions are measured from the sheet's top-left corner as the
// page is drawn (a landscape page is turned), x to the right and y down.
#include "covers/length.h"
#include "covers/page_plan.h"

#include <vector>

namespace kavi {

// The rectangle grown by `by` on every side (shrunk for a negative one): a cover with its bleed.
constexpr LengthRect grownBy(const LengthRect& r, Length by) {
    return {r.left - by, r.top - by, r.width + by * 2, r.height + by * 2};
}

// The smallest rectangle that holds every cover; an empty list gives an empty rectangle at 0, 0.
LengthRect coversBounds(const std::vector<PlacedCover>& covers);

// A printer puts the plan's covers at its printable area's corner. A PDF file has no margins, and
// printed at 100% from a viewer its corner covers would fall off the printable area, so in a PDF
// file the covers of a page are centred on the sheet as one group, keeping their places relative
// to each other. A printer's covers may also be centred on the sheet, or go to the printable
// corner moved in far enough that the cut marks above and left of them stay on the printable area
// (never further than the printable area has room for). With a bleed, the bleed is printed too: at
// the printable corner it is the bleed's edge that lies at the corner, and covers moved in for the
// marks are moved in past the bleed.
enum class Placement { AtPrintableCorner, CentredOnSheet, MovedInForMarks };

// How far a cover's cut marks reach out from its edges, their thickness included; with a bleed
// they start beyond it.
Length markReach(Length bleed = Length());

// The page's covers with their rectangles on the sheet. printable is the printable area on the
// sheet (for a PDF file, the whole sheet); bleed is how far each cover's print reaches past it.
std::vector<PlacedCover> coversOnSheet(const PlannedPage& page, Placement placement, const LengthRect& printable,
                                       Length bleed = Length());

enum class Side { Left, Top, Right, Bottom };

// "left", "top", "right" or "bottom", for messages.
constexpr const char* sideName(Side side) {
    switch (side) {
    case Side::Left: return "left";
    case Side::Top: return "top";
    case Side::Right: return "right";
    case Side::Bottom: return "bottom";
    }
    return "";
}

// A cover reaching outside the printable area on one side, and by how much.
struct Overhang {
    int kind;
    Side side;
    Length amount;
    friend bool operator==(const Overhang&, const Overhang&) = default;
};

// What printing may lose unnoticed: overhangs up to this much are not reported.
inline constexpr Length kFitTolerance = Length::fromInches(0.01);

// Every side of every cover that reaches more than kFitTolerance outside the printable area, in
// drawing order and then left, top, right, bottom. A bleed counts as part of the cover: the amount
// includes it.
std::vector<Overhang> overhangs(const std::vector<PlacedCover>& onSheet, const LengthRect& printable,
                                Length bleed = Length());

} // namespace kavi
