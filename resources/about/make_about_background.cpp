// SPDX-License-Identifier: GPL-3.0-or-later
// Writes about.bmp: a 320 x 200 picture of a disc with shimmering grooves on a deep blue night
// sky, as a 24-bit bottom-up bitmap file.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 200;

struct Rgb {
    double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

Rgb pixelAt(int x, int y) {
    // Sky: deep navy at the top to a violet haze at the bottom.
    Rgb c = mix({8, 14, 48}, {58, 30, 92}, double(y) / (kHeight - 1));
    // A few fixed stars.
    const unsigned h = unsigned(x * 73856093u) ^ unsigned(y * 19349663u);
    if (h % 997 == 0) c = mix(c, {255, 255, 230}, 0.8);

    // The disc, lower right, with a hole and grooves that catch a rainbow sheen.
    const double cx = 236, cy = 118, outer = 74, inner = 10, label = 26;
    const double dx = x - cx, dy = y - cy, r = std::sqrt(dx * dx + dy * dy);
    if (r < outer && r > inner) {
        const double angle = std::atan2(dy, dx);
        Rgb disc = {150, 160, 180};
        const double sheen = 0.5 + 0.5 * std::cos(2 * angle - 0.9);
        const Rgb rainbow = {127 + 127 * std::sin(angle * 3), 127 + 127 * std::sin(angle * 3 + 2.1),
                             127 + 127 * std::sin(angle * 3 + 4.2)};
        disc = mix(disc, rainbow, 0.45 * sheen);
        disc = mix(disc, {240, 245, 255}, 0.25 * (0.5 + 0.5 * std::sin(r * 1.7)));
        if (r < label) disc = mix({30, 90, 200}, {120, 190, 255}, (r - inner) / (label - inner));
        const double edge = std::min({outer - r, r - inner, 1.0});
        c = mix(c, disc, std::clamp(edge, 0.0, 1.0));
    }
    // A soft glow behind the disc's upper left.
    const double gx = x - 170.0, gy = y - 60.0;
    c = mix(c, {90, 140, 255}, 0.35 * std::exp(-(gx * gx + gy * gy) / 2500.0));
    return c;
}

void put16(std::FILE* f, std::uint16_t v) {
    std::fputc(v & 255, f);
    std::fputc(v >> 8, f);
}
void put32(std::FILE* f, std::uint32_t v) {
    put16(f, std::uint16_t(v & 0xFFFF));
    put16(f, std::uint16_t(v >> 16));
}
std::uint8_t byteOf(double v) { return std::uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output.bmp\n", argv[0]);
        return 2;
    }
    const std::uint32_t stride = (kWidth * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = stride * kHeight;
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    std::fwrite("BM", 1, 2, f);
    put32(f, 14 + 40 + pixelBytes);
    put32(f, 0);
    put32(f, 14 + 40);
    put32(f, 40);
    put32(f, kWidth);
    put32(f, kHeight); // positive: bottom-up rows
    put16(f, 1);
    put16(f, 24);
    put32(f, 0);
    put32(f, pixelBytes);
    put32(f, 3780); // 96 dpi in pixels per metre
    put32(f, 3780);
    put32(f, 0);
    put32(f, 0);
    std::vector<std::uint8_t> row(stride, 0);
    for (int y = kHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kWidth; ++x) {
            const Rgb c = pixelAt(x, y);
            row[std::size_t(x) * 3] = byteOf(c.b);
            row[std::size_t(x) * 3 + 1] = byteOf(c.g);
            row[std::size_t(x) * 3 + 2] = byteOf(c.r);
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    return std::fclose(f) == 0 ? 0 : 1;
}
