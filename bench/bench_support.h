// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the benchmarks share: the median of timed runs and a photo-like test picture.
#include <QImage>
#include <QRandomGenerator>

#include <algorithm>
#include <vector>

namespace kavi::bench {

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A photo-like picture: smooth gradients with grain, so no encoder gets it for free; each seed
// gives another one.
inline QImage photoLikePicture(int width, int height, int seed = 0) {
    QImage img(width, height, QImage::Format_RGB32);
    QRandomGenerator rng(std::uint32_t(seed) + 4);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int grain = int(rng.bounded(24u)) - 12;
            row[x] = qRgb(std::clamp((x + seed * 300) * 255 / width % 256 + grain, 0, 255),
                          std::clamp(y * 255 / height + grain, 0, 255),
                          std::clamp(128 + (x - y) * 64 / width + grain, 0, 255));
        }
    }
    return img;
}

} // namespace kavi::bench
