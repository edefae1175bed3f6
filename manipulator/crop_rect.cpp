// SPDX-License-Identifier: GPL-3.0-or-later
#include "manipulator/crop_rect.h"

#include <algorithm>
#include <cmath>

namespace kavi {

namespace {

// A rectangle from fractional corners, in whole pixels inside the picture.
CropRect rounded(double left, double top, double right, double bottom, int width, int height) {
    const int l = std::clamp(int(std::lround(left)), 0, width), t = std::clamp(int(std::lround(top)), 0, height);
    const int r = std::clamp(int(std::lround(right)), 0, width), b = std::clamp(int(std::lround(bottom)), 0, height);
    return {l, t, std::max(0, r - l), std::max(0, b - t)};
}

} // namespace

CropRect cropFromDrag(double anchorX, double anchorY, double pointerX, double pointerY, int pictureWidth,
                      int pictureHeight, std::optional<double> aspect) {
    if (pictureWidth <= 0 || pictureHeight <= 0) return {};
    const double w = pictureWidth, h = pictureHeight;
    const double ax = std::clamp(anchorX, 0.0, w), ay = std::clamp(anchorY, 0.0, h);
    const double px = std::clamp(pointerX, 0.0, w), py = std::clamp(pointerY, 0.0, h);
    if (!aspect || !(*aspect > 0))
        return rounded(std::min(ax, px), std::min(ay, py), std::max(ax, px), std::max(ay, py), pictureWidth,
                       pictureHeight);

    // Locked: the unclamped pointer says how far the user wants to go; the room from the anchor to
    // the picture's edges in that direction says how far the rectangle can.
    const double dx = pointerX - anchorX, dy = pointerY - anchorY;
    const double a = *aspect;
    double across = std::abs(dx), down = std::abs(dy);
    if (across < down * a) across = down * a;
    else down = across / a;
    const double roomAcross = dx < 0 ? ax : w - ax, roomDown = dy < 0 ? ay : h - ay;
    if (across > roomAcross) {
        across = roomAcross;
        down = across / a;
    }
    if (down > roomDown) {
        down = roomDown;
        across = down * a;
    }
    const double left = dx < 0 ? ax - across : ax, top = dy < 0 ? ay - down : ay;
    return rounded(left, top, left + across, top + down, pictureWidth, pictureHeight);
}

CropRect largestCentredCrop(int pictureWidth, int pictureHeight, double aspect) {
    if (pictureWidth <= 0 || pictureHeight <= 0) return {};
    if (!(aspect > 0)) return {0, 0, pictureWidth, pictureHeight};
    // The size is rounded first, so the proportions are as close as whole pixels allow.
    int across = pictureWidth, down = int(std::lround(pictureWidth / aspect));
    if (down > pictureHeight) {
        down = pictureHeight;
        across = int(std::lround(pictureHeight * aspect));
    }
    across = std::clamp(across, 1, pictureWidth);
    down = std::clamp(down, 1, pictureHeight);
    return {(pictureWidth - across + 1) / 2, (pictureHeight - down + 1) / 2, across, down};
}

} // namespace kavi
