// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pens and straight lines on a raster bitmap, with the platform's line rule: a Bresenham line
// from the start point to the end point that leaves out the end pixel, so joined strokes never
// paint their shared corner twice.
#include "formats/raster/bitmap.h"

namespace raster {

// A solid pen one pixel wide.
struct Pen {
    ColorRef color = 0;
};

// Drawing state over one bitmap: the current position and the selected pen.
class LineCanvas {
public:
    explicit LineCanvas(Bitmap& target) : target_(target) {}

    void moveTo(int x, int y) {
        x_ = x;
        y_ = y;
    }
    // Draws from the current position to (x, y), leaving out (x, y), with the selected pen;
    // (x, y) becomes the current position. Pixels outside the bitmap are skipped.
    void lineTo(int x, int y);
    // Selects a pen and returns the one that was selected before.
    Pen selectPen(Pen pen) {
        Pen old = pen_;
        pen_ = pen;
        return old;
    }
    const Pen& pen() const { return pen_; }
    int x() const { return x_; }
    int y() const { return y_; }

private:
    Bitmap& target_;
    Pen pen_{};
    int x_ = 0;
    int y_ = 0;
};

// Calls plot(x, y) for every pixel of the line from (x0, y0) towards (x1, y1), end pixel left out.
template <typename Plot>
void bresenhamLine(int x0, int y0, int x1, int y1, Plot&& plot) {
    const long long dx = x1 > x0 ? (long long)x1 - x0 : (long long)x0 - x1;
    const long long dy = y1 > y0 ? (long long)y1 - y0 : (long long)y0 - y1;
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    long long x = x0, y = y0;
    if (dx >= dy) {
        long long err = 2 * dy - dx;
        for (long long i = 0; i < dx; ++i) {
            plot(x, y);
            if (err > 0) {
                y += sy;
                err -= 2 * dx;
            }
            err += 2 * dy;
            x += sx;
        }
    } else {
        long long err = 2 * dx - dy;
        for (long long i = 0; i < dy; ++i) {
            plot(x, y);
            if (err > 0) {
                x += sx;
                err -= 2 * dy;
            }
            err += 2 * dx;
            y += sy;
        }
    }
}

// Writes one pixel in the colour, converting to the bitmap's depth (palette depths take the
// nearest colour-table entry). Coordinates outside the bitmap are ignored.
void setPixelColor(Bitmap& bitmap, long long x, long long y, ColorRef color);

} // namespace raster
