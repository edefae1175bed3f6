// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the cover's layout window works on while it is open: the cover's design and the pictures its
// picture layers name (those the cover already holds and those added in the window), and how the
// window draws a cover with its design: through the cover painter the tab and the preview use, so the
// window shows exactly what prints.
#include "covers/cover_design.h"
#include "covers/cover_text.h"
#include "covers/fit_mode.h"
#include "covers/safe_area.h"
#include "covers/track_list_fit.h"

#include <QByteArray>
#include <QImage>

#include <optional>
#include <vector>

class QPainter;

namespace kavi {

// A further picture of the cover as the window holds it: its pixels, the file's bytes of an
// unedited JPEG, and which of the document's further pictures it is (none for one added here).
struct LayoutPicture {
    QImage pixels;
    QByteArray originalJpeg;
    std::optional<std::size_t> documentIndex;
};

// One cover as the layout window shows and edits it.
struct LayoutCover {
    int kind = 1;
    QImage picture; // the cover's own picture
    FitMode fit = FitMode::Stretch;
    CoverText text;
    CoverDesign design; // picture layers name entries of `pictures`
    std::vector<LayoutPicture> pictures;
    Length safeMargin = kDefaultSafeMargin; // the dashed line's distance from the edges
};

// The cover at `size` pixels as a screen shows it: background, own picture, layers in order and the
// texts (last when the design has no Texts layer). A plain design draws as pictureWithText does.
QImage paintLayoutCover(const LayoutCover& cover, QSize size);

// A track list's lines fitted into its layer's box, measured in the list's font.
TrackListFit fitTrackListLayer(const CoverLayer& layer);

} // namespace kavi
