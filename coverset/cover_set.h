// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A saved cover set: the ten covers' pictures (after any edits), how each picture fills its cover,
// each cover's text, and which kinds are ticked for printing. What the main window saves and
// opens, and what kavi-cover prints from.
#include "covers/cover_design.h"
#include "covers/cover_kinds.h"
#include "covers/cover_text.h"
#include "covers/fit_mode.h"
#include "coverset/cover_set_disc.h"
#include "coverset/cover_set_picture.h"
#include "coverset/cover_set_print_layout.h"

#include <array>
#include <optional>
#include <vector>

namespace kavi {

struct CoverSetCover {
    CoverSetPicture picture; // null when the cover has no picture
    FitMode fit = FitMode::Stretch;
    CoverText text;
    // Background, layers and end strips; the further pictures its picture layers name by index.
    CoverDesign design;
    std::vector<CoverSetPicture> designPictures;
};

struct CoverSet {
    std::array<CoverSetCover, kCoverKindCount> covers; // index 0 is kind 1
    KindFlags ticked{};
    CoverSetDiscs discs; // the disc labels and their stock
    // The layout the set was saved with; none in a set saved without one (it prints with the
    // layout in use).
    std::optional<CoverSetPrintLayout> printLayout;
    // The safe margin the set was designed with; none in a set saved without one.
    std::optional<Length> safeMargin;

    // Every cover without picture, fit or text, each text at its usual place.
    static CoverSet empty();
    CoverSetCover& cover(int kind) { return covers[std::size_t(kind - 1)]; }
    const CoverSetCover& cover(int kind) const { return covers[std::size_t(kind - 1)]; }
};

} // namespace kavi
