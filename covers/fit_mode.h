// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a cover's picture fills the cover's rectangle. Stretch is the program's long-standing
// behaviour and stays the default; Fill and Fit keep the picture's proportions.
#include <optional>
#include <string_view>

namespace kavi {

enum class FitMode {
    Stretch, // the picture is scaled to the rectangle, proportions lost
    Fill, // scaled to cover the whole rectangle, centred, the overflow cut off
    Fit, // the whole picture inside the rectangle, centred, the rest left as paper
};

constexpr std::string_view fitModeName(FitMode mode) {
    switch (mode) {
    case FitMode::Fill: return "fill";
    case FitMode::Fit: return "fit";
    case FitMode::Stretch: break;
    }
    return "stretch";
}

constexpr std::optional<FitMode> fitModeFromName(std::string_view name) {
    for (FitMode mode : {FitMode::Stretch, FitMode::Fill, FitMode::Fit})
        if (fitModeName(mode) == name) return mode;
    return std::nullopt;
}

} // namespace kavi
