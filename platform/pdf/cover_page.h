// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Draws a laid-out page of covers (covers/page_render.h) into a PDF document: a page of the
// sheet's size, each cover's picture where its fit mode puts it (cut off at the cover's edges
// for Fill), then the marks over them.
#include "page_render.h"
#include "pdf_document.h"

#include <functional>
#include <vector>

namespace kavi {

// The pixels of a kind's picture; a picture without pixels draws nothing for its cover. The
// pixels must stay valid until the document is written.
using CoverPixels = std::function<pdf::BgrxPixels(int kind)>;

// What is drawn over a kind's picture (its text), each with its coverage as the pixels' fourth
// byte, at its rectangle in the cover's own coordinates. The pixels must stay valid as above.
struct CoverOverlay {
    pdf::BgrxPixels pixels;
    LengthRect inCover;
};
using CoverOverlays = std::function<std::vector<CoverOverlay>(int kind)>;

void drawRenderedPage(pdf::Document& document, const RenderedPage& page, const CoverPixels& pixelsOf,
                      const CoverOverlays& overlaysOf = {});

} // namespace kavi
