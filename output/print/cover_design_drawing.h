// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A cover drawn through a printer object's steps, in the order it shows: the background under
// everything, the cover's own picture, then the design's layers (further pictures, track lists, the
// text boxes), the text boxes last when the design has no place for them, and the CD Back's end
// strips; all of it cut at the cover's edge. The print job, the preview and the screen's cover
// painter draw a cover with these same steps, so they agree.
#include "covers/cover_design.h"
#include "covers/cover_text.h"
#include "covers/picture_fit.h"
#include "output/print/print_job.h"
#include "platform/print/printer.h"
#include "render/track_list_outlines.h"

#include <QByteArray>
#include <QImage>

#include <optional>
#include <vector>

namespace kavi {

// What drawing the same cover again may reuse: its fitted track lists and its texts' outlines.
struct CoverDrawingCache {
    TrackListOutlinesCache trackLists;
    int kind = 0;
    CoverText text;
    CoverTextOutlines textOutlines;
};

// Where a cover lies for the printer object: its rectangle on the sheet (a calibrated cover may be a
// little larger or smaller than its real size), and the sheet's point the printer object counts from.
struct CoverOnPage {
    int kind = 1;
    LengthRect onSheet;
    LengthPoint corner; // the printable area's corner
    LengthSize coverSize() const;
    // The cover, and a rectangle in the cover's own coordinates, from the printable corner.
    LengthRect rect() const;
    LengthRect toPrinter(const LengthRect& inCover) const;
};

// What a cover shows besides its own picture.
struct CoverContent {
    const CoverText& text;
    const CoverDesign& design;
    const std::vector<DesignPicture>& pictures;
};

// The background as a fill of `area` (from the printable corner): a gradient runs at its angle
// from the area's corner where it starts to the one where it ends. None for paper.
std::optional<AreaFill> backgroundFill(const CoverBackground& background, const LengthRect& area);
// Fills `area` (the cover, or the cover grown by a bleed) with the background; nothing for paper.
void drawCoverBackground(PrinterObject& printer, const CoverBackground& background, const LengthRect& area);

// The cover's own picture with its transparency, placed at `placed` and cut at the placing's clip
// or else at the cover (rectangles from the printable corner).
bool drawLaidCoverPicture(PrinterObject& printer, const QImage& picture, const QByteArray& jpeg,
                          const PictureOnPage& placed, const LengthRect& cover);

// Everything over the cover's own picture. Track lists are fitted and texts shaped afresh unless a
// cache is given.
void drawOverCoverPicture(PrinterObject& printer, const CoverContent& content, const CoverOnPage& cover,
                          CoverDrawingCache* cache = nullptr);

// The cover's text boxes: as outlines where the printer object takes them, else as pictures at
// print resolution.
void drawCoverTexts(PrinterObject& printer, const CoverText& text, const CoverOnPage& cover,
                    CoverDrawingCache* cache = nullptr);

// The CD Back's two end strips on the cover (from its left edge: the strip before the first fold
// and the one after the second); none for other kinds.
std::vector<LengthRect> endStripsOf(int kind);

} // namespace kavi
