// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg/component_transform.h"

#include "jpeg/block_symbols.h"
#include "jpeg/forward_dct.h"
#include "jpeg/vector_level.h"

#include "formats/raster/parallel_parts.h"

#include <algorithm>
#include <mutex>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace jpeg {

const ColourRow kLuminanceRow = {0.299f, 0.587f, 0.114f, -128.0f};
const ColourRow kBlueRow = {-0.16874f, -0.33126f, 0.5f, 0.0f};
const ColourRow kRedRow = {0.5f, -0.41869f, -0.08131f, 0.0f};

namespace {

#if defined(__x86_64__) && defined(__GNUC__)
#define KAVI_WIDE_CONVERT 1
// convertRow's SSE2 loop eight pixels at a time, the same operations in the same order.
__attribute__((target("avx2"))) int convertWide(const std::uint8_t* px, int width, const ColourRow& c, float* out) {
    const __m256 fr = _mm256_set1_ps(c.r), fg = _mm256_set1_ps(c.g), fb = _mm256_set1_ps(c.b);
    const __m256 off = _mm256_set1_ps(c.offset);
    const __m256i lowByte = _mm256_set1_epi32(0xFF);
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(px + 4 * x));
        const __m256 b = _mm256_cvtepi32_ps(_mm256_and_si256(p, lowByte));
        const __m256 g = _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(p, 8), lowByte));
        const __m256 r = _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(p, 16), lowByte));
        const __m256 v = _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(r, fr), _mm256_mul_ps(g, fg)),
                                       _mm256_add_ps(_mm256_mul_ps(b, fb), off));
        _mm256_storeu_ps(out + x, v);
    }
    return x;
}
#endif

// Converts width pixels of one row into floats.
void convertRow(const std::uint8_t* px, int width, const ColourRow& c, float* out) {
    int x = 0;
#if defined(KAVI_WIDE_CONVERT)
    if (useAvx2()) x = convertWide(px, width, c, out);
#endif
#if defined(__SSE2__)
    const __m128 fr = _mm_set1_ps(c.r), fg = _mm_set1_ps(c.g), fb = _mm_set1_ps(c.b);
    const __m128 off = _mm_set1_ps(c.offset);
    const __m128i lowByte = _mm_set1_epi32(0xFF);
    for (; x + 4 <= width; x += 4) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(px + 4 * x));
        const __m128 b = _mm_cvtepi32_ps(_mm_and_si128(p, lowByte));
        const __m128 g = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(p, 8), lowByte));
        const __m128 r = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(p, 16), lowByte));
        const __m128 v =
            _mm_add_ps(_mm_add_ps(_mm_mul_ps(r, fr), _mm_mul_ps(g, fg)), _mm_add_ps(_mm_mul_ps(b, fb), off));
        _mm_storeu_ps(out + x, v);
    }
#endif
    for (; x < width; ++x) {
        const std::uint8_t* p = px + 4 * x;
        out[x] = (p[2] * c.r + p[1] * c.g) + (p[0] * c.b + c.offset);
    }
}

// Makes this thread's streaming stores into the coefficient stores visible before the blocks
// are read elsewhere.
inline void finishStores() {
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

// A target with everything its rows of blocks need, worked out once.
struct Prepared {
    const TransformTarget* target;
    int width, height; // the samples
    int paddedWidth;
    Divisors transposed;
    int group; // index of the targets that share its samples
};

// One thread's working memory for one target.
struct TargetScratch {
    std::vector<float> strip; // eight rows of floats
    SymbolCounts ac{};
    std::uint64_t acExtraBits = 0;
};

// Converts, transforms and quantizes block row by of one target; rowAt(y) gives sample row y.
template <class RowAt>
void transformBlockRow(const Prepared& p, TargetScratch& scratch, int by, RowAt&& rowAt) {
    const TransformTarget& t = *p.target;
    float* strip = scratch.strip.data();
    for (int r = 0; r < 8; ++r) {
        float* line = strip + std::size_t(r) * p.paddedWidth;
        const int y = by * 8 + r;
        if (y < p.height || r == 0) {
            const int realWidth = std::min(p.width, p.paddedWidth);
            convertRow(rowAt(std::min(y, p.height - 1)), realWidth, t.colour, line);
            std::fill(line + realWidth, line + p.paddedWidth, line[realWidth - 1]);
        } else {
            std::copy(line - p.paddedWidth, line, line); // replicate the row above
        }
    }
    // Two blocks at a time where there are two left.
    alignas(64) float blocks[2][64];
    for (int bx = 0; bx < t.blocksWide; bx += 2) {
        const int count = bx + 1 < t.blocksWide ? 2 : 1;
        if (count == 2) forwardDctTransposedPair(strip + bx * 8, p.paddedWidth, blocks[0], blocks[1]);
        else forwardDctTransposed(strip + bx * 8, p.paddedWidth, blocks[0]);
        for (int i = 0; i < count; ++i) {
            const std::size_t index = std::size_t(by) * std::size_t(t.blocksWide) + std::size_t(bx + i);
            // The store is far larger than the caches and read only by the writing pass: the
            // block goes there around the caches, and the counting reads the copy in zz.
            alignas(64) std::int16_t zz[64];
            const std::uint64_t nonZero = quantizeToStore(blocks[i], p.transposed, zz, t.store + index * 64);
            if (t.symbols) {
                t.symbols->dc[index] = zz[0];
                countAc(zz, nonZero, scratch.ac, scratch.acExtraBits);
            }
        }
    }
}

} // namespace

void transformComponents(const PixelRows& pixels, const std::vector<TransformTarget>& targets) {
    if (targets.empty()) return;
    // The source is cut into bands of 8 * F rows, F the largest vertical factor: a target reduced
    // by fy has F / fy rows of blocks in each band.
    int bandFactor = 1;
    for (const TransformTarget& t : targets)
        bandFactor = std::max(bandFactor, t.reduction.whole() ? t.reduction.fy : 1);

    std::vector<Prepared> prepared;
    std::vector<Reduction> groups; // the reduction of each group ({} for the source's own pixels)
    int bands = 0;
    for (const TransformTarget& t : targets) {
        const Reduction r = t.reduction;
        Prepared p{&t,
                   r.whole() ? pixels.width / r.fx : pixels.width,
                   r.whole() ? pixels.height / r.fy : pixels.height,
                   t.blocksWide * 8,
                   transposedDivisors(*t.divisors),
                   -1};
        for (std::size_t g = 0; g < groups.size(); ++g)
            if (groups[g].fx == r.fx && groups[g].fy == r.fy) p.group = int(g);
        if (p.group < 0) {
            p.group = int(groups.size());
            groups.push_back(r);
        }
        const int rowsPerBand = bandFactor / (r.whole() ? r.fy : 1);
        bands = std::max(bands, (t.blocksHigh + rowsPerBand - 1) / rowsPerBand);
        if (t.symbols) {
            t.symbols->ac = {};
            t.symbols->acExtraBits = 0;
            t.symbols->dc.assign(std::size_t(t.blocksWide) * std::size_t(t.blocksHigh), 0);
        }
        prepared.push_back(p);
    }

    // Bands go to the threads in small parts as they come free, so a core that another program
    // holds for a while does not keep the others waiting. Each part writes only its own blocks;
    // the symbol counts are sums, merged in any order.
    std::mutex mergeLock;
    const int parts = raster::workerThreads() == 1 ? 1 : std::min(bands, 4 * raster::workerThreads());
    raster::runParts(parts, [&](int part) {
        const int fromBand = int(std::int64_t(bands) * part / parts);
        const int toBand = int(std::int64_t(bands) * (part + 1) / parts);
        std::vector<TargetScratch> scratch(prepared.size());
        for (std::size_t i = 0; i < prepared.size(); ++i)
            scratch[i].strip.resize(std::size_t(prepared[i].paddedWidth) * 8);
        // Eight rows of block means per reduced group, shared by its targets.
        std::vector<std::vector<std::uint8_t>> means(groups.size());
        std::vector<int> groupWidth(groups.size(), 0), groupHeight(groups.size(), 0), groupBlocksHigh(groups.size(), 0);
        for (const Prepared& p : prepared) {
            groupWidth[std::size_t(p.group)] = p.width;
            groupHeight[std::size_t(p.group)] = p.height;
            groupBlocksHigh[std::size_t(p.group)] =
                std::max(groupBlocksHigh[std::size_t(p.group)], p.target->blocksHigh);
        }
        for (std::size_t g = 0; g < groups.size(); ++g)
            if (groups[g].whole()) means[g].resize(std::size_t(groupWidth[g]) * 4 * 8);

        for (int band = fromBand; band < toBand; ++band) {
            for (std::size_t g = 0; g < groups.size(); ++g) {
                const Reduction r = groups[g];
                const int rowsPerBand = bandFactor / (r.whole() ? r.fy : 1);
                const int fromRow = band * rowsPerBand;
                const int toRow = std::min(fromRow + rowsPerBand, groupBlocksHigh[g]);
                for (int by = fromRow; by < toRow; ++by) {
                    const std::size_t meanStride = std::size_t(groupWidth[g]) * 4;
                    if (r.whole())
                        for (int y = by * 8; y < std::min(by * 8 + 8, groupHeight[g]); ++y)
                            averageRow(pixels, r, y, groupWidth[g],
                                       means[g].data() + std::size_t(y - by * 8) * meanStride);
                    const auto rowAt = [&](int y) -> const std::uint8_t* {
                        if (!r.whole()) return pixels.row(y);
                        return means[g].data() + std::size_t(y - by * 8) * meanStride;
                    };
                    for (std::size_t i = 0; i < prepared.size(); ++i)
                        if (prepared[i].group == int(g) && by < prepared[i].target->blocksHigh)
                            transformBlockRow(prepared[i], scratch[i], by, rowAt);
                }
            }
        }

        finishStores();
        const std::lock_guard lock(mergeLock);
        for (std::size_t i = 0; i < prepared.size(); ++i) {
            ComponentSymbols* symbols = prepared[i].target->symbols;
            if (!symbols) continue;
            for (std::size_t s = 0; s < symbols->ac.size(); ++s) symbols->ac[s] += scratch[i].ac[s];
            symbols->acExtraBits += scratch[i].acExtraBits;
        }
    });
}

} // namespace jpeg
