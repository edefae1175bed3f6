#include "component_transform.h"

#include "forward_dct.h"

#include "raster/parallel_parts.h"

#include <algorithm>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace jpeg {

const ColourRow kLuminanceRow = {0.299f, 0.587f, 0.114f, -128.0f};
const ColourRow kBlueRow = {-0.16874f, -0.33126f, 0.5f, 0.0f};
const ColourRow kRedRow = {0.5f, -0.41869f, -0.08131f, 0.0f};

namespace {

// Converts width pixels of one row into floats.
void convertRow(const std::uint8_t* px, int width, const ColourRow& c, float* out) {
    int x = 0;
#if defined(__SSE2__)
    const __m128 fr = _mm_set1_ps(c.r), fg = _mm_set1_ps(c.g), fb = _mm_set1_ps(c.b);
    const __m128 off = _mm_set1_ps(c.offset);
    const __m128i lowByte = _mm_set1_epi32(0xFF);
    for (; x + 4 <= width; x += 4) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(px + 4 * x));
        const __m128 b = _mm_cvtepi32_ps(_mm_and_si128(p, lowByte));
        const __m128 g = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(p, 8), lowByte));
        const __m128 r = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(p, 16), lowByte));
        const __m128 v = _mm_add_ps(_mm_add_ps(_mm_mul_ps(r, fr), _mm_mul_ps(g, fg)),
                                    _mm_add_ps(_mm_mul_ps(b, fb), off));
        _mm_storeu_ps(out + x, v);
    }
#endif
    for (; x < width; ++x) {
        const std::uint8_t* p = px + 4 * x;
        out[x] = (p[2] * c.r + p[1] * c.g) + (p[0] * c.b + c.offset);
    }
}

} // namespace

void transformComponent(const PixelRows& pixels, const ColourRow& colour, const Divisors& divisors,
                        int blocksWide, int blocksHigh, std::int16_t* store, Reduction reduction) {
    const int width = reduction.whole() ? pixels.width / reduction.fx : pixels.width;
    const int height = reduction.whole() ? pixels.height / reduction.fy : pixels.height;
    const int paddedWidth = blocksWide * 8;
    const int realWidth = std::min(width, paddedWidth);
    const Divisors transposed = transposedDivisors(divisors);

    // Each row of blocks reads its own eight pixel rows and writes its own blocks, so the rows
    // of blocks are shared out among the cores.
    raster::runRanges(blocksHigh, 4, [&](int fromBlockRow, int toBlockRow) {
        std::vector<float> strip(std::size_t(paddedWidth) * 8);
        std::vector<std::uint8_t> reducedRow(reduction.whole() ? std::size_t(width) * 4 : 0);
        const auto rowAt = [&](int y) -> const std::uint8_t* {
            if (!reduction.whole()) return pixels.row(y);
            averageRow(pixels, reduction, y, width, reducedRow.data());
            return reducedRow.data();
        };
        alignas(16) float block[64];
        for (int by = fromBlockRow; by < toBlockRow; ++by) {
            for (int r = 0; r < 8; ++r) {
                float* line = strip.data() + std::size_t(r) * paddedWidth;
                const int y = by * 8 + r;
                if (y < height || r == 0) {
                    convertRow(rowAt(std::min(y, height - 1)), realWidth, colour, line);
                    std::fill(line + realWidth, line + paddedWidth, line[realWidth - 1]);
                } else {
                    std::copy(line - paddedWidth, line, line);  // replicate the row above
                }
            }
            for (int bx = 0; bx < blocksWide; ++bx) {
                const float* src = strip.data() + bx * 8;
                for (int r = 0; r < 8; ++r)
                    std::copy(src + std::size_t(r) * paddedWidth, src + std::size_t(r) * paddedWidth + 8,
                              block + r * 8);
                forwardDctTransposed(block);
                quantizeTransposed(block, transposed, store + (std::size_t(by) * blocksWide + bx) * 64);
            }
        }
    });
}

} // namespace jpeg
