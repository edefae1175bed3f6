#pragma once
// Entropy-coded bits written in separate runs, one for each part of a scan coded on its own
// thread, and the join that puts the runs one after another as one stuffed stream: the bytes are
// those that writing every bit through ByteOutput::bits in order would give.
#include "byte_output.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace jpeg {

// Bits without stuffing, most significant bit first.
class RawBits {
public:
    // Makes room for at least n more bytes.
    void reserve(std::size_t n) {
        if (pos_ + n > capacity_) grow(pos_ + n);
    }
    // Appends the low count bits of value (count at most 32, with at most 31 bits pending).
    void bits(std::uint32_t value, int count) {
        acc_ = (acc_ << count) | value;
        pending_ += count;
        if (pending_ >= 32) {
            pending_ -= 32;
            const auto word = std::uint32_t(acc_ >> pending_);
            std::uint8_t* out = buffer_.get() + pos_;
            out[0] = std::uint8_t(word >> 24);
            out[1] = std::uint8_t(word >> 16);
            out[2] = std::uint8_t(word >> 8);
            out[3] = std::uint8_t(word);
            pos_ += 4;
        }
    }
    // Writes the pending bits into the bytes, the last one filled up with zeros, followed by
    // eight more zero bytes for the join's wide reads. No bits may follow.
    void finish();

    std::uint64_t bitCount() const { return std::uint64_t(pos_) * 8 + std::uint64_t(pending_); }
    const std::uint8_t* bytes() const { return buffer_.get(); }

private:
    void grow(std::size_t wanted);

    std::unique_ptr<std::uint8_t[]> buffer_;  // left uninitialised: every byte used is written
    std::size_t capacity_ = 0;
    std::size_t pos_ = 0;
    std::uint64_t acc_ = 0;
    int pending_ = 0;
};

// Appends the finished runs in order, each bit after the last of the one before, with a 0x00
// after every 0xFF byte. Their bits together must make whole bytes (the caller pads the last
// run), and out must stand at a byte boundary. The runs are stuffed on several threads.
void appendStuffed(const std::vector<const RawBits*>& runs, ByteOutput& out);

} // namespace jpeg
