// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/raster/blit.h"

#include "formats/raster/dib_bits.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace raster {

namespace {

std::uint8_t opByte(std::uint32_t rop) { return std::uint8_t((rop >> 16) & 0xFF); }

// Combines n source pixels (32-bit) with row y of the destination from column x and writes them.
// Columns outside the destination are dropped. rop SRCCOPY writes the source as it is.
class RowWriter {
public:
    RowWriter(Bitmap& dst, std::uint32_t rop, ColorRef brush)
        : dst_(dst), rop_(rop), matcher_(dst.colorTable()), brush_(brush) {}

    void write(int x, int y, int n, const std::uint8_t* px) {
        if (y < 0 || y >= dst_.height()) return;
        int first = 0, count = n;
        if (x < 0) {
            first = -x;
            count -= first;
            x = 0;
        }
        if (x + count > dst_.width()) count = dst_.width() - x;
        if (count <= 0) return;
        px += std::size_t(first) * 4;
        if (rop_ != SRCCOPY) {
            combined_.resize(std::size_t(count) * 4);
            if (ropUsesDestination(rop_)) readPixels32(dst_, x, y, count, combined_.data());
            const std::uint8_t pattern[3] = {std::uint8_t(blueOf(brush_)), std::uint8_t(greenOf(brush_)),
                                             std::uint8_t(redOf(brush_))};
            for (int i = 0; i < count; ++i) {
                std::uint8_t* d = &combined_[std::size_t(i) * 4];
                const std::uint8_t* s = px + std::size_t(i) * 4;
                for (int c = 0; c < 3; ++c) d[c] = applyRop(rop_, pattern[c], s[c], d[c]);
                d[3] = 0;
            }
            px = combined_.data();
        }
        writePixels32(dst_, x, y, count, px, matcher_);
    }

private:
    Bitmap& dst_;
    std::uint32_t rop_;
    ColorMatcher matcher_;
    ColorRef brush_;
    std::vector<std::uint8_t> combined_;
};

bool sameColorTables(const Bitmap& a, const Bitmap& b) {
    const std::size_t n = std::size_t(1) << a.bitsPerPixel();
    auto entry = [](const Bitmap& bm, std::size_t i) {
        return i < bm.colorTable().size() ? bm.colorTable()[i] : Rgbq{};
    };
    for (std::size_t i = 0; i < n; ++i)
        if (!(entry(a, i) == entry(b, i))) return false;
    return true;
}

// Floor division for a positive divisor.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// Area weights of one axis for HALFTONE: target pixel i covers source units [i*sn, (i+1)*sn) on a
// scale where source pixel k covers [k*dn, (k+1)*dn); the overlaps of one target pixel sum to sn.
struct AxisWeights {
    std::vector<int> first; // first source pixel of each target pixel
    std::vector<int> offset; // start of its weights in `weights`
    std::vector<std::int64_t> weights;
};

AxisWeights halftoneWeights(int sn, int dn) {
    AxisWeights a;
    a.first.resize(std::size_t(dn));
    a.offset.resize(std::size_t(dn) + 1);
    for (int i = 0; i < dn; ++i) {
        const std::int64_t lo = std::int64_t(i) * sn, hi = std::int64_t(i + 1) * sn;
        const int k0 = int(lo / dn), k1 = int((hi - 1) / dn);
        a.first[std::size_t(i)] = k0;
        a.offset[std::size_t(i)] = int(a.weights.size());
        for (int k = k0; k <= k1; ++k) {
            const std::int64_t from = std::max<std::int64_t>(lo, std::int64_t(k) * dn);
            const std::int64_t to = std::min<std::int64_t>(hi, std::int64_t(k + 1) * dn);
            a.weights.push_back(to - from);
        }
    }
    a.offset[std::size_t(dn)] = int(a.weights.size());
    return a;
}

} // namespace

bool ropUsesSource(std::uint32_t rop) {
    const unsigned op = opByte(rop);
    return (((op >> 2) ^ op) & 0x33) != 0;
}

bool ropUsesDestination(std::uint32_t rop) {
    const unsigned op = opByte(rop);
    return (((op >> 1) ^ op) & 0x55) != 0;
}

std::uint8_t applyRop(std::uint32_t rop, std::uint8_t p, std::uint8_t s, std::uint8_t d) {
    switch (rop) {
    case SRCCOPY: return s;
    case SRCPAINT: return s | d;
    case SRCAND: return s & d;
    case SRCINVERT: return s ^ d;
    case NOTSRCCOPY: return std::uint8_t(~s);
    case DSTINVERT: return std::uint8_t(~d);
    case BLACKNESS: return 0;
    case WHITENESS: return 255;
    default: break;
    }
    // The truth table: bit (4p + 2s + d) of the operation byte, for every bit of the channel.
    const unsigned op = opByte(rop);
    unsigned result = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((op >> i) & 1)) continue;
        const unsigned mp = (i & 4) ? p : unsigned(~p), ms = (i & 2) ? s : unsigned(~s),
                       md = (i & 1) ? d : unsigned(~d);
        result |= mp & ms & md;
    }
    return std::uint8_t(result);
}

bool BitBlt(DeviceContext* dst, int x, int y, int w, int h, const DeviceContext* src, int sx, int sy,
            std::uint32_t rop) {
    Bitmap* d = dst ? dst->bitmap() : nullptr;
    if (!d) return false;
    const bool usesSource = ropUsesSource(rop);
    const Bitmap* s = src ? src->bitmap() : nullptr;
    if (usesSource && !s) return false;
    if (w <= 0 || h <= 0) return true;

    // Clip to the destination, then (when the source is read) to the source.
    auto clip = [&](int& pos, int& other, int& len, int limit) {
        if (pos < 0) {
            other -= pos;
            len += pos;
            pos = 0;
        }
        if (pos + len > limit) len = limit - pos;
    };
    int dummyX = 0, dummyY = 0;
    clip(x, usesSource ? sx : dummyX, w, d->width());
    clip(y, usesSource ? sy : dummyY, h, d->height());
    if (usesSource) {
        clip(sx, x, w, s->width());
        clip(sy, y, h, s->height());
    }
    if (w <= 0 || h <= 0) return true;

    // A transfer within one bitmap reads from a copy, so that overlapping rectangles work.
    Bitmap copy;
    if (usesSource && s == d) {
        copy = *s;
        s = &copy;
    }

    if (usesSource && rop == SRCCOPY && s->bitsPerPixel() == d->bitsPerPixel() && s->bitsPerPixel() >= 8 &&
        (s->bitsPerPixel() > 8 || sameColorTables(*s, *d))) {
        const std::size_t bytesPerPixel = std::size_t(s->bitsPerPixel()) / 8;
        for (int r = 0; r < h; ++r)
            std::memcpy(d->row(y + r) + std::size_t(x) * bytesPerPixel,
                        s->row(sy + r) + std::size_t(sx) * bytesPerPixel, std::size_t(w) * bytesPerPixel);
        return true;
    }

    RowWriter writer(*d, rop, dst->brushColor());
    std::vector<std::uint8_t> row(std::size_t(w) * 4, 0);
    for (int r = 0; r < h; ++r) {
        if (usesSource) readPixels32(*s, sx, sy + r, w, row.data());
        writer.write(x, y + r, w, row.data());
    }
    return true;
}

bool StretchBlt(DeviceContext* dst, int x, int y, int w, int h, const DeviceContext* src, int sx, int sy, int sw,
                int sh, std::uint32_t rop) {
    Bitmap* d = dst ? dst->bitmap() : nullptr;
    const Bitmap* s = src ? src->bitmap() : nullptr;
    if (!d) return false;
    if (!ropUsesSource(rop))
        return BitBlt(dst, std::min(x, x + w), std::min(y, y + h), std::abs(w), std::abs(h), nullptr, 0, 0, rop);
    if (!s) return false;
    if (w == 0 || h == 0 || sw == 0 || sh == 0) return true;

    const bool mirrorX = (w < 0) != (sw < 0), mirrorY = (h < 0) != (sh < 0);
    if (w < 0) {
        x += w;
        w = -w;
    }
    if (h < 0) {
        y += h;
        h = -h;
    }
    if (sw < 0) {
        sx += sw;
        sw = -sw;
    }
    if (sh < 0) {
        sy += sh;
        sh = -sh;
    }
    if (sx < 0 || sy < 0 || sx + sw > s->width() || sy + sh > s->height()) return false;
    if (w == sw && h == sh && !mirrorX && !mirrorY) return BitBlt(dst, x, y, w, h, src, sx, sy, rop);

    Bitmap copy;
    if (s == d) {
        copy = *s;
        s = &copy;
    }
    // Only the visible target rows and columns are computed.
    const int colFrom = std::max(0, -x), colTo = std::min(w, d->width() - x);
    const int rowFrom = std::max(0, -y), rowTo = std::min(h, d->height() - y);
    if (colFrom >= colTo || rowFrom >= rowTo) return true;

    RowWriter writer(*d, rop, dst->brushColor());
    std::vector<std::uint8_t> out(std::size_t(w) * 4, 0);
    std::vector<std::uint8_t> srcRow(std::size_t(sw) * 4);
    auto targetColumn = [&](int i) { return mirrorX ? w - 1 - i : i; };
    auto targetRow = [&](int j) { return mirrorY ? h - 1 - j : j; };

    if (dst->stretchMode() != HALFTONE) {
        std::vector<int> column(static_cast<std::size_t>(w));
        for (int i = 0; i < w; ++i)
            column[std::size_t(i)] = int((std::int64_t(2 * i + 1) * sw) / (2 * std::int64_t(w)));
        for (int j = rowFrom; j < rowTo; ++j) {
            const int jt = targetRow(j);
            const int k = int((std::int64_t(2 * jt + 1) * sh) / (2 * std::int64_t(h)));
            readPixels32(*s, sx, sy + k, sw, srcRow.data());
            for (int i = 0; i < w; ++i)
                std::memcpy(&out[std::size_t(i) * 4], &srcRow[std::size_t(column[std::size_t(targetColumn(i))]) * 4],
                            4);
            writer.write(x, y + j, w, out.data());
        }
        return true;
    }

    const AxisWeights wx = halftoneWeights(sw, w), wy = halftoneWeights(sh, h);
    const std::int64_t area = std::int64_t(sw) * sh;
    // Rounded half up: (2 * sum + area) div (2 * area). The quotient is estimated through a
    // reciprocal and corrected to the exact integer, which spares a 64-bit division per channel.
    const std::int64_t denominator = 2 * area;
    const double reciprocal = 1.0 / double(denominator);
    auto meanOf = [&](std::int64_t sum) {
        const std::int64_t numerator = 2 * sum + area;
        // The estimate is off by at most one either way; both corrections are branch-free.
        std::int64_t q = std::int64_t(double(numerator) * reciprocal + 0.5);
        q -= std::int64_t(q * denominator > numerator);
        q += std::int64_t((q + 1) * denominator <= numerator);
        return std::uint8_t(q);
    };
    std::vector<std::int64_t> acc(std::size_t(w) * 3);
    const int* firstX = wx.first.data();
    const int* offsetX = wx.offset.data();
    const std::int64_t* weightX = wx.weights.data();
    for (int j = rowFrom; j < rowTo; ++j) {
        const int jt = targetRow(j);
        std::fill(acc.begin(), acc.end(), 0);
        const int n0 = wy.offset[std::size_t(jt)], n1 = wy.offset[std::size_t(jt) + 1];
        for (int n = n0; n < n1; ++n) {
            const std::int64_t wyk = wy.weights[std::size_t(n)];
            const int k = wy.first[std::size_t(jt)] + (n - n0);
            // 32-bit sources are read in place; other depths through one converted row.
            const std::uint8_t* row;
            if (s->bitsPerPixel() == 32) {
                row = s->row(sy + k) + std::size_t(sx) * 4;
            } else {
                readPixels32(*s, sx, sy + k, sw, srcRow.data());
                row = srcRow.data();
            }
            std::int64_t* a = acc.data();
            for (int i = 0; i < w; ++i, a += 3) {
                const std::uint8_t* p = row + std::size_t(firstX[i]) * 4;
                std::int64_t b = 0, g = 0, r = 0;
                for (int m = offsetX[i], end = offsetX[i + 1]; m < end; ++m, p += 4) {
                    const std::int64_t wxm = weightX[m];
                    b += wxm * p[0];
                    g += wxm * p[1];
                    r += wxm * p[2];
                }
                a[0] += wyk * b;
                a[1] += wyk * g;
                a[2] += wyk * r;
            }
        }
        for (int i = 0; i < w; ++i) {
            std::uint8_t* o = &out[std::size_t(targetColumn(i)) * 4];
            for (int c = 0; c < 3; ++c) o[c] = meanOf(acc[std::size_t(i) * 3 + c]);
            o[3] = 0;
        }
        writer.write(x, y + j, w, out.data());
    }
    return true;
}

bool PlgBlt(DeviceContext* dst, const Point points[3], const DeviceContext* src, int sx, int sy, int w, int h) {
    Bitmap* d = dst ? dst->bitmap() : nullptr;
    const Bitmap* s = src ? src->bitmap() : nullptr;
    if (!d || !s || !points || w <= 0 || h <= 0) return false;
    const std::int64_t ax = points[1].x - points[0].x, ay = points[1].y - points[0].y;
    const std::int64_t bx = points[2].x - points[0].x, by = points[2].y - points[0].y;
    const std::int64_t det = ax * by - ay * bx;
    if (det == 0) return false;

    Bitmap copy;
    if (s == d) {
        copy = *s;
        s = &copy;
    }
    const int fourthX = points[1].x + points[2].x - points[0].x, fourthY = points[1].y + points[2].y - points[0].y;
    const int left = std::max(0, std::min({points[0].x, points[1].x, points[2].x, fourthX}));
    const int right = std::min(d->width(), std::max({points[0].x, points[1].x, points[2].x, fourthX}) + 1);
    const int top = std::max(0, std::min({points[0].y, points[1].y, points[2].y, fourthY}));
    const int bottom = std::min(d->height(), std::max({points[0].y, points[1].y, points[2].y, fourthY}) + 1);

    RowWriter writer(*d, SRCCOPY, dst->brushColor());
    std::uint8_t px[4];
    for (int py = top; py < bottom; ++py) {
        for (int pxl = left; pxl < right; ++pxl) {
            // Twice the offset of the pixel's centre from points[0], solved exactly in integers:
            // centre = p0 + (u / w) a + (v / h) b.
            const std::int64_t qx = 2 * std::int64_t(pxl - points[0].x) + 1,
                               qy = 2 * std::int64_t(py - points[0].y) + 1;
            const std::int64_t u = floorDiv(std::int64_t(w) * (qx * by - qy * bx), 2 * det);
            const std::int64_t v = floorDiv(std::int64_t(h) * (ax * qy - ay * qx), 2 * det);
            if (u < 0 || v < 0 || u >= w || v >= h) continue;
            const std::int64_t srcX = sx + u, srcY = sy + v;
            if (srcX < 0 || srcY < 0 || srcX >= s->width() || srcY >= s->height()) continue;
            readPixels32(*s, int(srcX), int(srcY), 1, px);
            writer.write(pxl, py, 1, px);
        }
    }
    return true;
}

} // namespace raster
