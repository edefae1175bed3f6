// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ring of a disc label: its outer and hole diameters, the ready sizes a user picks from, the bounds of
// the user's own, and the cut guides that mark a ring on plain paper.
#include "covers/cut_marks.h"
#include "covers/length.h"

#include <array>
#include <string>
#include <vector>

namespace kavi {

struct DiscGeometry {
    Length outer; // diameter
    Length hole; // diameter
    friend constexpr bool operator==(const DiscGeometry&, const DiscGeometry&) = default;
};

struct DiscPreset {
    const char* name;
    DiscGeometry geometry;
};

// The ready sizes, in the order the tab offers them: an adhesive label and two printable discs.
inline constexpr std::array<DiscPreset, 3> kDiscPresets = {{
    {"Label 117/41", {Length::fromMillimetres(117), Length::fromMillimetres(41)}},
    {"Printable disc 118/22", {Length::fromMillimetres(118), Length::fromMillimetres(22)}},
    {"Printable disc, large hub 116/44", {Length::fromMillimetres(116), Length::fromMillimetres(44)}},
}};

// Adhesive label sizes for a 12 cm and an 8 cm disc.
inline constexpr DiscGeometry kDiscLabel = {Length::fromMillimetres(117), Length::fromMillimetres(41)};
inline constexpr DiscGeometry kMiniDiscLabel = {Length::fromMillimetres(78), Length::fromMillimetres(41)};

inline constexpr Length kSmallestDisc = Length::fromMillimetres(20);
inline constexpr Length kLargestDisc = Length::fromMillimetres(130);

// Empty when a user's own size can be a ring: 20 to 130 mm across, the hole from 0 and smaller than the disc;
// else a line saying what is wrong.
std::string discGeometryError(const DiscGeometry& disc);

// Four short guides outside the ring, above, below, left and right of it, each kMarkLength long and kMarkGap
// from the ring, pointing at the centre; from the ring's centre.
std::vector<MarkLine> discCutGuides(const DiscGeometry& disc, LengthPoint centre);

} // namespace kavi
