// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The print choices beyond paper and cut marks: where covers sit on the sheet, the sheet of the
// kinds that may go on another paper, and whether covers that fit together share a sheet. Every
// default prints exactly as before.
#include "covers/page_geometry.h"
#include "covers/sheet_choices.h"

namespace kavi {

struct PrintChoices {
    // Where a printer's covers go: AtPrintableCorner is the default.
    Placement placement = Placement::AtPrintableCorner;
    SheetChoices sheets;
    // Covers that fit the printable area together share a sheet, and a single small kind is
    // repeated side by side.
    bool together = false;
    friend bool operator==(const PrintChoices&, const PrintChoices&) = default;
};

} // namespace kavi
