// Dilate, Erode and Edge Detect pick from the unchanged 3 x 3 neighbourhood; Diffuse copies each
// pixel from a randomly displaced position, in place.
#include "filter_math.h"
#include "filter_random.h"
#include "filter_routines.h"
#include "neighbourhood_walk.h"

#include <algorithm>

namespace Module4 {

namespace {

inline std::uint8_t largestOfNine(ByteAt u, ByteAt m, ByteAt d) {
    return std::max({u[-4], u[0], u[4], m[-4], m[0], m[4], d[-4], d[0], d[4]});
}

inline std::uint8_t smallestOfNine(ByteAt u, ByteAt m, ByteAt d) {
    return std::min({u[-4], u[0], u[4], m[-4], m[0], m[4], d[-4], d[0], d[4]});
}

// One row of Diffuse. The generator's state goes back to the process-wide one when the row
// ends, before the yield.
void diffuseRow(PixelGrid& work, std::int64_t y, double reach, double half) {
    const std::int64_t w = work.width(), h = work.height();
    std::uint8_t* out = work.row(int(y));
    FilterRandomBatch random;
    for (std::int64_t x = 0; x < w; ++x) {
        const double u1 = random.next();
        const double u2 = random.next();
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
}

} // namespace

void FilterDilate(FilterPass& pass) {
    walkInteriorFromCopy(pass, [](std::size_t, ByteAt u, ByteAt m, ByteAt d) {
        return largestOfNine(u, m, d);
    });
}

void FilterErode(FilterPass& pass) {
    walkInteriorFromCopy(pass, [](std::size_t, ByteAt u, ByteAt m, ByteAt d) {
        return smallestOfNine(u, m, d);
    });
}

void FilterEdgeDetect(FilterPass& pass) {
    walkInteriorFromCopy(pass, [](std::size_t, ByteAt u, ByteAt m, ByteAt d) {
        return std::uint8_t(m[0] - smallestOfNine(u, m, d));
    });
}

void FilterDiffuse(FilterPass& pass, int a) {
    PixelGrid& work = pass.work;
    const std::int64_t h = work.height();
    const double reach = a, half = double(roundHalfEven(reach / 2));
    pass.start();
    for (std::int64_t y = 0; y < h; ++y) {
        diffuseRow(work, y, reach, half);
        if (!pass.rowDone(int(y + 1))) return;
    }
    pass.finish();
}

} // namespace Module4
