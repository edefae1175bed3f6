// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reduces a 32-bit picture (blue, green, red, reserved per pixel) to at most 256 colours for
// palette formats. A picture of at most 256 colours keeps them exactly; a richer one gets a
// palette cut along the colour distribution and Floyd-Steinberg error diffusion against banding.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavi {

struct PaletteColour {
    std::uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const PaletteColour&) const = default;
};

struct PalettePicture {
    std::vector<PaletteColour> palette; // 1 to 256 entries
    std::vector<std::uint8_t> indices; // width * height, top row first
};

// pixels: height rows of stride bytes, the top row first. width and height must be positive.
PalettePicture quantiseTo256(const std::uint8_t* pixels, int width, int height, std::size_t stride);

} // namespace kavi
