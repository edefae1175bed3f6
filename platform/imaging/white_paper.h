// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture with transparent parts laid over white paper, as it looks printed: each pixel's colour
// blended with white by its coverage (alpha). Only the drawing of a picture does this; the picture
// itself keeps its transparency.
#include <QImage>

#include <cstddef>
#include <cstdint>

namespace kavi {

// Blends `count` pixels of blue, green, red and coverage (not premultiplied) over white into
// blue, green, red and 0xFF. `from` and `to` may be the same memory.
void blendOverWhite(const std::uint8_t* from, std::uint8_t* to, std::size_t count);

// The picture as Format_RGB32 over white paper: the picture itself (shared, not copied) when it
// has no transparency, a blended copy otherwise; a null image when memory runs out.
QImage onWhitePaper(const QImage& picture);

} // namespace kavi
