// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/disc_geometry.h"

#include <cmath>
#include <cstdio>

namespace kavi {

namespace {

std::string millimetres(Length l) {
    char text[32];
    std::snprintf(text, sizeof text, "%g mm", std::round(l.millimetres() * 100) / 100);
    return text;
}

} // namespace

std::string discGeometryError(const DiscGeometry& disc) {
    if (!std::isfinite(disc.outer.twips()) || !std::isfinite(disc.hole.twips())) return "the sizes must be numbers";
    if (disc.outer < kSmallestDisc || disc.outer > kLargestDisc)
        return "the disc must be from " + millimetres(kSmallestDisc) + " to " + millimetres(kLargestDisc) +
            " across, not " + millimetres(disc.outer);
    if (disc.hole < Length()) return "the hole cannot be smaller than 0 mm";
    if (disc.hole >= disc.outer)
        return "the hole (" + millimetres(disc.hole) + ") must be smaller than the disc (" + millimetres(disc.outer) +
            ")";
    return {};
}

std::vector<MarkLine> discCutGuides(const DiscGeometry& disc, LengthPoint centre) {
    const Length near = disc.outer / 2 + kMarkGap;
    const Length far = near + kMarkLength;
    return {
        {{centre.x, centre.y - far}, {centre.x, centre.y - near}}, // above
        {{centre.x, centre.y + near}, {centre.x, centre.y + far}}, // below
        {{centre.x - far, centre.y}, {centre.x - near, centre.y}}, // left
        {{centre.x + near, centre.y}, {centre.x + far, centre.y}}, // right
    };
}

} // namespace kavi
