// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layout step that puts covers which fit together on one sheet: the planned job's covers,
// largest first, go into rows on as few sheets as the room allows, never overlapping and with a
// gap between neighbours wide enough for both covers' cut marks. A job of one case's cover (Mini
// CD, PSP, ...) gets as many copies of it side by side as fit on its sheet; a jewel-case card alone
// stays alone.
#include "covers/page_plan.h"

#include <functional>

namespace kavi {

// The gap between neighbouring covers: the reach of both covers' cut marks, which start beyond
// their bleeds.
Length gapBetweenCovers(Length bleed = Length());

// The job with its covers packed. The room of a sheet of that paper and orientation is where the
// covers may go, measured from its corner (positions in the result are relative to that corner,
// like the plan's). Every page takes the paper and orientation of the job's first page; a cover too
// large for an empty sheet's room gets a sheet of its own, at the corner. The job's question and
// its paper steps stay as planned. With a bleed the gap holds both bleeds as well; the room is then
// where the covers themselves may go, their outer bleeds and marks left out of it.
PrintJob coversTogether(const PrintJob& job, const std::function<LengthSize(Paper, Orientation)>& roomOf,
                        Length bleed = Length());

} // namespace kavi
