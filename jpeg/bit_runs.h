// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Entropy-coded bits written in separate runs, one for each part of a scan coded on its own
// thread, and the join that puts the runs one after another as one stuffed stream: the bytes are
// those that writing every bit through ByteOutput::bits in order would give.
#include "jpeg/byte_output.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace jpeg {

// Bits without stuffing, most significant bit first.
class RawBits {
public:
    // The writing position and the bits not yet in the bytes. A coding loop keeps it in a local
    // variable and hands it back with put(): state behind a pointer would be reloaded after
    // every byte stored, as a byte store may alias anything.
    struct Cursor {
        std::uint8_t* at = nullptr; // the byte that holds the first pending bit
        std::uint8_t* end = nullptr;
        std::uint64_t acc = 0; // the pending bits are its low ones
        int pending = 0; // below 8 between calls

        // Appends the low count bits of value (count at most 32). Without a branch: every call
        // stores the pending bits as eight bytes and moves on by the whole ones among them, so
        // the buffer needs eight bytes of room beyond them.
        void bits(std::uint32_t value, int count) {
            acc = (acc << count) | value;
            pending += count;
            const std::uint64_t top = (acc << 1) << (63 - pending); // pending may be 0
            const std::uint64_t bigEndian = __builtin_bswap64(top);
            std::memcpy(at, &bigEndian, 8);
            at += pending >> 3;
            pending &= 7;
        }
    };

    // A cursor at the end of what is written, with room for at least n more bytes.
    Cursor take(std::size_t n) {
        if (pos_ + n > capacity_) grow(pos_ + n);
        return Cursor{buffer_.get() + pos_, buffer_.get() + capacity_, acc_, pending_};
    }
    // Makes room for at least n more bytes at the cursor (which the buffer may move). Only
    // pointers cross the call, so that the cursor can stay in registers.
    void room(Cursor& c, std::size_t n) {
        if (std::size_t(c.end - c.at) >= n) return;
        c.at = moved(c.at, n);
        c.end = buffer_.get() + capacity_;
    }
    // Takes the cursor's state back.
    void put(const Cursor& c);

    // Appends bits outside a coding loop.
    void bits(std::uint32_t value, int count) {
        Cursor c = take(8);
        c.bits(value, count);
        put(c);
    }

    // Writes the pending bits into the bytes, the last one filled up with zeros, followed by
    // eight more zero bytes for the join's wide reads. No bits may follow.
    void finish();

    std::uint64_t bitCount() const { return std::uint64_t(pos_) * 8 + std::uint64_t(pending_); }
    const std::uint8_t* bytes() const { return buffer_.get(); }

private:
    std::uint8_t* moved(std::uint8_t* at, std::size_t n);
    void grow(std::size_t wanted);

    std::unique_ptr<std::uint8_t[]> buffer_; // left uninitialised: every byte used is written
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
