// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A disc label's curved title and subtitle as vector outlines: each letter shaped by Qt, set upright on
// a circle around the disc's centre (the title along the top, the subtitle along the bottom) and turned
// to follow it, reading left to right. Every output fills the same outlines.
#include "covers/disc_text.h"
#include "covers/length.h"
#include "covers/text_outlines.h"

namespace kavi {

struct DiscTextOutlines {
    // Points on the ring's square (its side is the outer diameter), from its top-left corner, y down;
    // one filled outline a letter, the title's first.
    CoverTextOutlines outlines;
    // The circles the letters' middles run along (none drawn: 0).
    Length titleRadius, subtitleRadius;
    int titleLetters = 0;
};

DiscTextOutlines discTextOutlines(const DiscText& text, Length outerRadius, Length holeRadius);

} // namespace kavi
