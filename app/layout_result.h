// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Between the cover document and the cover's layout window: the cover as the window edits it, and
// the window's result put back into the document as one step the user undoes at once.
#include "app/layout_cover.h"
#include "document/cover_document.h"

namespace kavi {

// One cover of the document with its design and further pictures, for the layout window.
LayoutCover layoutCoverOf(const CoverDocument& document, Kind kind);

// Puts the texts and the design (whose picture layers name entries of `pictures`) into the
// document as one undo step; nothing when they are what the document holds.
void putLayout(CoverDocument& document, Kind kind, const CoverText& text, const CoverDesign& design,
               const std::vector<LayoutPicture>& pictures);

} // namespace kavi
