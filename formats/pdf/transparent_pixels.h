// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colour a PDF keeps under a picture's wholly transparent pixels. A reader that smooths a
// picture while it enlarges it mixes each pixel's colour with its neighbours' before the soft mask
// hides it, so a colour hidden under transparent pixels (often black, or whatever the painting
// program left there) would show as a fringe round the visible parts. Each transparent pixel takes
// the colour of its most opaque neighbour instead, or white where it has none.
#include <cstddef>
#include <cstdint>

namespace pdf {

// pixels: 32-bit rows, blue, green, red and coverage (alpha, not premultiplied), top-down.
void spreadColourUnderTransparency(std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride);

} // namespace pdf
