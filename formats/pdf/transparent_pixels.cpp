// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/pdf/transparent_pixels.h"

#include <algorithm>
#include <vector>

namespace pdf {

void spreadColourUnderTransparency(std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride) {
    if (!pixels || width <= 0 || height <= 0) return;
    // Colours are read from a copy of the rows around the one written, so a colour given to one
    // transparent pixel never spreads on to the next.
    const std::size_t rowBytes = std::size_t(width) * 4;
    std::vector<std::uint8_t> above(rowBytes), here(rowBytes), below(rowBytes);
    const auto copyRow = [&](std::vector<std::uint8_t>& to, int y) {
        if (y < 0 || y >= height) {
            std::fill(to.begin(), to.end(), std::uint8_t(0)); // no pixel: wholly transparent
            return;
        }
        const std::uint8_t* row = pixels + stride * y;
        std::copy(row, row + rowBytes, to.begin());
    };
    copyRow(above, -1);
    copyRow(here, 0);
    for (int y = 0; y < height; ++y) {
        copyRow(below, y + 1);
        std::uint8_t* out = pixels + stride * y;
        for (int x = 0; x < width; ++x) {
            const std::size_t at = std::size_t(x) * 4;
            if (here[at + 3] != 0) continue;
            const std::uint8_t* best = nullptr;
            const auto consider = [&best](const std::uint8_t* p) {
                if (p[3] != 0 && (!best || p[3] > best[3])) best = p;
            };
            if (x > 0) consider(&here[at - 4]);
            if (x + 1 < width) consider(&here[at + 4]);
            consider(&above[at]);
            consider(&below[at]);
            for (int c = 0; c < 3; ++c) out[at + std::size_t(c)] = best ? best[c] : 0xFF;
        }
        std::swap(above, here);
        std::swap(here, below);
    }
}

} // namespace pdf
