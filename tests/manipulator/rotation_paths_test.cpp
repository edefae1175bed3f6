// SPDX-License-Identifier: GPL-3.0-or-later
// The rotation effect's fast walk against the plain per-point walk it replaced: both must give the
// same pixels for every size and angle, on one thread or several.
#include "formats/raster/parallel_parts.h"
#include "manipulator/rotate_effect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

using namespace kavi;
using namespace kavi::mdlEffect;

namespace {

// The plain walk: one point after another, every offset through atan, cos and sin.
void plainRotate(const raster::Bitmap& source, raster::Bitmap& target, float angle, bool mirror) {
    if (mirror) angle = 360.0f - angle;
    const auto get = [&](long x, long y) -> std::int64_t {
        if (x < 0 || y < 0 || x >= source.width() || y >= source.height()) return -1;
        return reinterpret_cast<const std::uint32_t*>(source.row(int(y)))[x] & 0xFFFFFF;
    };
    const long sx = std::lrint(source.width() / 2.0), sy = std::lrint(source.height() / 2.0);
    const long tx = std::lrint(target.width() / 2.0), ty = std::lrint(target.height() / 2.0);
    const double reach = target.width() > target.height() ? target.width() / 2.0 : target.height() / 2.0;
    long ox = 0, oy = 0;
    if (angle == 90.0f || angle == 270.0f) {
        const double w = target.width(), h = target.height();
        ox = std::lrint((h - w) / 2.0 - 2.0);
        oy = std::lrint((w - h) / 2.0);
        raster::Bitmap turned(target.height(), target.width(), 32);
        for (int y = 0; y < turned.height(); ++y)
            for (int x = 0; x < turned.width(); ++x) reinterpret_cast<std::uint32_t*>(turned.row(y))[x] = 0xF0F0F0;
        target = turned;
    }
    const auto set = [&](long x, long y, std::int64_t v) {
        if (v < 0 || x < 0 || y < 0 || x >= target.width() || y >= target.height()) return;
        reinterpret_cast<std::uint32_t*>(target.row(int(y)))[x] = std::uint32_t(v);
    };
    const double theta = double(angle) * 3.14159265358979 / 180.0;
    const long last = std::lrint(reach);
    for (long x = 0; x <= last; ++x)
        for (long y = 0; y <= last; ++y) {
            const double phi = x != 0 ? std::atan(double(y) / double(x)) : 1.5707964;
            const double rho = double(std::lrint(std::sqrt(double(x * x + y * y))));
            const long dx = std::lrint(rho * std::cos(phi + theta)), dy = std::lrint(rho * std::sin(phi + theta));
            set(tx + x + ox, ty + y + oy, get(sx + dx, sy + dy));
            set(tx - x + ox, ty - y + oy, get(sx - dx, sy - dy));
            set(tx + y + ox, ty - x + oy, get(sx + dy, sy - dx));
            set(tx - y + ox, ty + x + oy, get(sx - dy, sy + dx));
        }
}

raster::Bitmap numbered(int w, int h) {
    raster::Bitmap b(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            reinterpret_cast<std::uint32_t*>(b.row(y))[x] = std::uint32_t(x) | std::uint32_t(y) << 12;
    return b;
}

// The effect as the toolbar runs it: the canvas blank in the background colour, then turned.
raster::Bitmap fastRotate(const raster::Bitmap& picture, float angle, bool mirror) {
    PictureBox canvas, scratch;
    canvas.setPicture(picture);
    RunEffect(kRotation, canvas, scratch, angle, mirror);
    return canvas.image();
}

raster::Bitmap plainResult(const raster::Bitmap& picture, float angle, bool mirror) {
    raster::Bitmap target(picture.width(), picture.height(), 32);
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x) reinterpret_cast<std::uint32_t*>(target.row(y))[x] = 0xF0F0F0;
    plainRotate(picture, target, angle, mirror);
    return target;
}

int differingPixels(const raster::Bitmap& a, const raster::Bitmap& b) {
    if (a.width() != b.width() || a.height() != b.height()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += (reinterpret_cast<const std::uint32_t*>(a.row(y))[x] & 0xFFFFFF) !=
                (reinterpret_cast<const std::uint32_t*>(b.row(y))[x] & 0xFFFFFF);
    return n;
}

struct ThreadCount {
    explicit ThreadCount(int n) { raster::setWorkerThreads(n); }
    ~ThreadCount() { raster::setWorkerThreads(0); }
};

} // namespace

TEST(RotationPaths, TheToolbarQuarterTurnMatchesThePlainWalkForEverySize) {
    const std::vector<std::pair<int, int>> sizes{{1, 1},   {1, 9},    {9, 1},     {2, 3},     {17, 13},
                                                 {64, 64}, {65, 129}, {300, 200}, {201, 333}, {1000, 7}};
    for (const int threads : {1, 2, 5}) {
        const ThreadCount count(threads);
        for (const auto& [w, h] : sizes) {
            const raster::Bitmap picture = numbered(w, h);
            EXPECT_EQ(differingPixels(fastRotate(picture, 90.0f, true), plainResult(picture, 90.0f, true)), 0)
                << w << " x " << h << " on " << threads << " threads";
        }
    }
}

TEST(RotationPaths, OtherAnglesMatchThePlainWalk) {
    const raster::Bitmap picture = numbered(123, 77);
    for (const float angle : {0.0f, 30.0f, 45.0f, 60.0f, 90.0f, 120.0f, 135.0f, 180.0f, 200.5f, 240.0f, 270.0f, 300.0f})
        for (const bool mirror : {false, true})
            EXPECT_EQ(differingPixels(fastRotate(picture, angle, mirror), plainResult(picture, angle, mirror)), 0)
                << angle << (mirror ? " mirrored" : "");
}

TEST(RotationPaths, ALargePictureMatchesThePlainWalk) {
    // Large enough that many offsets come near a half, where the exact computation decides.
    const raster::Bitmap picture = numbered(1500, 1100);
    EXPECT_EQ(differingPixels(fastRotate(picture, 90.0f, true), plainResult(picture, 90.0f, true)), 0);
}
