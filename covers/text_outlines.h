// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Cover text as vector outlines, the way a PDF carries it: the letters (and their outline or
// shadow) as filled shapes, sharp at any resolution, and each line's words, so that a reader can
// find and copy them. Coordinates are points on the cover, from its top-left corner, y down.
#include <cstdint>
#include <string>
#include <vector>

namespace kavi {

struct OutlinePoint {
    double x = 0, y = 0;
};

// One step of an outline; a curve is a cubic Bézier with two control points.
struct OutlineStep {
    enum class Type : std::uint8_t { MoveTo, LineTo, CurveTo };
    Type type = Type::MoveTo;
    OutlinePoint to, control1, control2;
};

// A shape filled by the non-zero winding rule.
struct FilledOutline {
    std::vector<OutlineStep> steps;
    std::uint32_t rgb = 0; // 0xRRGGBB
    double opacity = 1;
};

// A line of text as words: where its baseline starts, which way it runs, and how long it is.
struct OutlineTextLine {
    std::u16string text;
    OutlinePoint origin;
    bool turned = false; // reads from top to bottom (a quarter turn clockwise)
    double sizePoints = 0;
    double advancePoints = 0;
};

struct CoverTextOutlines {
    std::vector<FilledOutline> fills; // in drawing order
    std::vector<OutlineTextLine> lines;
    bool empty() const { return fills.empty() && lines.empty(); }
};

} // namespace kavi
