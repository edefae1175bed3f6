#include "pixel_memory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>

namespace raster {

namespace {
constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kSmallAlign = 64;
}

PixelMemory::PixelMemory(std::size_t bytes) : PixelMemory(bytes, Unfilled{}) {
    if (data_) std::memset(data_, 0, bytes);
}

PixelMemory::PixelMemory(std::size_t bytes, Unfilled) : size_(bytes) {
    if (bytes == 0) return;
    const bool huge = bytes >= kHugePage;
    const std::size_t align = huge ? kHugePage : kSmallAlign;
    if (bytes > SIZE_MAX / 2) throw std::bad_alloc(); // no such memory; also keeps the rounding below from wrapping
    const std::size_t rounded = (bytes + align - 1) / align * align;
    void* p = std::aligned_alloc(align, rounded);
    if (!p) throw std::bad_alloc();
    if (huge) madvise(p, rounded, MADV_HUGEPAGE);
    data_ = static_cast<std::uint8_t*>(p);
}

PixelMemory::~PixelMemory() { release(); }

PixelMemory::PixelMemory(PixelMemory&& other) noexcept : data_(other.data_), size_(other.size_) {
    other.data_ = nullptr;
    other.size_ = 0;
}

PixelMemory& PixelMemory::operator=(PixelMemory&& other) noexcept {
    if (this != &other) {
        release();
        data_ = other.data_;
        size_ = other.size_;
        other.data_ = nullptr;
        other.size_ = 0;
    }
    return *this;
}

void PixelMemory::release() {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
}

} // namespace raster
