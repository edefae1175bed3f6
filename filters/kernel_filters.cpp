// Sharpen, Blur, Smooth, Edge Enhance, Contour, Emboss, Engrave and Relief: each pixel becomes an
// integer combination of its 3 x 3 neighbourhood, plane by plane. The in-place members read
// WorkPixels while they write it, so the top and left neighbours they see are already new; that
// walking order is part of their result.
#include "filter_math.h"
#include "filter_routines.h"
#include "neighbourhood_walk.h"

#include <cstdlib>

namespace Module4 {

namespace {

inline int sumOfEight(const std::uint8_t* u, const std::uint8_t* m, const std::uint8_t* d) {
    return int(u[-4]) + u[0] + u[4] + m[-4] + m[4] + d[-4] + d[0] + d[4];
}

bool hasInterior() {
    const PixelGrid& work = moduleState().work;
    return work.width() > 2 && work.height() > 2;
}

// (centreWeight * c - neighbourWeight * S8) / divisor, truncated toward zero, then clamped.
// Int is 32 bits for the parameters the window uses and 64 bits for absurd ones, so that no
// product overflows.
template <class Int>
void weightedInPlace(RowProgress& progress, Int centreWeight, Int neighbourWeight, Int divisor) {
    if (divisor == 0 && hasInterior()) throw FilterFailure("the parameter makes the divisor zero");
    PixelGrid& work = moduleState().work;
    walkInterior(progress, work, [=](int, const std::uint8_t* u, const std::uint8_t* m,
                                     const std::uint8_t* d) {
        return clampByte((centreWeight * m[0] - neighbourWeight * sumOfEight(u, m, d)) / divisor);
    });
}

// Parameters within this range keep every sum of the weighted filters inside 32 bits.
bool fitsSmallWeights(int a) { return a > -1000000 && a < 1000000; }

struct ColorPlanes {
    int k[3];
};
ColorPlanes planesOf(int color) {
    const ColorParts c = SplitColor(color);
    return {{c.blue, c.green, c.red}};
}

// Emboss and Engrave: rows 1 to H - 1, columns 1 to W - 1, each pixel from itself and its
// bottom-right neighbour, which the walk has not reached yet.
template <class Value>
void walkWithBottomRight(RowProgress& progress, Value value) {
    PixelGrid& work = moduleState().work;
    const int w = work.width(), h = work.height();
    const std::size_t end = std::size_t(w - 1) * 4;
    progress.start();
    for (int y = 0; y < h - 1; ++y) {
        std::uint8_t* row = work.row(y);
        const std::uint8_t* below = work.row(y + 1);
        for (std::size_t i = 0; i < end; i += 4) {
            const std::uint8_t b = value(0, row[i], below[i + 4]);
            const std::uint8_t g = value(1, row[i + 1], below[i + 5]);
            const std::uint8_t r = value(2, row[i + 2], below[i + 6]);
            row[i] = b;
            row[i + 1] = g;
            row[i + 2] = r;
        }
        if (!progress.rowDone(y + 1)) return;
    }
    progress.finish();
}

inline std::uint8_t absUpTo255(int v) {
    v = std::abs(v);
    return std::uint8_t(v > 255 ? 255 : v);
}

} // namespace

void FilterSharpen(RowProgress& progress, int a) {
    if (fitsSmallWeights(a))
        weightedInPlace<std::int32_t>(progress, a + 24, 2, a + 8);
    else
        weightedInPlace<std::int64_t>(progress, std::int64_t(a) + 24, 2, std::int64_t(a) + 8);
}

void FilterEdgeEnhance(RowProgress& progress, int a) {
    if (fitsSmallWeights(a))
        weightedInPlace<std::int32_t>(progress, a + 9, 1, a + 1);
    else
        weightedInPlace<std::int64_t>(progress, std::int64_t(a) + 9, 1, std::int64_t(a) + 1);
}

void FilterBlur(RowProgress& progress) {
    walkInterior(progress, moduleState().work,
                 [](int, const std::uint8_t* u, const std::uint8_t* m, const std::uint8_t* d) {
                     return std::uint8_t(sumOfEight(u, m, d) >> 3);
                 });
}

void FilterSmooth(RowProgress& progress) {
    walkInterior(progress, moduleState().work,
                 [](int, const std::uint8_t* u, const std::uint8_t* m, const std::uint8_t* d) {
                     return std::uint8_t((int(m[-4]) + m[0] + u[0] + d[0] + m[4]) / 5);
                 });
}

void FilterContour(RowProgress& progress, int color) {
    const ColorPlanes k = planesOf(color);
    walkInterior(progress, moduleState().source,
                 [k](int plane, const std::uint8_t* u, const std::uint8_t* m, const std::uint8_t* d) {
                     return clampByte(8 * int(m[0]) - sumOfEight(u, m, d) + k.k[plane]);
                 });
}

void FilterRelief(RowProgress& progress) {
    walkInterior(progress, moduleState().source,
                 [](int, const std::uint8_t* u, const std::uint8_t* m, const std::uint8_t* d) {
                     const int t = (2 * int(u[-4]) + m[-4] + u[0] + m[0] - d[0] - m[4] - 2 * int(d[4])) / 2;
                     return t > 205 ? std::uint8_t(255) : clampByte(t + 50);
                 });
}

void FilterEmboss(RowProgress& progress, int color) {
    const ColorPlanes k = planesOf(color);
    walkWithBottomRight(progress, [k](int plane, int c, int bottomRight) {
        return absUpTo255(c - bottomRight + k.k[plane]);
    });
}

void FilterEngrave(RowProgress& progress, int color) {
    const ColorPlanes k = planesOf(color);
    walkWithBottomRight(progress, [k](int plane, int c, int bottomRight) {
        return absUpTo255(bottomRight - c + k.k[plane]);
    });
}

} // namespace Module4
