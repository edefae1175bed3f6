// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a cover's picture goes inside the cover's rectangle for a fit mode, and which part of the
// picture then shows. The same arithmetic serves the page (in lengths) and the screen (in pixels),
// so a tab, the preview and the print agree.
#include "covers/fit_mode.h"
#include "covers/length.h"

#include <optional>

namespace kavi {

// A rectangle in any one unit: x to the right, y down.
struct FitBox {
    double left = 0, top = 0, width = 0, height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
    friend bool operator==(const FitBox&, const FitBox&) = default;
};

// Where the whole picture (pictureWidth x pictureHeight pixels, or any proportional size) is drawn
// for the cover rectangle: Stretch gives the cover itself; Fill the smallest box of the picture's
// proportions that covers the cover, centred (it overflows on two sides); Fit the largest such box
// inside the cover, centred. A picture without a size is stretched.
FitBox fittedBox(const FitBox& cover, double pictureWidth, double pictureHeight, FitMode mode);

// What of the fitted picture lands inside the cover: the part of the cover that shows picture, and
// the same part in the picture's own pixels (fractions of a pixel kept).
struct VisiblePart {
    FitBox target; // inside the cover
    FitBox source; // inside 0, 0, pictureWidth, pictureHeight
};
VisiblePart visiblePart(const FitBox& cover, double pictureWidth, double pictureHeight, FitMode mode);
// The same for a picture already placed at `placed`, seen through `window`.
VisiblePart visibleThrough(const FitBox& placed, const FitBox& window, double pictureWidth, double pictureHeight);

// A cover's picture on the page: drawn whole into `picture`, showing only inside `clip` when set
// (Fill: the cover's rectangle; Stretch and Fit draw nothing outside the cover).
struct PictureOnPage {
    LengthRect picture;
    std::optional<LengthRect> clip;
    friend bool operator==(const PictureOnPage&, const PictureOnPage&) = default;
};
PictureOnPage fitPicture(const LengthRect& cover, int pixelWidth, int pixelHeight, FitMode mode);

// The same with a bleed: a picture that reaches the cover's edge is carried `bleed` past it on
// those sides, so a cut a little off the line still falls on the picture. There are no pixels
// beyond a picture's own edge, so on a side where it ends at the cut line it is scaled up about
// the cover's centre, keeping its proportions, just enough to reach the bleed's edge: Stretch
// stretches the picture over the cover grown by the bleed, Fill fills that grown rectangle, and Fit
// grows until its touching sides reach the bleed's edge (its other sides stay inside the cover).
// Nothing shows beyond the cover grown by the bleed. No bleed gives fitPicture's placing.
PictureOnPage fitPicture(const LengthRect& cover, int pixelWidth, int pixelHeight, FitMode mode, Length bleed);
// What of a placed picture shows on the page, in twips and in the picture's pixels.
VisiblePart visiblePart(const PictureOnPage& placed, int pixelWidth, int pixelHeight);

} // namespace kavi
