// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// msnpopupGradient: a two-colour linear gradient at any angle, painted over a whole bitmap as a
// sweep of parallel one-pixel strokes, each in one colour of a precomputed ramp. Pixel code: no Qt.
#include "formats/raster/bitmap.h"
#include "platform/desktop/system_colors.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kavi {

// Shows an error text under a title; the popup routes it to a warning message box.
using GradientErrorReport = std::function<void(const std::string& text, const std::string& title)>;

class msnpopupGradient {
public:
    struct PointF {
        float x = 0, y = 0;
    };
    struct Point {
        int x = 0, y = 0;
    };

    explicit msnpopupGradient(const SystemColors& systemColors, GradientErrorReport report = {});

    // Colours are red + 256 * green + 65536 * blue. A value with the top bit set whose remaining
    // value is below 25 stores the current system colour of that index instead.
    std::uint32_t Color1() const { return color1_; }
    std::uint32_t Color2() const { return color2_; }
    void setColor1(std::uint32_t value) { color1_ = resolveColor(value); }
    void setColor2(std::uint32_t value) { color2_ = resolveColor(value); }

    // Degrees counter-clockwise on screen, 0 meaning left to right; kept in 0 <= angle < 360.
    float Angle() const { return angle_; }
    void setAngle(float degrees) { angle_ = normalizedAngle(degrees); }

    // Paints the gradient over the whole bitmap; true when at least one stroke was drawn.
    // A bitmap of width or height 1 or less is left alone and gives false.
    bool Draw(raster::Bitmap& target);

    // Fills colours with a ramp of n entries (n < 2 counts as 2) from c1 to c2 and returns n.
    // The steps divide by n, so the last entry jumps by two steps to reach c2 exactly.
    static int BlendColors(std::uint32_t c1, std::uint32_t c2, int n, std::vector<std::uint32_t>& colours);

    // Turns p about c by the angle in degrees, counter-clockwise as seen on a y-down screen.
    static void RotatePoint(const PointF& c, PointF& p, float degrees);
    static float normalizedAngle(float degrees);

private:
    int PaintGradient(raster::Bitmap& dc, int width, int height);
    void sweep(int width, int height);
    std::uint32_t resolveColor(std::uint32_t value) const;
    void report(const std::string& text, const std::string& title) const;

    const SystemColors& systemColors_;
    GradientErrorReport report_;
    std::uint32_t color1_ = 16777168; // red 208, green 255, blue 255
    std::uint32_t color2_ = 4194304; // red 0, green 0, blue 64
    float angle_ = 315;
    std::vector<Point> points_; // stroke ends of the paint, in pairs
};

} // namespace kavi
