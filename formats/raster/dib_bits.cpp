// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/raster/dib_bits.h"

#include <cstring>

namespace raster {

namespace {

int paletteIndex(const std::uint8_t* row, int x, int bpp) {
    switch (bpp) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    default: return row[x];
    }
}

void putPaletteIndex(std::uint8_t* row, int x, int bpp, int index) {
    switch (bpp) {
    case 1: {
        const std::uint8_t mask = std::uint8_t(0x80 >> (x & 7));
        row[x >> 3] = index ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask);
        break;
    }
    case 4:
        if (x & 1) row[x >> 1] = std::uint8_t((row[x >> 1] & 0xF0) | (index & 0x0F));
        else row[x >> 1] = std::uint8_t((row[x >> 1] & 0x0F) | ((index & 0x0F) << 4));
        break;
    default: row[x] = std::uint8_t(index); break;
    }
}

} // namespace

int nearestColorIndex(const std::vector<Rgbq>& table, int r, int g, int b) {
    int best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const long dr = table[i].red - r, dg = table[i].green - g, db = table[i].blue - b;
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = int(i);
            if (d == 0) break;
        }
    }
    return best;
}

ColorMatcher::ColorMatcher(const std::vector<Rgbq>& table) : table_(table) {}

int ColorMatcher::index(int r, int g, int b) {
    const std::uint32_t key = std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16);
    if (keys_.empty()) {
        keys_.assign(kSlots, 0xFFFFFFFFu);
        values_.assign(kSlots, 0);
    }
    const std::size_t slot = ((key * 2654435761u) >> 20) & (kSlots - 1);
    if (keys_[slot] == key) return values_[slot];
    const int i = nearestColorIndex(table_, r, g, b);
    keys_[slot] = key;
    values_[slot] = std::uint8_t(i);
    return i;
}

void readPixels32(const Bitmap& src, int x, int y, int n, std::uint8_t* out) {
    const std::uint8_t* in = src.row(y);
    const int bpp = src.bitsPerPixel();
    if (bpp == 32) {
        std::memcpy(out, in + std::size_t(x) * 4, std::size_t(n) * 4);
    } else if (bpp == 24) {
        in += std::size_t(x) * 3;
        for (int i = 0; i < n; ++i, in += 3, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = 0;
        }
    } else {
        const auto& table = src.colorTable();
        for (int i = 0; i < n; ++i, out += 4) {
            const int p = paletteIndex(in, x + i, bpp);
            const Rgbq c = std::size_t(p) < table.size() ? table[std::size_t(p)] : Rgbq{};
            out[0] = c.blue;
            out[1] = c.green;
            out[2] = c.red;
            out[3] = 0;
        }
    }
}

void writePixels32(Bitmap& dst, int x, int y, int n, const std::uint8_t* in, ColorMatcher& matcher) {
    std::uint8_t* o = dst.row(y);
    const int bpp = dst.bitsPerPixel();
    if (bpp == 32) {
        std::memcpy(o + std::size_t(x) * 4, in, std::size_t(n) * 4);
    } else if (bpp == 24) {
        o += std::size_t(x) * 3;
        for (int i = 0; i < n; ++i, in += 4, o += 3) {
            o[0] = in[0];
            o[1] = in[1];
            o[2] = in[2];
        }
    } else {
        for (int i = 0; i < n; ++i, in += 4) putPaletteIndex(o, x + i, bpp, matcher.index(in[2], in[1], in[0]));
    }
}

void getDIBits32(const Bitmap& src, std::uint8_t* out) {
    const int w = src.width();
    for (int y = 0; y < src.height(); ++y) {
        std::uint8_t* o = out + std::size_t(y) * std::size_t(w) * 4;
        readPixels32(src, 0, y, w, o);
    }
}

void setDIBits32(Bitmap& dst, const std::uint8_t* in) {
    const int w = dst.width();
    ColorMatcher matcher(dst.colorTable());
    for (int y = 0; y < dst.height(); ++y)
        writePixels32(dst, 0, y, w, in + std::size_t(y) * std::size_t(w) * 4, matcher);
}

Bitmap toTopDown32(const Bitmap& src) {
    Bitmap out(src.width(), src.height(), 32, RowOrder::TopDown);
    if (!src.isNull()) getDIBits32(src, out.bits());
    return out;
}

} // namespace raster
