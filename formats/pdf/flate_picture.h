// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture's pixels as a PDF image stream wants them: RGB rows, each led by the PNG "Sub" filter
// tag, compressed with Flate. The Sub filter turns smooth photographs into small differences, so a
// fast compression level already packs them tightly.
#include "formats/raster/pixel_memory.h"

#include <cstddef>
#include <cstdint>

namespace pdf {

// 32-bit pixels, blue, green, red and an unused byte, rows top-down.
struct BgrxPixels {
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0; // bytes from one row to the next
};

struct FlateData {
    raster::PixelMemory bytes; // holds at least `size` bytes
    std::size_t size = 0;
};

// The zlib stream of the filtered rows. Throws std::bad_alloc when memory runs out.
FlateData compressRows(const BgrxPixels& picture);

// The zlib stream of any bytes (a page's drawing commands).
FlateData compressBytes(const void* data, std::size_t size);

// The filtered rows themselves, before compression (width * 3 + 1 bytes a row).
raster::PixelMemory subFilteredRows(const BgrxPixels& picture);

// The same for the fourth byte of each pixel taken as coverage (alpha): one grey value a pixel.
FlateData compressAlphaRows(const BgrxPixels& picture);

} // namespace pdf
