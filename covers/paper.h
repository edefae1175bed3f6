// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paper sizes and orientations. Each value is the printer object's own code for it.
#include "covers/length.h"

#include <optional>

namespace kavi {

enum class Paper { Letter = 1, Legal = 5, A4 = 9 };
enum class Orientation { Portrait = 1, Landscape = 2 };

constexpr int printerCode(Paper paper) { return static_cast<int>(paper); }
constexpr int printerCode(Orientation orientation) { return static_cast<int>(orientation); }

// The paper or orientation of a printer object's code; none for a code it does not know.
constexpr std::optional<Paper> paperOfCode(int code) {
    switch (code) {
    case printerCode(Paper::Letter): return Paper::Letter;
    case printerCode(Paper::Legal): return Paper::Legal;
    case printerCode(Paper::A4): return Paper::A4;
    }
    return std::nullopt;
}
constexpr std::optional<Orientation> orientationOfCode(int code) {
    switch (code) {
    case printerCode(Orientation::Portrait): return Orientation::Portrait;
    case printerCode(Orientation::Landscape): return Orientation::Landscape;
    }
    return std::nullopt;
}

// The sheet's physical size standing upright (portrait).
constexpr LengthSize paperSize(Paper paper) {
    switch (paper) {
    case Paper::Letter: return {Length::fromInches(8.5), Length::fromInches(11)};
    case Paper::Legal: return {Length::fromInches(8.5), Length::fromInches(14)};
    case Paper::A4: return {Length::fromMillimetres(210), Length::fromMillimetres(297)};
    }
    return {};
}

// Which paper the user prints on: the US sizes (Letter, and Legal for the kinds that need it), or
// A4 for every page.
enum class PaperChoice { LetterAndLegal, A4 };

// The sheet's physical size as it lies in the given orientation: landscape turns it.
constexpr LengthSize sheetSize(Paper paper, Orientation orientation) {
    const LengthSize upright = paperSize(paper);
    return orientation == Orientation::Landscape ? upright.transposed() : upright;
}

} // namespace kavi
