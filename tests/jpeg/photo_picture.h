// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A deterministic photograph-like picture for the encoder's tests and benchmark: smooth shading
// at several scales (value noise), a little grain, and a few hard-edged shapes.
#include "formats/raster/bitmap.h"
#include "formats/raster/device_context.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace jpegtest {

// A memory device context with a bitmap selected, for one call.
class MemoryDc {
public:
    explicit MemoryDc(const raster::Bitmap& bitmap) { dc_.select(const_cast<raster::Bitmap*>(&bitmap)); }
    operator const raster::DeviceContext*() const { return &dc_; }

private:
    raster::DeviceContext dc_;
};

inline raster::Bitmap photoPicture(int width, int height, std::uint32_t seed = 1) {
    raster::Bitmap bmp(width, height, 32);
    std::uint32_t state = seed * 2654435761u + 12345u;
    const auto random = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return float(state & 0xFFFF) / 65535.0f;
    };
    // One lattice of random values per scale and channel, read with bilinear interpolation.
    struct Octave {
        int cell, cols, rows;
        float amplitude;
        std::vector<float> grid[3];
    };
    std::vector<Octave> octaves;
    for (auto [cell, amplitude] : {std::pair{std::max(8, width / 4), 90.0f}, {64, 40.0f}, {16, 18.0f}, {4, 6.0f}}) {
        Octave o{cell, width / cell + 2, height / cell + 2, amplitude, {}};
        for (auto& g : o.grid) {
            g.resize(std::size_t(o.cols) * o.rows);
            for (float& v : g) v = random() - 0.5f;
        }
        octaves.push_back(std::move(o));
    }
    const int discs = 6;
    std::vector<float> disc(discs * 6);
    for (float& v : disc) v = random();

    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bmp.row(y);
        for (int x = 0; x < width; ++x) {
            float rgb[3] = {120.0f + 60.0f * x / width, 110.0f, 130.0f - 50.0f * y / height};
            for (const Octave& o : octaves) {
                const float fx = float(x) / o.cell, fy = float(y) / o.cell;
                const int ix = int(fx), iy = int(fy);
                const float tx = fx - ix, ty = fy - iy;
                for (int c = 0; c < 3; ++c) {
                    const float* g = o.grid[c].data() + std::size_t(iy) * o.cols + ix;
                    const float top = g[0] + (g[1] - g[0]) * tx;
                    const float bottom = g[o.cols] + (g[o.cols + 1] - g[o.cols]) * tx;
                    // Channels share most of their shading, as in real scenes.
                    const float* lead = o.grid[0].data() + std::size_t(iy) * o.cols + ix;
                    const float shared = (lead[0] + (lead[1] - lead[0]) * tx) * (1 - ty) +
                        (lead[o.cols] + (lead[o.cols + 1] - lead[o.cols]) * tx) * ty;
                    rgb[c] += o.amplitude * (0.7f * shared + 0.3f * (top + (bottom - top) * ty));
                }
            }
            for (int d = 0; d < discs; ++d) {
                const float* p = disc.data() + d * 6;
                const float dx = x - p[0] * width, dy = y - p[1] * height;
                const float r = (0.05f + 0.15f * p[2]) * std::min(width, height);
                if (dx * dx + dy * dy < r * r)
                    for (int c = 0; c < 3; ++c) rgb[c] = rgb[c] * 0.4f + 150.0f * p[3 + c];
            }
            const float grain = (random() - 0.5f) * 8.0f;
            row[4 * x + 0] = std::uint8_t(std::clamp(rgb[2] + grain, 0.0f, 255.0f));
            row[4 * x + 1] = std::uint8_t(std::clamp(rgb[1] + grain, 0.0f, 255.0f));
            row[4 * x + 2] = std::uint8_t(std::clamp(rgb[0] + grain, 0.0f, 255.0f));
            row[4 * x + 3] = 0;
        }
    }
    return bmp;
}

} // namespace jpegtest
