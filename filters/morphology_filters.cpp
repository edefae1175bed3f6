// Dilate, Erode and Edge Detect pick from the unchanged 3 x 3 neighbourhood; Diffuse copies each
// pixel from a randomly displaced position, in place.
#include "filter_math.h"
#include "filter_random.h"
#include "filter_routines.h"
#include "neighbourhood_walk.h"

#include <algorithm>

namespace Module4 {

namespace {

inline std::uint8_t largestOfNine(const std::uint8_t* u, const std::uint8_t* m, const std::uint8_t* d) {
    return std::max({u[-4], u[0], u[4], m[-4], m[0], m[4], d[-4], d[0], d[4]});
}

inline std::uint8_t smallestOfNine(const std::uint8_t* u, const std::uint8_t* m, const std::uint8_t* d) {
    return std::min({u[-4], u[0], u[4], m[-4], m[0], m[4], d[-4], d[0], d[4]});
}

} // namespace

void FilterDilate(RowProgress& progress) {
    walkInterior(progress, moduleState().source,
                 [](int, const std::uint8_t* u, const std::uint8_t* m, const std::uint8_t* d) {
                     return largestOfNine(u, m, d);
                 });
}

void FilterErode(RowProgress& progress) {
    walkInterior(progress, moduleState().source,
                 [](int, const std::uint8_t* u, const std::uint8_t* m, const std::uint8_t* d) {
                     return smallestOfNine(u, m, d);
                 });
}

void FilterEdgeDetect(RowProgress& progress) {
    walkInterior(progress, moduleState().source,
                 [](int, const std::uint8_t* u, const std::uint8_t* m, const std::uint8_t* d) {
                     return std::uint8_t(m[0] - smallestOfNine(u, m, d));
                 });
}

void FilterDiffuse(RowProgress& progress, int a) {
    PixelGrid& work = moduleState().work;
    const std::int64_t w = work.width(), h = work.height();
    const double reach = a, half = double(roundHalfEven(reach / 2));
    progress.start();
    for (std::int64_t y = 0; y < h; ++y) {
        std::uint8_t* out = work.row(int(y));
        for (std::int64_t x = 0; x < w; ++x) {
            const double u1 = DrawFilterRandom();
            const double u2 = DrawFilterRandom();
            std::int64_t dx = roundHalfEven(u1 * reach - half);
            std::int64_t dy = roundHalfEven(u2 * reach - half);
            // An offset that would leave the picture is dropped, not shortened to the edge.
            if (x + dx < 0 || x + dx >= w) dx = 0;
            if (y + dy < 0 || y + dy >= h) dy = 0;
            const std::uint8_t* in = work.row(int(y + dy)) + (x + dx) * 4;
            std::uint8_t* px = out + x * 4;
            const std::uint8_t b = in[0], g = in[1], r = in[2];
            px[0] = b;
            px[1] = g;
            px[2] = r;
        }
        if (!progress.rowDone(int(y + 1))) return;
    }
    progress.finish();
}

} // namespace Module4
