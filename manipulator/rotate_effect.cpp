// SPDX-License-Identifier: GPL-3.0-or-later
#include "manipulator/rotate_effect.h"

#include "formats/raster/parallel_parts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kavi::mdlEffect {

namespace {

// Rounds to the nearest integer, ties to even.
long roundEven(double v) { return std::lrint(v); }

// Pixel reads and writes with the device calls' rules, on memory: a read outside the source is
// invalid (-1) and a write outside the target changes nothing.
struct SourcePixels {
    const std::uint32_t* base;
    std::size_t pitch; // pixels per row
    long width, height;

    explicit SourcePixels(const raster::Bitmap& b)
        : base(reinterpret_cast<const std::uint32_t*>(b.bits())), pitch(b.stride() / 4), width(b.width()),
          height(b.height()) {}

    std::int64_t get(long x, long y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return -1;
        return base[std::size_t(y) * pitch + std::size_t(x)] & 0xFFFFFF;
    }
};

struct TargetPixels {
    std::uint32_t* base;
    std::size_t pitch;
    long width, height;

    explicit TargetPixels(raster::Bitmap& b)
        : base(reinterpret_cast<std::uint32_t*>(b.bits())), pitch(b.stride() / 4), width(b.width()),
          height(b.height()) {}

    void set(long x, long y, std::int64_t sample) {
        if (sample < 0 || x < 0 || y < 0 || x >= width || y >= height) return;
        base[std::size_t(y) * pitch + std::size_t(x)] = std::uint32_t(sample);
    }
};

// Where the point (x, y) of the turned quarter samples the source, relative to its centre: the
// polar mapping rounded to whole pixels.
struct Offset {
    long dx, dy;
};

class OffsetRule {
public:
    explicit OffsetRule(double theta) : theta_(theta), cos_(std::cos(theta)), sin_(std::sin(theta)) {}

    // The mapping through the library's angle functions, exactly as defined.
    Offset exactOffsetOf(long x, long y) const {
        const double phi = x != 0 ? std::atan(double(y) / double(x)) : 1.5707964;
        const double rho = double(roundEven(std::sqrt(double(x * x + y * y))));
        return {roundEven(rho * std::cos(phi + theta_)), roundEven(rho * std::sin(phi + theta_))};
    }

    // The same result without the angle functions, for the points (x, y0) ... (x, y0 + n - 1) with
    // x >= 1: cos(phi + theta) = (x cos theta - y sin theta) / r, and likewise for the sine. Both
    // ways land within about 1e-10 of the true value (r < 2^16), so they round alike unless the
    // value lies near a half; there the exact way decides. The first loop has no branch and no
    // call, so the compiler runs it on several points at once.
    void offsetsOf(long x, long y0, int n, Offset* out) const {
        constexpr int kMost = 64;
        constexpr double kShifter = 6755399441055744.0; // 1.5 * 2^52: adding it rounds to whole
        constexpr double kNearHalf = 0.5 - 1e-6;
        double vx[kMost], vy[kMost], rx[kMost], ry[kMost];
        const double fx = double(x), xc = fx * cos_, xs = fx * sin_;
        for (int j = 0; j < n; ++j) {
            const double fy = double(y0 + j);
            const double r = std::sqrt(fx * fx + fy * fy); // exact squares: both below 2^53
            const double scale = ((r + kShifter) - kShifter) / r;
            vx[j] = scale * (xc - fy * sin_);
            vy[j] = scale * (fy * cos_ + xs);
            rx[j] = (vx[j] + kShifter) - kShifter;
            ry[j] = (vy[j] + kShifter) - kShifter;
        }
        for (int j = 0; j < n; ++j) {
            if (std::fabs(vx[j] - rx[j]) > kNearHalf || std::fabs(vy[j] - ry[j]) > kNearHalf)
                out[j] = exactOffsetOf(x, y0 + j);
            else out[j] = {long(rx[j]), long(ry[j])};
        }
    }

private:
    double theta_, cos_, sin_;
};

} // namespace

void RunEffect(int effect, PictureBox& canvas, PictureBox& scratch, float angle, bool mirror) {
    if (effect != kRotation) return;
    const bool sizing = scratch.autoSize;
    scratch.autoSize = true;
    scratch.assign(canvas); // sizing itself to the picture, the scratch takes the canvas's size

    canvas.removePicture();
    RotatePicture(scratch, canvas, angle, mirror);
    scratch.autoSize = sizing;
}

void RotatePicture(const PictureBox& source, PictureBox& target, float angle, bool mirror) {
    if (mirror) angle = 360.0f - angle;
    const SourcePixels src(source.image());
    const long sx = roundEven(source.width() / 2.0), sy = roundEven(source.height() / 2.0);
    const long tx = roundEven(target.width() / 2.0), ty = roundEven(target.height() / 2.0);
    const double reach = target.width() > target.height() ? target.width() / 2.0 : target.height() / 2.0;

    long ox = 0, oy = 0;
    if (angle == 90.0f || angle == 270.0f) {
        const double w = target.width(), h = target.height();
        ox = roundEven((h - w) / 2.0 - 2.0);
        oy = roundEven((w - h) / 2.0);
        target.resize(target.height(), target.width());
    }
    TargetPixels dst(target.edit());

    const OffsetRule rule(double(angle) * 3.14159265358979 / 180.0);
    const long last = roundEven(reach);
    const long cx = tx + ox, cy = ty + oy;
    // Each point (x, y) fills four target pixels, one in each quarter around (cx, cy). Off the
    // axes no two points share a target pixel, so those points may run in any order and on any
    // thread; the axes, where later points overwrite earlier ones, run afterwards in the order
    // of the plain walk (column x = 0 first, then row y = 0).
    const auto fourPixels = [&](long x, long y, Offset d) {
        const std::int64_t s0 = src.get(sx + d.dx, sy + d.dy);
        const std::int64_t s1 = src.get(sx - d.dx, sy - d.dy);
        const std::int64_t s2 = src.get(sx + d.dy, sy - d.dx);
        const std::int64_t s3 = src.get(sx - d.dy, sy + d.dx);
        dst.set(cx + x, cy + y, s0);
        dst.set(cx - x, cy - y, s1);
        dst.set(cx + y, cy - x, s2);
        dst.set(cx - y, cy + x, s3);
    };
    if (last >= 1) {
        constexpr long kTile = 64; // square tiles keep the four target columns in the cache
        const long tiles = (last + kTile - 1) / kTile;
        raster::runParts(int(tiles), [&](int tileColumn) {
            const long x0 = 1 + tileColumn * kTile, x1 = std::min(last, x0 + kTile - 1);
            for (long y0 = 1; y0 <= last; y0 += kTile) {
                const long y1 = std::min(last, y0 + kTile - 1);
                Offset offsets[kTile];
                for (long x = x0; x <= x1; ++x) {
                    rule.offsetsOf(x, y0, int(y1 - y0 + 1), offsets);
                    for (long y = y0; y <= y1; ++y) fourPixels(x, y, offsets[y - y0]);
                }
            }
        });
    }
    for (long y = 0; y <= last; ++y) fourPixels(0, y, rule.exactOffsetOf(0, y));
    for (long x = 1; x <= last; ++x) {
        Offset d;
        rule.offsetsOf(x, 0, 1, &d);
        fourPixels(x, 0, d);
    }
}

} // namespace kavi::mdlEffect
