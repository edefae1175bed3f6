// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// PNG files of 32-bit pixels, written by our own code over libdeflate: 8 bits per sample, RGB or,
// when the picture has transparency, RGBA; each row filtered by the filter that leaves the smallest
// sum of magnitudes (the usual heuristic), the rows deflated at one go. No Qt.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kavi {

struct PngPixels {
    const std::uint8_t* data = nullptr; // rows of 32-bit pixels 0xAARRGGBB in native order, not premultiplied
    int width = 0;
    int height = 0;
    std::ptrdiff_t bytesPerLine = 0;
    bool alpha = false; // false: the alpha byte is ignored and an RGB file is written
};

// Fast enough to save while the user waits, and smaller than the usual default level's files.
inline constexpr int kPngDeflateLevel = 5;

// The PNG file; empty when the picture is empty, too large for a PNG, or memory lacks.
std::string encodePng(const PngPixels& pixels, int level = kPngDeflateLevel);

// The size an IHDR says, and whether its colour type carries alpha; false when the data does not
// begin with a PNG signature and a well-formed header chunk (its CRC-32 included).
struct PngHeader {
    int width = 0;
    int height = 0;
    bool alpha = false;
};
bool readPngHeader(const std::uint8_t* data, std::size_t size, PngHeader& header);

} // namespace kavi
