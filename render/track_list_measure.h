// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The measure of track-list lines that the fitting asks for, from Qt's text layout in the font of
// the list's style, so that the fit holds for every output that draws the list in that font.
#include "covers/cover_text.h"
#include "covers/track_list_fit.h"

namespace kavi {

// Measures lines in the style's family, weight and slant at the size the fitting asks.
MeasureTrackLine trackLineMeasure(const TextStyle& style);

} // namespace kavi
