#pragma once
// Paper sizes and orientations. Each value is the printer object's own code for it.
#include "length.h"

#include <optional>

namespace kavi {

enum class Paper { Letter = 1, Legal = 5 };
enum class Orientation { Portrait = 1, Landscape = 2 };

constexpr int printerCode(Paper paper) { return static_cast<int>(paper); }
constexpr int printerCode(Orientation orientation) { return static_cast<int>(orientation); }

// The paper or orientation of a printer object's code; none for a code it does not know.
constexpr std::optional<Paper> paperOfCode(int code) {
    switch (code) {
    case printerCode(Paper::Letter): return Paper::Letter;
    case printerCode(Paper::Legal): return Paper::Legal;
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
    }
    return {};
}

// The sheet's physical size as it lies in the given orientation: landscape turns it.
constexpr LengthSize sheetSize(Paper paper, Orientation orientation) {
    const LengthSize upright = paperSize(paper);
    return orientation == Orientation::Landscape ? upright.transposed() : upright;
}

} // namespace kavi
