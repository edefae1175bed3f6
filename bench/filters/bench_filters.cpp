// SPDX-License-Identifier: GPL-3.0-or-later
// Milliseconds per filter as the Cover Manipulator runs it (the picture copied into the work area,
// then ApplyFilterInPlace there, reading the unchanged picture) for each filter over a
// 4000 x 3000 photograph-like picture, and the ratio to two anchors timed in the same run:
// memcpy of the picture's bytes between warm buffers, and cv::blur with a 3 x 3 box on the same
// pixels. Each figure is the median of several rounds; the rounds interleave all measurements so
// that a busy neighbour on the machine slows every one of them alike.
#include "filters/filter_engine.h"
#include "filters/filter_random.h"
#include "formats/raster/parallel_parts.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsOf(const auto& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Smooth shading, a few hard edges and fine grain, like a scanned cover photograph.
raster::Bitmap photographLike(int w, int h) {
    raster::Bitmap bmp(w, h, 32);
    std::uint32_t grain = 1;
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = bmp.row(y);
        for (int x = 0; x < w; ++x) {
            grain = grain * 1664525u + 1013904223u;
            const int noise = int(grain >> 28) - 8;
            const double shade = 0.5 + 0.5 * std::sin(x * 0.003) * std::cos(y * 0.004);
            const bool inside = (x / 500 + y / 400) % 3 == 0;
            const int base = int(shade * 200) + (inside ? 40 : 0);
            row[x * 4 + 0] = std::uint8_t(std::clamp(base + noise, 0, 255));
            row[x * 4 + 1] = std::uint8_t(std::clamp(int(base * 0.8) + 30 + noise, 0, 255));
            row[x * 4 + 2] = std::uint8_t(std::clamp(255 - base + noise, 0, 255));
            row[x * 4 + 3] = 0;
        }
    }
    return bmp;
}

struct Filter {
    const char* name;
    int number;
    int parameter;
    const char* kind; // "chain", "wave": in place, rows run as a wavefront; "copy": from SourcePixels
    double target; // at most this many times cv::blur
};

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (argc > 2) raster::setWorkerThreads(std::atoi(argv[2])); // 1: every filter on one thread
    const int w = 4000, h = 3000;
    const raster::Bitmap original = photographLike(w, h);
    raster::Bitmap picture = original;
    std::vector<std::uint8_t> copyTarget(original.byteCount(), 1);
    cv::Mat blurTarget(h, w, CV_8UC4, cv::Scalar::all(1));
    Module4::SeedFilterRandom(1);

    const std::vector<Filter> filters{
        {"Sharpen", 1, 2, "chain", 2.0},
        {"Negative", 2, 0, "colour", 1.5},
        {"Blur", 3, 0, "wave", 1.5},
        {"Diffuse", 4, 6, "wave", 1.5},
        {"Smooth", 5, 0, "wave", 1.5},
        {"EdgeEnhance", 6, 1, "chain", 2.0},
        {"Contour", 7, int(raster::rgb(255, 255, 255)), "copy", 1.5},
        {"Emboss", 8, int(raster::rgb(0, 120, 120)), "plain", 1.5},
        {"Engrave", 10, int(raster::rgb(0, 120, 120)), "plain", 1.5},
        {"Grayscale", 12, 0, "colour", 1.5},
        {"Relief", 13, 0, "copy", 1.5},
        {"Contrast", 17, 10, "colour", 1.5},
        {"BlackWhite", 18, int(raster::rgb(180, 180, 180)), "colour", 1.5},
        {"Dilate", 25, 0, "copy", 1.5},
        {"Erode", 26, 0, "copy", 1.5},
        {"EdgeDetect", 27, 0, "copy", 1.5},
        {"AddNoise", 29, 50, "colour", 1.5},
        {"Saturation", 30, 15, "colour", 1.5},
        {"NoRoutine(0)", 0, 0, "copy", 1.5},
    };
    std::vector<double> copyTimes, blurTimes;
    std::vector<std::vector<double>> filterTimes(filters.size());
    std::vector<std::vector<double>> yieldTimes(2);

    for (int round = 0; round < rounds; ++round) {
        copyTimes.push_back(
            millisecondsOf([&] { std::memcpy(copyTarget.data(), original.bits(), original.byteCount()); }));
        const cv::Mat source(h, w, CV_8UC4, const_cast<std::uint8_t*>(original.bits()));
        blurTimes.push_back(millisecondsOf([&] { cv::blur(source, blurTarget, cv::Size(3, 3)); }));
        for (std::size_t i = 0; i < filters.size(); ++i) {
            int progress = 0;
            filterTimes[i].push_back(millisecondsOf([&] {
                picture = original; // same size: the buffer is reused, so this touches no new page
                Module4::ApplyFilterInPlace(filters[i].number, &picture, &original, filters[i].parameter, progress);
            }));
        }
        // The yield after each row: Negative with and without a callback.
        for (int withYield = 0; withYield < 2; ++withYield) {
            picture = original;
            int progress = 0;
            long calls = 0;
            const Module4::FilterYield yield = [&calls] {
                ++calls;
                return Module4::AfterYield::Continue;
            };
            yieldTimes[std::size_t(withYield)].push_back(millisecondsOf([&] {
                Module4::ApplyFilterInPlace(2, &picture, &original, 0, progress,
                                            withYield ? yield : Module4::FilterYield{});
            }));
        }
    }

    const double copyMs = median(copyTimes), blurMs = median(blurTimes);
    std::printf("picture %d x %d, 32 bits, %d rounds, medians, filters on %d threads\n", w, h, rounds,
                raster::workerThreads());
    std::printf("anchor memcpy           %8.2f ms\n", copyMs);
    std::printf("anchor cv::blur 3x3     %8.2f ms (OpenCV threads: %d)\n", blurMs, cv::getNumThreads());
    std::printf("%-14s %-7s %9s %10s %10s %8s\n", "filter", "kind", "ms", "x memcpy", "x blur", "target");
    for (std::size_t i = 0; i < filters.size(); ++i) {
        const double ms = median(filterTimes[i]);
        const double target = filters[i].target;
        std::printf("%-14s %-7s %9.2f %10.2f %10.2f %5.1fx %s\n", filters[i].name, filters[i].kind, ms, ms / copyMs,
                    ms / blurMs, target, ms / blurMs <= target ? "met" : "MISSED");
    }
    std::printf("Negative without yield %8.2f ms, with a yield after each row %8.2f ms\n", median(yieldTimes[0]),
                median(yieldTimes[1]));
    return 0;
}
