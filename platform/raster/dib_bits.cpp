#include "dib_bits.h"

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

void getDIBits32(const Bitmap& src, std::uint8_t* out) {
    const int w = src.width(), h = src.height(), bpp = src.bitsPerPixel();
    const auto& table = src.colorTable();
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* in = src.row(y);
        std::uint8_t* o = out + std::size_t(y) * std::size_t(w) * 4;
        if (bpp == 32) {
            std::memcpy(o, in, std::size_t(w) * 4);
        } else if (bpp == 24) {
            for (int x = 0; x < w; ++x, in += 3, o += 4) {
                o[0] = in[0]; o[1] = in[1]; o[2] = in[2]; o[3] = 0;
            }
        } else {
            for (int x = 0; x < w; ++x, o += 4) {
                const int i = paletteIndex(in, x, bpp);
                const Rgbq c = std::size_t(i) < table.size() ? table[std::size_t(i)] : Rgbq{};
                o[0] = c.blue; o[1] = c.green; o[2] = c.red; o[3] = 0;
            }
        }
    }
}

void setDIBits32(Bitmap& dst, const std::uint8_t* in) {
    const int w = dst.width(), h = dst.height(), bpp = dst.bitsPerPixel();
    const auto& table = dst.colorTable();
    for (int y = 0; y < h; ++y) {
        std::uint8_t* o = dst.row(y);
        const std::uint8_t* p = in + std::size_t(y) * std::size_t(w) * 4;
        if (bpp == 32) {
            std::memcpy(o, p, std::size_t(w) * 4);
        } else if (bpp == 24) {
            for (int x = 0; x < w; ++x, p += 4, o += 3) {
                o[0] = p[0]; o[1] = p[1]; o[2] = p[2];
            }
        } else {
            for (int x = 0; x < w; ++x, p += 4)
                putPaletteIndex(o, x, bpp, nearestColorIndex(table, p[2], p[1], p[0]));
        }
    }
}

Bitmap toTopDown32(const Bitmap& src) {
    Bitmap out(src.width(), src.height(), 32, RowOrder::TopDown);
    if (!src.isNull()) getDIBits32(src, out.bits());
    return out;
}

} // namespace raster
