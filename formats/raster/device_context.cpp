// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/raster/device_context.h"

#include "formats/raster/dib_bits.h"

#include <algorithm>

namespace raster {

namespace {

Bitmap* selected(const DeviceContext* dc) { return dc ? dc->bitmap() : nullptr; }

bool inside(const Bitmap* b, int x, int y) { return b && x >= 0 && y >= 0 && x < b->width() && y < b->height(); }

int paletteSize(const Bitmap& b) { return b.bitsPerPixel() <= 8 ? 1 << b.bitsPerPixel() : 0; }

} // namespace

Bitmap* SelectObject(DeviceContext* dc, Bitmap* bmp) { return dc ? dc->select(bmp) : nullptr; }

int SetStretchBltMode(DeviceContext* dc, int mode) {
    if (!dc || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    const int previous = dc->stretchMode();
    dc->setStretchMode(mode);
    return previous;
}

std::int32_t GetPixel(const DeviceContext* dc, int x, int y) {
    const Bitmap* b = selected(dc);
    if (!inside(b, x, y)) return CLR_INVALID;
    std::uint8_t px[4];
    readPixels32(*b, x, y, 1, px);
    return std::int32_t(rgb(px[2], px[1], px[0]));
}

std::int32_t SetPixel(DeviceContext* dc, int x, int y, ColorRef color) {
    Bitmap* b = selected(dc);
    if (!inside(b, x, y)) return CLR_INVALID;
    const std::uint8_t px[4] = {std::uint8_t(blueOf(color)), std::uint8_t(greenOf(color)), std::uint8_t(redOf(color)),
                                0};
    ColorMatcher matcher(b->colorTable());
    writePixels32(*b, x, y, 1, px, matcher);
    return GetPixel(dc, x, y);
}

bool SetPixelV(DeviceContext* dc, int x, int y, ColorRef color) { return SetPixel(dc, x, y, color) != CLR_INVALID; }

int GetDIBColorTable(const DeviceContext* dc, int start, int count, Rgbq* out) {
    const Bitmap* b = selected(dc);
    if (!b || !out || start < 0 || count <= 0) return 0;
    const int available = std::min<int>(paletteSize(*b), int(b->colorTable().size())) - start;
    const int n = std::min(count, available);
    for (int i = 0; i < n; ++i) out[i] = b->colorTable()[std::size_t(start + i)];
    return std::max(n, 0);
}

int SetDIBColorTable(DeviceContext* dc, int start, int count, const Rgbq* in) {
    Bitmap* b = selected(dc);
    if (!b || !in || start < 0 || count <= 0) return 0;
    const int n = std::min(count, paletteSize(*b) - start);
    if (n <= 0) return 0;
    std::vector<Rgbq> table = b->colorTable();
    if (table.size() < std::size_t(start + n)) table.resize(std::size_t(start + n));
    for (int i = 0; i < n; ++i) table[std::size_t(start + i)] = in[i];
    b->setColorTable(std::move(table));
    return n;
}

} // namespace raster
