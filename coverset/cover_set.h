// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A saved cover set: the ten covers' pictures (after any edits), how each picture fills its cover,
// each cover's text, and which kinds are ticked for printing. What the main window saves and
// opens, and what kavi-cover prints from.
#include "cover_kinds.h"
#include "cover_set_disc.h"
#include "cover_set_picture.h"
#include "cover_text.h"
#include "fit_mode.h"

#include <array>

namespace kavi {

struct CoverSetCover {
    CoverSetPicture picture; // null when the cover has no picture
    FitMode fit = FitMode::Stretch;
    CoverText text;
};

struct CoverSet {
    std::array<CoverSetCover, kCoverKindCount> covers; // index 0 is kind 1
    KindFlags ticked{};
    CoverSetDiscs discs; // the disc labels and their stock

    // Every cover without picture, fit or text, each text at its usual place.
    static CoverSet empty();
    CoverSetCover& cover(int kind) { return covers[std::size_t(kind - 1)]; }
    const CoverSetCover& cover(int kind) const { return covers[std::size_t(kind - 1)]; }
};

} // namespace kavi
