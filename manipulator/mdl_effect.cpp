#include "mdl_effect.h"

#include <cmath>
#include <cstdint>

namespace kavi::mdlEffect {

namespace {

// Rounds to the nearest integer, ties to even.
long roundEven(double v) { return std::lrint(v); }

// Pixel reads and writes with the device calls' rules, on memory: a read outside the source is
// invalid (-1) and a write outside the target changes nothing.
struct Pixels {
    std::uint32_t* base;
    std::size_t pitch; // pixels per row
    long width, height;

    explicit Pixels(raster::Bitmap& b)
        : base(reinterpret_cast<std::uint32_t*>(b.bits())), pitch(b.stride() / 4), width(b.width()), height(b.height()) {}

    std::int64_t get(long x, long y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return -1;
        return base[std::size_t(y) * pitch + std::size_t(x)] & 0xFFFFFF;
    }
    void set(long x, long y, std::int64_t sample) {
        if (sample < 0 || x < 0 || y < 0 || x >= width || y >= height) return;
        base[std::size_t(y) * pitch + std::size_t(x)] = std::uint32_t(sample);
    }
};

} // namespace

void RunEffect(int effect, PictureBox& canvas, PictureBox& scratch, float angle, bool mirror) {
    if (effect != kRotation) return;
    const bool sizing = scratch.autoSize;
    scratch.autoSize = true;
    scratch.resize(canvas.width(), canvas.height());
    scratch.assign(canvas);
    canvas.removePicture();
    RotatePicture(scratch, canvas, angle, mirror);
    scratch.autoSize = sizing;
}

void RotatePicture(const PictureBox& source, PictureBox& target, float angle, bool mirror) {
    if (mirror) angle = 360.0f - angle;
    // The source is read through a copy-free view; it is never written.
    Pixels src(const_cast<raster::Bitmap&>(source.image));
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
    Pixels dst(target.image);

    const double theta = double(angle) * 3.14159265358979 / 180.0;
    const long last = roundEven(reach);
    for (long x = 0; x <= last; ++x) {
        for (long y = 0; y <= last; ++y) {
            const double phi = x != 0 ? std::atan(double(y) / double(x)) : 1.5707964;
            const double rho = double(roundEven(std::sqrt(double(x * x + y * y))));
            const long dx = roundEven(rho * std::cos(phi + theta));
            const long dy = roundEven(rho * std::sin(phi + theta));
            const std::int64_t s0 = src.get(sx + dx, sy + dy);
            const std::int64_t s1 = src.get(sx - dx, sy - dy);
            const std::int64_t s2 = src.get(sx + dy, sy - dx);
            const std::int64_t s3 = src.get(sx - dy, sy + dx);
            dst.set(tx + x + ox, ty + y + oy, s0);
            dst.set(tx - x + ox, ty - y + oy, s1);
            dst.set(tx + y + ox, ty - x + oy, s2);
            dst.set(tx - y + ox, ty + x + oy, s3);
        }
    }
    target.drawn();
}

} // namespace kavi::mdlEffect
