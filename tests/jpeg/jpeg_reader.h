// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads back a baseline JPEG file for the tests: every marker segment with its length, and the
// entropy-coded data of each scan decoded into coefficient blocks, recording which Huffman
// symbols were used. Failures are reported through gtest and stop the reading.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace jpegtest {

struct Segment {
    std::uint8_t marker = 0;
    std::size_t offset = 0; // of the 0xFF
    std::vector<std::uint8_t> body; // after the length field
};

struct HuffTable {
    std::array<std::uint8_t, 17> bits{};
    std::vector<std::uint8_t> values;
    std::map<std::pair<int, int>, std::uint8_t> byCode; // (length, code) -> symbol
    std::map<std::uint8_t, int> used; // symbol -> times decoded
};

struct FrameComponent {
    int id = 0, h = 1, v = 1, table = 0;
    int blocksWide = 0, blocksHigh = 0;
    std::vector<std::array<int, 64>> blocks; // zig-zag order, raster order
};

struct ScanData {
    std::vector<int> components; // indices into the frame
    std::vector<std::uint8_t> data; // entropy-coded bytes as stored (stuffing included)
};

struct JpegFile {
    std::vector<Segment> segments;
    std::vector<ScanData> scans;
    int width = 0, height = 0;
    std::vector<FrameComponent> components;
    std::map<int, std::array<int, 64>> quant; // slot -> zig-zag entries
    std::map<int, HuffTable> huff; // class * 16 + slot
    bool ok = false;
};

inline int u16(const std::vector<std::uint8_t>& b, std::size_t i) { return b[i] * 256 + b[i + 1]; }

class BitReader {
public:
    explicit BitReader(const std::vector<std::uint8_t>& d) : d_(d) {}
    int bit() {
        if (mask_ == 0) {
            if (pos_ >= d_.size()) {
                overrun = true;
                return 1;
            }
            cur_ = d_[pos_++];
            if (cur_ == 0xFF) {
                if (pos_ >= d_.size() || d_[pos_] != 0) badStuffing = true;
                ++pos_;
            }
            mask_ = 0x80;
        }
        const int b = (cur_ & mask_) ? 1 : 0;
        mask_ >>= 1;
        return b;
    }
    int bits(int n) {
        int v = 0;
        for (int i = 0; i < n; ++i) v = v * 2 + bit();
        return v;
    }
    // Bits left in the current byte must be padding ones; then every byte must be used.
    bool paddedToEnd() {
        while (mask_)
            if (!bit()) return false;
        return pos_ == d_.size();
    }
    bool overrun = false, badStuffing = false;

private:
    const std::vector<std::uint8_t>& d_;
    std::size_t pos_ = 0;
    std::uint8_t cur_ = 0, mask_ = 0;
};

inline int decodeSymbol(BitReader& in, HuffTable& t) {
    int code = 0;
    for (int len = 1; len <= 16; ++len) {
        code = code * 2 + in.bit();
        const auto it = t.byCode.find({len, code});
        if (it != t.byCode.end()) {
            ++t.used[it->second];
            return it->second;
        }
    }
    ADD_FAILURE() << "no Huffman code matches";
    return -1;
}

inline int extend(int raw, int size) { return size && raw < (1 << (size - 1)) ? raw - (1 << size) + 1 : raw; }

inline bool decodeBlock(BitReader& in, HuffTable& dc, HuffTable& ac, int& pred, std::array<int, 64>& out) {
    out.fill(0);
    const int size = decodeSymbol(in, dc);
    if (size < 0 || size > 11) return false;
    pred += extend(in.bits(size), size);
    out[0] = pred;
    for (int k = 1; k < 64;) {
        const int sym = decodeSymbol(in, ac);
        if (sym < 0) return false;
        if (sym == 0) break;
        k += sym >> 4;
        const int s = sym & 15;
        if (s == 0) {
            if (sym != 0xF0) return false;
            ++k;
            continue;
        }
        if (k > 63) return false;
        out[k++] = extend(in.bits(s), s);
    }
    return !in.overrun;
}

// Parses the file; entropy data is decoded into the frame's components.
inline JpegFile readJpeg(const std::vector<std::uint8_t>& f) {
    JpegFile jf;
    if (f.size() < 4 || f[0] != 0xFF || f[1] != 0xD8) {
        ADD_FAILURE() << "no SOI";
        return jf;
    }
    jf.segments.push_back({0xD8, 0, {}});
    std::size_t i = 2;
    while (i + 1 < f.size()) {
        if (f[i] != 0xFF) {
            ADD_FAILURE() << "no marker at " << i;
            return jf;
        }
        const std::uint8_t m = f[i + 1];
        if (m == 0xD9) {
            jf.segments.push_back({m, i, {}});
            if (i + 2 != f.size()) {
                ADD_FAILURE() << "bytes after EOI";
                return jf;
            }
            jf.ok = true;
            break;
        }
        if (i + 4 > f.size()) {
            ADD_FAILURE() << "truncated";
            return jf;
        }
        const std::size_t len = std::size_t(f[i + 2] * 256 + f[i + 3]);
        if (len < 2 || i + 2 + len > f.size()) {
            ADD_FAILURE() << "bad length at " << i;
            return jf;
        }
        Segment s{m, i, std::vector<std::uint8_t>(f.begin() + long(i + 4), f.begin() + long(i + 2 + len))};
        i += 2 + len;
        const auto& b = s.body;
        if (m == 0xDB) {
            EXPECT_EQ(b.size(), 65u) << "one 8-bit table per DQT";
            std::array<int, 64> q{};
            for (int k = 0; k < 64; ++k) q[k] = b[1 + k];
            jf.quant[b[0] & 15] = q;
        } else if (m == 0xC0) {
            jf.height = u16(b, 1);
            jf.width = u16(b, 3);
            EXPECT_EQ(b.size(), 6u + 3u * b[5]);
            for (int c = 0; c < b[5]; ++c)
                jf.components.push_back({b[6 + 3 * c], b[7 + 3 * c] >> 4, b[7 + 3 * c] & 15, b[8 + 3 * c], 0, 0, {}});
        } else if (m == 0xC4) {
            HuffTable t;
            std::size_t count = 0;
            for (int l = 1; l <= 16; ++l) count += t.bits[l] = b[l];
            EXPECT_EQ(b.size(), 17 + count) << "one table per DHT";
            t.values.assign(b.begin() + 17, b.end());
            int code = 0;
            std::size_t k = 0;
            for (int l = 1; l <= 16; ++l, code *= 2)
                for (int n = 0; n < t.bits[l]; ++n, ++code, ++k) {
                    EXPECT_NE(code, (1 << l) - 1) << "all-ones code of length " << l;
                    EXPECT_LT(code, 1 << l);
                    if (k < t.values.size()) t.byCode[{l, code}] = t.values[k];
                }
            jf.huff[b[0]] = t;
        } else if (m == 0xDA) {
            ScanData scan;
            for (int c = 0; c < b[0]; ++c) {
                for (std::size_t fc = 0; fc < jf.components.size(); ++fc)
                    if (jf.components[fc].id == b[1 + 2 * c]) scan.components.push_back(int(fc));
            }
            EXPECT_EQ(b.size(), 4u + 2u * b[0]);
            std::size_t end = i;
            while (end + 1 < f.size() && !(f[end] == 0xFF && f[end + 1] != 0x00)) ++end;
            scan.data.assign(f.begin() + long(i), f.begin() + long(end));
            i = end;
            jf.scans.push_back(scan);
        }
        jf.segments.push_back(std::move(s));
    }
    if (!jf.ok) return jf;

    // Entropy decoding into the frame's blocks.
    int hMax = 1, vMax = 1;
    for (auto& c : jf.components) {
        hMax = std::max(hMax, c.h);
        vMax = std::max(vMax, c.v);
    }
    for (auto& c : jf.components) {
        const int w = (jf.width * c.h + hMax - 1) / hMax, h = (jf.height * c.v + vMax - 1) / vMax;
        c.blocksWide = (w + 7) / 8;
        c.blocksHigh = (h + 7) / 8;
        c.blocks.resize(std::size_t(c.blocksWide) * c.blocksHigh);
    }
    const int mcusWide = (jf.width + 8 * hMax - 1) / (8 * hMax), mcusHigh = (jf.height + 8 * vMax - 1) / (8 * vMax);
    for (std::size_t s = 0; s < jf.scans.size(); ++s) {
        ScanData& scan = jf.scans[s];
        BitReader in(scan.data);
        std::vector<int> pred(scan.components.size(), 0);
        const auto block = [&](std::size_t sc, int bx, int by) {
            FrameComponent& c = jf.components[std::size_t(scan.components[sc])];
            std::array<int, 64> tmp;
            const bool good = decodeBlock(in, jf.huff[c.table], jf.huff[16 + c.table], pred[sc], tmp);
            if (bx < c.blocksWide && by < c.blocksHigh) c.blocks[std::size_t(by) * c.blocksWide + bx] = tmp;
            return good;
        };
        bool good = true;
        if (scan.components.size() == 1) {
            const FrameComponent& c = jf.components[std::size_t(scan.components[0])];
            for (int by = 0; by < c.blocksHigh && good; ++by)
                for (int bx = 0; bx < c.blocksWide && good; ++bx) good = block(0, bx, by);
        } else {
            for (int my = 0; my < mcusHigh && good; ++my)
                for (int mx = 0; mx < mcusWide && good; ++mx)
                    for (std::size_t sc = 0; sc < scan.components.size() && good; ++sc) {
                        const FrameComponent& c = jf.components[std::size_t(scan.components[sc])];
                        for (int v = 0; v < c.v && good; ++v)
                            for (int h = 0; h < c.h && good; ++h) good = block(sc, mx * c.h + h, my * c.v + v);
                    }
        }
        EXPECT_TRUE(good) << "scan " << s << " does not decode";
        EXPECT_FALSE(in.badStuffing) << "scan " << s << ": a 0xFF without a stuffed 0x00";
        EXPECT_TRUE(in.paddedToEnd()) << "scan " << s << ": not padded with ones to its end";
        if (!good) jf.ok = false;
    }
    return jf;
}

} // namespace jpegtest
