// SPDX-License-Identifier: GPL-3.0-or-later
// Writes alert.wav: a soft two-note chime (a rising fifth, each note a bell-like tone with a quick
// attack and a gentle decay), 22050 Hz, mono, 16-bit PCM.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

struct Note {
    double start; // seconds
    double frequency; // Hz
    double length; // seconds
};

void addBell(std::vector<double>& out, const Note& n) {
    const int first = int(n.start * kRate);
    const int count = int(n.length * kRate);
    for (int i = 0; i < count && first + i < int(out.size()); ++i) {
        const double t = double(i) / kRate;
        const double attack = std::min(1.0, t / 0.008);
        const double envelope = attack * std::exp(-t * 7.0);
        // Fundamental with two soft partials gives a glassy, bell-like colour.
        const double v = std::sin(2 * kPi * n.frequency * t) +
            0.35 * std::sin(2 * kPi * 2 * n.frequency * t) * std::exp(-t * 6.0) +
            0.12 * std::sin(2 * kPi * 3.01 * n.frequency * t) * std::exp(-t * 12.0);
        out[std::size_t(first + i)] += envelope * v;
    }
}

void put16(std::FILE* f, std::uint16_t v) {
    std::fputc(v & 255, f);
    std::fputc(v >> 8, f);
}
void put32(std::FILE* f, std::uint32_t v) {
    put16(f, std::uint16_t(v & 0xFFFF));
    put16(f, std::uint16_t(v >> 16));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output.wav\n", argv[0]);
        return 2;
    }
    std::vector<double> mix(std::size_t(kRate * 0.9), 0.0);
    addBell(mix, {0.00, 784.0, 0.55}); // G5
    addBell(mix, {0.14, 1174.7, 0.75}); // D6
    // Fade the tail out so the sound ends in silence without a click.
    const std::size_t fade = kRate / 20;
    for (std::size_t i = 0; i < fade; ++i) mix[mix.size() - 1 - i] *= double(i) / fade;

    double peak = 0;
    for (double v : mix) peak = std::max(peak, std::fabs(v));
    const double gain = peak > 0 ? 0.5 * 32767 / peak : 0;

    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    const std::uint32_t dataBytes = std::uint32_t(mix.size() * 2);
    std::fwrite("RIFF", 1, 4, f);
    put32(f, 36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 1); // PCM
    put16(f, 1); // mono
    put32(f, kRate);
    put32(f, kRate * 2); // bytes per second
    put16(f, 2); // bytes per frame
    put16(f, 16); // bits per sample
    std::fwrite("data", 1, 4, f);
    put32(f, dataBytes);
    for (double v : mix) put16(f, std::uint16_t(std::int16_t(std::lround(v * gain))));
    const bool ok = std::fclose(f) == 0;
    return ok ? 0 : 1;
}
