#include "halftone_stretch.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace jpeg {

namespace {

// Source span of one destination pixel along one axis, with the coverage weight of each source
// pixel in it (the weights of one span add up to 1).
struct Span {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Span> spansFor(int srcSize, int dstSize) {
    std::vector<Span> spans(static_cast<std::size_t>(dstSize));
    const double scale = double(srcSize) / dstSize;
    for (int d = 0; d < dstSize; ++d) {
        const double from = d * scale, to = (d + 1) * scale;
        const int first = int(std::floor(from));
        const int last = std::min(srcSize - 1, int(std::ceil(to)) - 1);
        Span& s = spans[std::size_t(d)];
        s.first = first;
        for (int i = first; i <= last; ++i) {
            const double cover = std::min<double>(i + 1, to) - std::max<double>(i, from);
            s.weights.push_back(float(cover / scale));
        }
    }
    return spans;
}

// Exact 2 x 2 averaging, the common case of chroma at half size.
void halve(const PixelRows& src, int dstWidth, int dstHeight, std::uint8_t* dst, std::ptrdiff_t stride) {
    for (int y = 0; y < dstHeight; ++y) {
        const std::uint8_t* a = src.row(2 * y);
        const std::uint8_t* b = src.row(2 * y + 1);
        std::uint8_t* out = dst + stride * y;
        for (int x = 0; x < dstWidth; ++x) {
            for (int ch = 0; ch < 3; ++ch)
                out[4 * x + ch] = std::uint8_t(
                    (a[8 * x + ch] + a[8 * x + 4 + ch] + b[8 * x + ch] + b[8 * x + 4 + ch] + 2) >> 2);
            out[4 * x + 3] = 0;
        }
    }
}

} // namespace

void halftoneStretch(const PixelRows& src, int dstWidth, int dstHeight, std::uint8_t* dst,
                     std::ptrdiff_t dstStride) {
    if (dstWidth <= 0 || dstHeight <= 0 || src.width <= 0 || src.height <= 0) return;
    if (src.width == 2 * dstWidth && src.height == 2 * dstHeight) {
        halve(src, dstWidth, dstHeight, dst, dstStride);
        return;
    }
    const std::vector<Span> across = spansFor(src.width, dstWidth);
    const std::vector<Span> down = spansFor(src.height, dstHeight);
    std::vector<float> sums(std::size_t(dstWidth) * 3);
    for (int y = 0; y < dstHeight; ++y) {
        std::fill(sums.begin(), sums.end(), 0.0f);
        const Span& dy = down[std::size_t(y)];
        for (std::size_t j = 0; j < dy.weights.size(); ++j) {
            const std::uint8_t* row = src.row(dy.first + int(j));
            const float wy = dy.weights[j];
            for (int x = 0; x < dstWidth; ++x) {
                const Span& dx = across[std::size_t(x)];
                float b = 0, g = 0, r = 0;
                for (std::size_t i = 0; i < dx.weights.size(); ++i) {
                    const std::uint8_t* p = row + 4 * (dx.first + int(i));
                    b += p[0] * dx.weights[i];
                    g += p[1] * dx.weights[i];
                    r += p[2] * dx.weights[i];
                }
                sums[3 * x] += b * wy;
                sums[3 * x + 1] += g * wy;
                sums[3 * x + 2] += r * wy;
            }
        }
        std::uint8_t* out = dst + dstStride * y;
        for (int x = 0; x < dstWidth; ++x) {
            for (int ch = 0; ch < 3; ++ch)
                out[4 * x + ch] = std::uint8_t(std::clamp(std::lround(sums[3 * x + ch]), 0L, 255L));
            out[4 * x + 3] = 0;
        }
    }
}

} // namespace jpeg
