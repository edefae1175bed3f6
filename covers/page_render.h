// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one layout step between the page plan and every output (printer, PDF file, preview, the
// command-line cover maker): a planned page becomes the sheet with each cover's rectangle and the
// marks to draw, placed, marked and calibrated. Outputs only draw what this gives them.
#include "covers/calibration.h"
#include "covers/cut_marks.h"
#include "covers/page_geometry.h"
#include "covers/page_plan.h"
#include "covers/picture_fit.h"

#include <array>
#include <vector>

namespace kavi {

// A kind's picture as the layout needs it: its size in pixels and how it fills the cover. A
// picture without a size is stretched.
struct CoverPictureShape {
    int pixelWidth = 0, pixelHeight = 0;
    FitMode fit = FitMode::Stretch;
};

struct PageOptions {
    Placement placement = Placement::AtPrintableCorner;
    // The printable area on the sheet as the page is drawn; for a PDF file, the whole sheet.
    LengthRect printable;
    bool cutMarks = false;
    Calibration calibration; // for this page's orientation
    std::array<CoverPictureShape, kCoverKindCount> pictures{}; // by kind, index 0 for kind 1
    // How far each cover's print reaches past its cut line (PrintChoices' bleed); none as always.
    Length bleed = Length();
};

struct RenderedPage {
    Paper paper;
    Orientation orientation;
    LengthSize sheet;
    LengthRect printable; // on the sheet, as the options gave it
    std::vector<PlacedCover> covers; // on the sheet, in drawing order
    std::vector<PictureOnPage> pictures; // where each cover's picture is drawn, in the order of covers
    // Each cover grown by the bleed, in the order of covers: where its background is drawn and its
    // picture may reach. The cover's own rectangle when there is no bleed.
    std::vector<LengthRect> bleedRects;
    Length bleed; // as the options gave it
    std::vector<MarkLine> marks; // on the sheet
    // Sides of covers outside the printable area, found before the calibration is applied (the
    // calibration only undoes the printer's own error).
    std::vector<Overhang> overhangs;
    // Cut marks left out because they would fall outside the printable area.
    int marksOutsidePrintable = 0;
};

RenderedPage renderPage(const PlannedPage& page, const PageOptions& options);

// The printable area of a PDF file: the whole sheet.
inline LengthRect wholeSheet(const PlannedPage& page) {
    return {Length(), Length(), page.sheet().width, page.sheet().height};
}

} // namespace kavi
