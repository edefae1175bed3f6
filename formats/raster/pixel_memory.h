// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Owned, zero-initialised pixel memory. Large blocks are 2 MB aligned and advised as huge pages,
// because first-touch page faults dominate the cost of big pictures on these machines.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace raster {

class PixelMemory {
public:
    PixelMemory() = default;
    explicit PixelMemory(std::size_t bytes);
    // Memory whose contents are undefined, for a caller that writes every byte anyway (a decoder):
    // no page is touched here. Such a block, once let go, is kept for the next request of the
    // same size (one block of at most kRecycledBytes), so that picking one picture after
    // another decodes into warm pages instead of meeting fresh ones every time.
    struct Unfilled {};
    static constexpr std::size_t kRecycledBytes = std::size_t(128) << 20;
    PixelMemory(std::size_t bytes, Unfilled);
    ~PixelMemory();
    PixelMemory(const PixelMemory&) = delete;
    PixelMemory& operator=(const PixelMemory&) = delete;
    PixelMemory(PixelMemory&& other) noexcept;
    PixelMemory& operator=(PixelMemory&& other) noexcept;

    // Memory that belongs to someone else (a picture held elsewhere), kept alive by keeper while
    // this refers to it, never freed here. Its holder must not write into it while others read it.
    static PixelMemory borrowed(std::uint8_t* data, std::size_t size, std::shared_ptr<const void> keeper);
    bool isBorrowed() const { return keeper_ != nullptr; }

    std::uint8_t* data() { return data_; }
    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    void release();
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0; // the block's rounded size
    bool recyclable_ = false;
    std::shared_ptr<const void> keeper_;
};

} // namespace raster
