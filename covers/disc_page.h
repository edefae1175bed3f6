// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sheets of a disc-label job, laid out once for every output: on plain paper one label a sheet
// (centred for a file, at the printable corner for a printer, with its cut guides when marks are on);
// on label stock the stock's sheet with every label of it and which of them the copies use.
#include "covers/calibration.h"
#include "covers/cut_marks.h"
#include "covers/disc_geometry.h"
#include "covers/disc_label_stock.h"
#include "covers/disc_sheet_plan.h"
#include "covers/page_geometry.h"
#include "covers/paper.h"
#include "covers/picture_fit.h"

#include <optional>
#include <string>
#include <vector>

namespace kavi {

// A ring on the sheet: its centre and radii; a label cut to a width or height also shows only inside
// the cut box, centred on the ring.
struct RingOnSheet {
    LengthPoint centre;
    Length outerRadius, holeRadius;
    std::optional<LengthSize> cut;

    // The ring's square: the box the picture fills.
    LengthRect square() const {
        return {centre.x - outerRadius, centre.y - outerRadius, outerRadius * 2, outerRadius * 2};
    }
    // The cut box, when the label has one.
    std::optional<LengthRect> cutBox() const;
    friend bool operator==(const RingOnSheet&, const RingOnSheet&) = default;
};

struct DiscLabelSlot {
    RingOnSheet ring;
    bool used = false; // a copy goes here
};

struct DiscSheetLayout {
    LengthSize sheet; // portrait
    std::optional<Paper> paper; // the printer's paper; none for a sheet of its own size (a disc tray)
    std::vector<DiscLabelSlot> labels; // every label of the sheet, in label order
    std::vector<MarkLine> marks; // the cut guides of the used labels
    LengthRect printable; // where a printer prints on the sheet; the whole sheet for a file
};

struct DiscJobLayout {
    std::vector<DiscSheetLayout> sheets;
    std::string error; // why nothing can be printed: a start past the stock's labels, no copies
};

// The printer's paper of a stock's paper name (US-Letter, US-Legal, A4); none for others.
std::optional<Paper> paperOfStock(const DiscLabelStock& stock);

// A label on plain paper: a sheet a copy, each with one label, centred on the sheet or with its square at
// the printable area's corner; the cut guides that fall inside the printable area when cutMarks.
DiscJobLayout discOnPlainPaper(const DiscGeometry& disc, Paper paper, Placement placement, const LengthRect& printable,
                               bool cutMarks, int copies = 1);

// Labels on stock: the copies fill its labels from startLabel (1-based) on, going on to fresh sheets. The
// rings are the stock's; no guides are drawn (the stock is cut already).
DiscJobLayout discOnStock(const DiscLabelStock& stock, int startLabel, int copies);

// The sheet as a printer with that correction prints it: every centre and radius moved and scaled (a ring
// takes the mean of the two scales), and the marks with it.
void calibrate(DiscSheetLayout& sheet, const Calibration& calibration);

// Where a picture of that many pixels goes for a ring: it fills the ring's square by the fit mode.
PictureOnPage discPicture(const RingOnSheet& ring, int pixelWidth, int pixelHeight, FitMode fit);

// The radius of the circle a line of curved text of that height runs along (through the letters'
// middles): close to the outer edge, with a margin, but never over the hole.
Length discTextRadius(Length outerRadius, Length holeRadius, Length letterHeight);

} // namespace kavi
