// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The print layout kavi-cover prints with: what the command line gives, and for the rest the
// layout the cover set keeps (the defaults for covers given as KIND=PICTURE).
#include "output/print/print_layout_settings.h"
#include "tools/kavi-cover/cover_arguments.h"

namespace kavi {

inline PrintLayoutSettings layoutOfRequest(const CoverMakerRequest& request, const PrintLayoutSettings& fromSet) {
    PrintLayoutSettings layout = fromSet;
    if (request.paperGiven) layout.paper = request.paper;
    layout.cutMarks = fromSet.cutMarks || request.cutMarks;
    if (request.placement) layout.choices.placement = *request.placement;
    if (request.hdAndBluRaySheet) layout.choices.sheets.hdAndBluRay = *request.hdAndBluRaySheet;
    if (request.dsSheet) layout.choices.sheets.dsOnA4 = *request.dsSheet;
    layout.choices.together = fromSet.choices.together || request.together;
    if (request.bleed) layout.choices.bleed = *request.bleed;
    return layout;
}

} // namespace kavi
