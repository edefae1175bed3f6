// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg/bit_runs.h"

#include "formats/raster/parallel_parts.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace jpeg {

namespace {

std::uint64_t loadBigEndian(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return __builtin_bswap64(v);
}

void storeBigEndian(std::uint8_t* p, std::uint64_t v) {
    v = __builtin_bswap64(v);
    std::memcpy(p, &v, 8);
}

// True when one of the eight bytes of w is 0xFF (a zero byte of ~w).
bool hasFF(std::uint64_t w) { return ((~w - 0x0101010101010101ull) & w & 0x8080808080808080ull) != 0; }

inline std::uint8_t* putStuffed(std::uint8_t* out, std::uint8_t b) {
    *out++ = b;
    if (b == 0xFF) *out++ = 0;
    return out;
}

} // namespace

void RawBits::grow(std::size_t wanted) {
    const std::size_t capacity = wanted * 3 / 2 + 4096;
    std::unique_ptr<std::uint8_t[]> larger(new std::uint8_t[capacity]);
    if (pos_) std::memcpy(larger.get(), buffer_.get(), pos_);
    buffer_ = std::move(larger);
    capacity_ = capacity;
}

void RawBits::put(const Cursor& c) {
    pos_ = std::size_t(c.at - buffer_.get());
    acc_ = c.acc;
    pending_ = c.pending;
}

std::uint8_t* RawBits::moved(std::uint8_t* at, std::size_t n) {
    pos_ = std::size_t(at - buffer_.get());
    grow(pos_ + n);
    return buffer_.get() + pos_;
}

void RawBits::finish() {
    if (pos_ + 16 > capacity_) grow(pos_ + 16);
    // The byte at pos_ holds the pending bits on top (they are stored as they come); the rest of
    // it and the eight bytes after become zeros.
    std::uint8_t* out = buffer_.get() + pos_;
    out[0] = pending_ ? std::uint8_t(acc_ << (8 - pending_)) : 0;
    std::memset(out + 1, 0, 8);
}

void appendStuffed(const std::vector<const RawBits*>& runs, ByteOutput& out) {
    const std::size_t n = runs.size();
    std::vector<std::uint64_t> start(n + 1, 0); // first bit of each run in the joined stream
    for (std::size_t k = 0; k < n; ++k) start[k + 1] = start[k] + runs[k]->bitCount();
    if (start[n] % 8) throw std::logic_error("bit runs that do not end on a byte boundary");

    // Bit g of the joined stream.
    const auto bitAt = [&](std::uint64_t g) {
        const std::size_t k = std::size_t(std::upper_bound(start.begin(), start.end(), g) - start.begin()) - 1;
        const std::uint64_t i = g - start[k];
        return (runs[k]->bytes()[i / 8] >> (7 - i % 8)) & 1;
    };

    // Run k stuffs the joined bytes [start[k] / 8, start[k + 1] / 8): all of them but the first
    // hold its bits alone, and the first may begin with the last bits of runs before it.
    std::vector<std::unique_ptr<std::uint8_t[]>> stuffed(n);
    std::vector<std::size_t> sizes(n, 0);
    raster::runParts(int(n), [&](int part) {
        const std::size_t k = std::size_t(part);
        const std::uint64_t firstByte = start[k] / 8, endByte = start[k + 1] / 8;
        if (endByte <= firstByte) return;
        const std::size_t count = std::size_t(endByte - firstByte);
        stuffed[k].reset(new std::uint8_t[2 * count + 8]);
        std::uint8_t* to = stuffed[k].get();

        unsigned first = 0;
        for (std::uint64_t g = firstByte * 8; g < firstByte * 8 + 8; ++g) first = first << 1 | unsigned(bitAt(g));
        to = putStuffed(to, std::uint8_t(first));

        // Joined byte firstByte + m holds the run's bits from 8 m - s on, s its bits from before.
        const int s = int(start[k] % 8);
        const std::uint8_t* bytes = runs[k]->bytes();
        std::size_t m = 1;
        for (; m + 8 <= count; m += 8) {
            const std::uint64_t w =
                s == 0 ? loadBigEndian(bytes + m) : loadBigEndian(bytes + m - 1) << (8 - s) | bytes[m + 7] >> s;
            if (!hasFF(w)) {
                storeBigEndian(to, w);
                to += 8;
            } else {
                for (int i = 0; i < 8; ++i) to = putStuffed(to, std::uint8_t(w >> (56 - 8 * i)));
            }
        }
        for (; m < count; ++m) {
            const unsigned b = s == 0 ? bytes[m] : unsigned(bytes[m - 1] << (8 - s) | bytes[m] >> s);
            to = putStuffed(to, std::uint8_t(b));
        }
        sizes[k] = std::size_t(to - stuffed[k].get());
    });
    for (std::size_t k = 0; k < n; ++k)
        if (sizes[k]) out.append(stuffed[k].get(), sizes[k]);
}

} // namespace jpeg
