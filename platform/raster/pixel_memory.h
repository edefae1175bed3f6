#pragma once
// Owned, zero-initialised pixel memory. Large blocks are 2 MB aligned and advised as huge pages,
// because first-touch page faults dominate the cost of big pictures on these machines.
#include <cstddef>
#include <cstdint>

namespace raster {

class PixelMemory {
public:
    PixelMemory() = default;
    explicit PixelMemory(std::size_t bytes);
    // Memory whose contents are left as the system hands them over, for a caller that writes
    // every byte anyway (a decoder): no page is touched here.
    struct Unfilled {};
    PixelMemory(std::size_t bytes, Unfilled);
    ~PixelMemory();
    PixelMemory(const PixelMemory&) = delete;
    PixelMemory& operator=(const PixelMemory&) = delete;
    PixelMemory(PixelMemory&& other) noexcept;
    PixelMemory& operator=(PixelMemory&& other) noexcept;

    std::uint8_t* data() { return data_; }
    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    void release();
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace raster
