// SPDX-License-Identifier: GPL-3.0-or-later
#include "coverset/png_encoder.h"

#include <libdeflate.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace kavi {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kLargestChunk = std::size_t(1) << 24; // IDAT data is split into chunks of 16 MiB
constexpr int kLargestSide = 0x7FFFFFFF;

void put32(std::string& out, std::uint32_t v) {
    const char bytes[4] = {char(v >> 24), char(v >> 16 & 0xFF), char(v >> 8 & 0xFF), char(v & 0xFF)};
    out.append(bytes, 4);
}

std::uint32_t get32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

void chunk(std::string& out, const char type[4], const char* data, std::size_t size) {
    put32(out, std::uint32_t(size));
    const std::size_t start = out.size();
    out.append(type, 4);
    out.append(data, size);
    put32(out, libdeflate_crc32(0, out.data() + start, size + 4));
}

std::uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return std::uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// One row's samples (R, G, B[, A]) from 0xAARRGGBB pixels.
void samplesOf(const std::uint32_t* pixels, int width, bool alpha, std::uint8_t* out) {
    if (alpha) {
        for (int x = 0; x < width; ++x, out += 4) {
            const std::uint32_t p = pixels[x];
            out[0] = std::uint8_t(p >> 16), out[1] = std::uint8_t(p >> 8), out[2] = std::uint8_t(p),
            out[3] = std::uint8_t(p >> 24);
        }
    } else {
        for (int x = 0; x < width; ++x, out += 3) {
            const std::uint32_t p = pixels[x];
            out[0] = std::uint8_t(p >> 16), out[1] = std::uint8_t(p >> 8), out[2] = std::uint8_t(p);
        }
    }
}

// The sum of the filtered bytes taken as signed magnitudes: smaller sums deflate better.
unsigned long cost(const std::uint8_t* row, std::size_t size) {
    unsigned long sum = 0;
    for (std::size_t i = 0; i < size; ++i) sum += row[i] < 128 ? row[i] : 256 - row[i];
    return sum;
}

// Filters row (with the row above, zeros for the first) into out: the filter-type byte, then the
// filtered bytes, by whichever of the five filters costs least.
void filterRow(const std::uint8_t* row, const std::uint8_t* above, std::size_t size, std::size_t bpp,
               std::vector<std::uint8_t> (&trial)[5], std::uint8_t* out) {
    for (std::size_t i = 0; i < size; ++i) {
        const int x = row[i], a = i >= bpp ? row[i - bpp] : 0, b = above[i], c = i >= bpp ? above[i - bpp] : 0;
        trial[0][i] = std::uint8_t(x);
        trial[1][i] = std::uint8_t(x - a);
        trial[2][i] = std::uint8_t(x - b);
        trial[3][i] = std::uint8_t(x - (a + b) / 2);
        trial[4][i] = std::uint8_t(x - paeth(a, b, c));
    }
    int best = 0;
    unsigned long bestCost = cost(trial[0].data(), size);
    for (int f = 1; f < 5; ++f) {
        const unsigned long c = cost(trial[f].data(), size);
        if (c < bestCost) best = f, bestCost = c;
    }
    out[0] = std::uint8_t(best);
    std::memcpy(out + 1, trial[best].data(), size);
}

} // namespace

std::string encodePng(const PngPixels& pixels, int level) {
    if (!pixels.data || pixels.width <= 0 || pixels.height <= 0) return {};
    const std::size_t bpp = pixels.alpha ? 4 : 3;
    const std::size_t rowSize = std::size_t(pixels.width) * bpp;
    const std::size_t filteredSize = (rowSize + 1) * std::size_t(pixels.height);
    if (filteredSize / std::size_t(pixels.height) != rowSize + 1) return {};

    std::string filtered;
    std::vector<std::uint8_t> rows[2] = {std::vector<std::uint8_t>(rowSize), std::vector<std::uint8_t>(rowSize, 0)};
    std::vector<std::uint8_t> trial[5];
    try {
        filtered.resize(filteredSize);
        for (auto& t : trial) t.resize(rowSize);
    } catch (const std::bad_alloc&) {
        return {};
    }
    for (int y = 0; y < pixels.height; ++y) {
        std::vector<std::uint8_t>& row = rows[y % 2];
        const auto* line =
            reinterpret_cast<const std::uint32_t*>(pixels.data + std::ptrdiff_t(y) * pixels.bytesPerLine);
        samplesOf(line, pixels.width, pixels.alpha, row.data());
        const std::uint8_t* above = rows[(y + 1) % 2].data(); // zeros before the first row
        filterRow(row.data(), above, rowSize, bpp, trial,
                  reinterpret_cast<std::uint8_t*>(filtered.data()) + std::size_t(y) * (rowSize + 1));
    }

    const std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
        libdeflate_alloc_compressor(level), libdeflate_free_compressor);
    if (!compressor) return {};
    std::string packed;
    try {
        packed.resize(libdeflate_zlib_compress_bound(compressor.get(), filtered.size()));
    } catch (const std::bad_alloc&) {
        return {};
    }
    packed.resize(
        libdeflate_zlib_compress(compressor.get(), filtered.data(), filtered.size(), packed.data(), packed.size()));
    if (packed.empty()) return {};
    std::string().swap(filtered);

    std::string out(reinterpret_cast<const char*>(kSignature), sizeof kSignature);
    std::string header;
    put32(header, std::uint32_t(pixels.width));
    put32(header, std::uint32_t(pixels.height));
    header += char(8); // bits per sample
    header += char(pixels.alpha ? 6 : 2); // RGBA or RGB
    header.append(3, '\0'); // deflate, adaptive filtering, no interlace
    chunk(out, "IHDR", header.data(), header.size());
    for (std::size_t at = 0; at < packed.size(); at += kLargestChunk)
        chunk(out, "IDAT", packed.data() + at, std::min(kLargestChunk, packed.size() - at));
    chunk(out, "IEND", nullptr, 0);
    return out;
}

bool readPngHeader(const std::uint8_t* data, std::size_t size, PngHeader& header) {
    constexpr std::size_t kHeaderEnd = 8 + 4 + 4 + 13 + 4;
    if (size < kHeaderEnd || std::memcmp(data, kSignature, 8) != 0) return false;
    if (get32(data + 8) != 13 || std::memcmp(data + 12, "IHDR", 4) != 0) return false;
    if (libdeflate_crc32(0, data + 12, 17) != get32(data + 29)) return false;
    const std::uint32_t width = get32(data + 16), height = get32(data + 20);
    if (width == 0 || height == 0 || width > std::uint32_t(kLargestSide) || height > std::uint32_t(kLargestSide))
        return false;
    header.width = int(width);
    header.height = int(height);
    const int colourType = data[25];
    header.alpha = colourType == 4 || colourType == 6;
    return true;
}

} // namespace kavi
