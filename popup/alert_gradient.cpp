// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/alert_gradient.h"

#include "formats/raster/lines.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

namespace kavi {

namespace {

constexpr std::uint32_t kSystemColorFlag = 0x80000000u;
// Title of the message that reports a failure outside the painting itself.
const char* const kDrawErrorTitle = "Kavi 4";
const char* const kPaintErrorTitle = "GradientRect";

// Rounding to the nearest integer, ties to even.
long roundEven(double v) { return std::lrint(v); }
int roundToInt(float v) { return int(std::nearbyint(v)); }

enum class Sweep { Right, Left, Up, Down };

std::string describe(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e)) return "Out of memory";
    return e.what();
}

} // namespace

msnpopupGradient::msnpopupGradient(const SystemColors& systemColors, GradientErrorReport report)
    : systemColors_(systemColors), report_(std::move(report)) {}

std::uint32_t msnpopupGradient::resolveColor(std::uint32_t value) const {
    if ((value & kSystemColorFlag) && (value & ~kSystemColorFlag) < std::uint32_t(kSystemColorCount))
        return systemColors_.color(int(value & ~kSystemColorFlag));
    return value;
}

float msnpopupGradient::normalizedAngle(float degrees) {
    if (!std::isfinite(degrees)) return 0;
    const float a = degrees - 360.0f * std::floor(degrees / 360.0f);
    // A tiny negative angle rounds up to 360 in single precision; that is the same direction as 0.
    return a >= 360.0f || a < 0.0f ? 0.0f : a;
}

void msnpopupGradient::report(const std::string& text, const std::string& title) const {
    if (report_) report_(text, title);
}

int msnpopupGradient::BlendColors(std::uint32_t c1, std::uint32_t c2, int n, std::vector<std::uint32_t>& colours) {
    if (n < 2) n = 2;
    const int r1 = int(c1 & 255), g1 = int((c1 & 65280) / 256), b1 = int((c1 & 16711680) / 65536);
    const int r2 = int(c2 & 255), g2 = int((c2 & 65280) / 256), b2 = int((c2 & 16711680) / 65536);
    const double dr = double(r2 - r1) / n, dg = double(g2 - g1) / n, db = double(b2 - b1) / n;
    colours.assign(std::size_t(n), 0);
    colours[0] = c1;
    colours[std::size_t(n) - 1] = c2;
    for (int i = 1; i <= n - 2; ++i)
        colours[std::size_t(i)] =
            std::uint32_t(roundEven(i * db + b1) * 65536 + roundEven(i * dg + g1) * 256 + roundEven(i * dr + r1));
    return n;
}

void msnpopupGradient::RotatePoint(const PointF& c, PointF& p, float degrees) {
    const float a = float(double(degrees) * 0.017453292519943278);
    const double s = std::sin(double(a)), co = std::cos(double(a));
    const float dx = p.x - c.x, dy = p.y - c.y;
    p.x = float(dy * s + dx * co + c.x);
    p.y = float(c.y - (dx * s - dy * co));
}

bool msnpopupGradient::Draw(raster::Bitmap& target) {
    try {
        const int w = target.width(), h = target.height();
        if (w > 1 && h > 1) return PaintGradient(target, w, h) > 0;
    } catch (const std::exception& e) {
        report(describe(e), kDrawErrorTitle);
    }
    return false;
}

void msnpopupGradient::sweep(int width, int height) {
    const PointF c{float(width / 2), float(height / 2)};
    const float l = float(height < width ? width : height);
    const float reach = (std::sqrt(l * l + l * l) + 2.0f) / 2.0f;
    PointF a{c.x - reach, c.y}, b{c.x + reach, c.y};
    const float turn = normalizedAngle(angle_ + 90.0f);
    RotatePoint(c, a, turn);
    RotatePoint(c, b, turn);

    // Strokes run perpendicular to the gradient; step across them so neighbours leave no gaps.
    const bool steep = std::fabs(a.y - b.y) >= std::fabs(a.x - b.x);
    Sweep dir;
    if (angle_ <= 90) dir = steep ? Sweep::Right : Sweep::Up;
    else if (angle_ <= 180) dir = steep ? Sweep::Left : Sweep::Up;
    else if (angle_ <= 270) dir = steep ? Sweep::Left : Sweep::Down;
    else dir = steep ? Sweep::Right : Sweep::Down;

    float ox = 0, oy = 0;
    Point step;
    switch (dir) {
    case Sweep::Right:
        ox = -std::max(a.x, b.x);
        step = {1, 0};
        break;
    case Sweep::Left:
        ox = float(width) - std::min(a.x, b.x);
        step = {-1, 0};
        break;
    case Sweep::Up:
        oy = float(height) - std::min(a.y, b.y);
        step = {0, -1};
        break;
    case Sweep::Down:
        oy = -std::max(a.y, b.y);
        step = {0, 1};
        break;
    }
    auto beyond = [&](const Point& p) {
        switch (dir) {
        case Sweep::Right: return p.x > width;
        case Sweep::Left: return p.x < 0;
        case Sweep::Up: return p.y < 0;
        case Sweep::Down: return p.y > height;
        }
        return true;
    };

    // The first stroke lies just outside the rectangle on the side where the gradient starts.
    points_.clear();
    points_.reserve(1000);
    points_.push_back({roundToInt(a.x + ox), roundToInt(a.y + oy)});
    points_.push_back({roundToInt(b.x + ox), roundToInt(b.y + oy)});
    for (;;) {
        const std::size_t k = points_.size();
        if (k % 1000 == 0) points_.reserve(k + 1000);
        const Point back = points_[k - 2];
        points_.push_back({back.x + step.x, back.y + step.y});
        if (beyond(points_[k]) && beyond(points_[k - 1])) break;
    }
}

int msnpopupGradient::PaintGradient(raster::Bitmap& dc, int width, int height) {
    int j = 0;
    try {
        sweep(width, height);
        const int k = int(points_.size());
        std::vector<std::uint32_t> colours;
        BlendColors(color1_, color2_, int(roundEven(k / 2.0)), colours);
        raster::LineCanvas canvas(dc);
        for (j = 0; j <= k - 2; j += 2) {
            canvas.moveTo(points_[std::size_t(j)].x, points_[std::size_t(j)].y);
            const raster::Pen previous = canvas.selectPen(raster::Pen{colours[std::size_t(j / 2)] & 0xFFFFFFu});
            canvas.lineTo(points_[std::size_t(j) + 1].x, points_[std::size_t(j) + 1].y);
            canvas.selectPen(previous);
        }
    } catch (const std::exception& e) {
        report(describe(e), kPaintErrorTitle);
    }
    // The index past the last stroke: positive once a stroke was drawn.
    return j;
}

} // namespace kavi
