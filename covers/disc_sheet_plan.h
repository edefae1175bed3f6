// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where disc labels go on sheets of label stock: a number of copies from a starting label on (for a sheet
// that is partly used), going on to fresh sheets; and the arc along which curved text runs on a disc.
#include "covers/disc_label_stock.h"

#include <string>
#include <vector>

namespace kavi {

struct DiscLabelPlace {
    int sheet = 0; // 0 is the first sheet
    int label = 0; // 0-based, in the stock's label order
    LengthPoint centre;
};

struct DiscSheetPlan {
    std::vector<DiscLabelPlace> places; // one a copy, in order
    int sheets = 0;
    std::string error; // why nothing can be placed: a start past the stock's labels, no copies
};

// Copies fill the labels from startLabel (1-based, as the user counts them) on; when the first sheet is full
// they go on to new sheets from their first label.
DiscSheetPlan planDiscLabels(const DiscLabelStock& stock, int startLabel, int copies);

// Curved text on a disc: each letter sits on a circle around the disc's centre with its middle at the
// returned point, turned by the returned angle (degrees, clockwise as on screen, y down) so that it stands
// upright to a reader and the text reads left to right. Along the top the letters' tops point outwards;
// along the bottom they point to the centre. The run is centred on the top or bottom of the circle.
enum class ArcSide { Top, Bottom };
struct ArcLetter {
    LengthPoint middle; // on the circle, from the disc's centre
    double turnDegrees = 0;
};
std::vector<ArcLetter> placeOnArc(const std::vector<Length>& advances, Length radius, ArcSide side);

} // namespace kavi
