// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The output buffer of one file: bytes, big-endian words, and entropy-coded bits written most
// significant bit first with a 0x00 stuffed after every 0xFF and 1-bit padding at the end.
// The buffer starts at an estimated size and grows whenever the estimate falls short.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace jpeg {

class ByteOutput {
public:
    explicit ByteOutput(std::size_t estimate) : buffer_(estimate) {}

    // Makes room for at least n more bytes.
    void reserve(std::size_t n) {
        if (pos_ + n > buffer_.size()) buffer_.resize((pos_ + n) * 3 / 2 + 4096);
    }
    void byte(std::uint8_t b) {
        reserve(1);
        buffer_[pos_++] = b;
    }
    void word(unsigned w) {
        byte(std::uint8_t(w >> 8));
        byte(std::uint8_t(w));
    }
    void marker(std::uint8_t code) {
        byte(0xFF);
        byte(code);
    }

    // Entropy-coded bits. The caller reserves room for what it puts (at most 2 bytes per 8 bits).
    void bits(std::uint32_t value, int count) {
        acc_ = (acc_ << count) | value;
        pending_ += count;
        if (pending_ >= 32) flushWhole();
    }
    // Pads the last partial byte with 1-bits and writes what is pending.
    void padBits() {
        reserve(16);
        flushWhole();
        const int fill = (8 - pending_ % 8) % 8;
        acc_ = (acc_ << fill) | ((1u << fill) - 1);
        pending_ += fill;
        flushWhole();
    }

    // Appends bytes that are already entropy-coded and stuffed; the bits stand at a byte boundary.
    void append(const std::uint8_t* bytes, std::size_t n) {
        reserve(n);
        std::memcpy(buffer_.data() + pos_, bytes, n);
        pos_ += n;
    }

    std::size_t size() const { return pos_; }
    std::size_t capacity() const { return buffer_.size(); }
    // The bytes written, trimmed.
    std::vector<std::uint8_t> take() {
        buffer_.resize(pos_);
        return std::move(buffer_);
    }

private:
    void flushWhole() {
        std::uint8_t* out = buffer_.data() + pos_;
        while (pending_ >= 8) {
            pending_ -= 8;
            const std::uint8_t b = std::uint8_t(acc_ >> pending_);
            *out++ = b;
            if (b == 0xFF) *out++ = 0;
        }
        pos_ = std::size_t(out - buffer_.data());
    }

    std::vector<std::uint8_t> buffer_;
    std::size_t pos_ = 0;
    std::uint64_t acc_ = 0;
    int pending_ = 0;
};

} // namespace jpeg
