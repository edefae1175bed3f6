// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rectangle of a crop, in the picture's pixels: made from a drag (the pressed point and where
// the pointer is now), always inside the picture, and, when locked, of given proportions.
#include <optional>

namespace kavi {

struct CropRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool isEmpty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const CropRect&, const CropRect&) = default;
};

// The rectangle of a drag from `anchor` to `pointer` (picture pixels, either may lie outside the
// picture) over a picture of pictureWidth x pictureHeight pixels. The anchor is moved into the
// picture first; the rectangle then never leaves it. With `aspect` (width / height) the rectangle
// keeps those proportions: it grows from the anchor towards the pointer as far as the farther of
// the pointer's two directions asks, and shrinks, still from the anchor, to stay inside the
// picture. Empty when the drag has no extent.
CropRect cropFromDrag(double anchorX, double anchorY, double pointerX, double pointerY, int pictureWidth,
                      int pictureHeight, std::optional<double> aspect);

// The largest rectangle of the proportions (width / height) inside the picture, centred.
CropRect largestCentredCrop(int pictureWidth, int pictureHeight, double aspect);

} // namespace kavi
