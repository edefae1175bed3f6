// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the Cover Manipulator's toolbar commands and of opening the window on a 4000 x 3000
// picture, each as the user runs it (buffer copies included), against anchors measured in the same
// run: a plain copy of the picture's bytes between warm buffers, a plain quarter-turn copy, and
// (for opening) a plain copy plus one smooth scale of the picture to 160 x 160 pixels.
// Prints the median of several runs of each, in milliseconds, and its ratio to its anchor.
#include "manipulator/manipulator_buffers.h"
#include "manipulator/manipulator_window.h"
#include "platform/imaging/qt_raster.h"
#include "platform/platform.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr int kWidth = 4000, kHeight = 3000;

double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

raster::Bitmap picture() {
    raster::Bitmap b(kWidth, kHeight, 32);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(b.row(y));
        for (int x = 0; x < kWidth; ++x)
            row[x] = std::uint32_t((x * 255 / kWidth) | ((y * 255 / kHeight) << 8) | (((x ^ y) & 255) << 16));
    }
    return b;
}

// The anchor of Rotate: each pixel moved once to its place a quarter turn clockwise, in tiles.
void quarterTurn(const raster::Bitmap& src, raster::Bitmap& dst) {
    const int w = src.width(), h = src.height();
    constexpr int kTile = 64;
    for (int y0 = 0; y0 < h; y0 += kTile)
        for (int x0 = 0; x0 < w; x0 += kTile)
            for (int y = y0; y < std::min(h, y0 + kTile); ++y) {
                const auto* in = reinterpret_cast<const std::uint32_t*>(src.row(y));
                for (int x = x0; x < std::min(w, x0 + kTile); ++x)
                    reinterpret_cast<std::uint32_t*>(dst.row(x))[h - 1 - y] = in[x];
            }
}

class Workspace final : public kavi::ManipulatorWorkspace {
public:
    QImage slot;
    QString selectedImage() const override { return QStringLiteral("Image1"); }
    QImage slotPicture(int) const override { return slot; }
    void setSlotPicture(int, QImage) override {}
};

void report(const char* name, double ms, double anchorMs, const char* anchorName, double target) {
    std::printf("%-12s %9.1f ms   anchor %-28s %8.1f ms   ratio %6.2f   (target <= %.0f) %s\n", name, ms, anchorName,
                anchorMs, ms / anchorMs, target, ms / anchorMs <= target ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const raster::Bitmap original = picture();

    raster::Bitmap a = original, b = original;
    const double copyMs = medianMs(9, [&] { std::memcpy(b.bits(), a.bits(), a.byteCount()); });
    raster::Bitmap turned(kHeight, kWidth, 32);
    quarterTurn(original, turned);
    const double turnMs = medianMs(7, [&] { quarterTurn(original, turned); });

    kavi::ManipulatorBuffers buffers;
    buffers.load(original);
    buffers.rotate(); // every buffer has met the picture once, as after the user's first command
    buffers.brightness(10);
    const double rotateMs = medianMs(5, [&] { buffers.rotate(); });
    const double mirrorMs = medianMs(9, [&] { buffers.mirror(); });
    const double flipMs = medianMs(9, [&] { buffers.flip(); });
    const double brightMs = medianMs(9, [&] { buffers.brightness(50); });

    Workspace workspace;
    workspace.slot = kavi::toImage(original);
    const double scaleMs = medianMs(5, [&] {
        std::memcpy(b.bits(), a.bits(), a.byteCount());
        const QImage small = workspace.slot.scaled(160, 160, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        (void)small;
    });
    kavi::RealPlatform platform(QUrl(QStringLiteral("http://127.0.0.1:9")));
    const double openMs = medianMs(5, [&] { kavi::ManipulatorWindow window(platform.platform(), workspace); });

    std::printf("Cover Manipulator on a %d x %d picture, medians\n", kWidth, kHeight);
    report("Rotate", rotateMs, turnMs, "quarter-turn copy", 8);
    report("Mirror", mirrorMs, copyMs, "copy of the bytes", 10);
    report("Flip", flipMs, copyMs, "copy of the bytes", 10);
    report("Brightness", brightMs, copyMs, "copy of the bytes", 10);
    report("Open", openMs, scaleMs, "copy + smooth scale to 160", 5);
    return 0;
}
