// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The print choices beyond paper and cut marks: where covers sit on the sheet, the sheet of the
// kinds that may go on another paper, whether covers that fit together share a sheet, and the
// bleed around each cover. Every default prints exactly as before.
#include "covers/page_geometry.h"
#include "covers/sheet_choices.h"

#include <optional>

namespace kavi {

// How far a cover's picture and background reach past its cut line, so that a cut a little off
// shows no paper edge: off (as always), 2 mm or 3 mm.
enum class Bleed { Off, TwoMillimetres, ThreeMillimetres };

constexpr Length bleedLength(Bleed bleed) {
    switch (bleed) {
    case Bleed::Off: return Length();
    case Bleed::TwoMillimetres: return Length::fromMillimetres(2);
    case Bleed::ThreeMillimetres: return Length::fromMillimetres(3);
    }
    return Length();
}

// The bleed of a whole number of millimetres: 0, 2 or 3; none for any other.
constexpr std::optional<Bleed> bleedOfMillimetres(double millimetres) {
    if (millimetres == 0) return Bleed::Off;
    if (millimetres == 2) return Bleed::TwoMillimetres;
    if (millimetres == 3) return Bleed::ThreeMillimetres;
    return std::nullopt;
}
constexpr int bleedMillimetres(Bleed bleed) {
    return bleed == Bleed::TwoMillimetres ? 2 : bleed == Bleed::ThreeMillimetres ? 3 : 0;
}

struct PrintChoices {
    // Where a printer's covers go: AtPrintableCorner is the default.
    Placement placement = Placement::AtPrintableCorner;
    SheetChoices sheets;
    // Covers that fit the printable area together share a sheet, and a single small kind is
    // repeated side by side.
    bool together = false;
    Bleed bleed = Bleed::Off;
    friend bool operator==(const PrintChoices&, const PrintChoices&) = default;
};

} // namespace kavi
