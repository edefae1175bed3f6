// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's system colours by their classic index (0 scroll bar ... 18 button text ...
// 24 tooltip background), as colour values red + 256 * green + 65536 * blue.
// No Qt here: the gradient painter is pixel code and reads system colours through this.
#include "formats/raster/bitmap.h"

namespace kavi {

constexpr int kSystemColorCount = 25;
constexpr int kColorWindow = 5;
constexpr int kColorButtonText = 18;

class SystemColors {
public:
    virtual ~SystemColors() = default;
    // The colour of index 0 ... 24; black for any other index.
    virtual raster::ColorRef color(int index) const = 0;
};

// The colours of the application's palette, read at each call so a theme change is seen.
class PaletteSystemColors final : public SystemColors {
public:
    raster::ColorRef color(int index) const override;
};

} // namespace kavi
