// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/raster/pixel_memory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <utility>

namespace raster {

namespace {
constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kSmallAlign = 64;

// The one block kept back from the last unfilled memory let go.
struct RecycledBlock {
    std::mutex lock;
    void* data = nullptr;
    std::size_t capacity = 0;

    void* take(std::size_t wanted) {
        const std::lock_guard<std::mutex> hold(lock);
        if (!data || capacity != wanted) return nullptr;
        return std::exchange(data, nullptr);
    }
    // Keeps the block, giving back the one kept before.
    void keep(void* block, std::size_t size) {
        void* previous = nullptr;
        {
            const std::lock_guard<std::mutex> hold(lock);
            previous = std::exchange(data, block);
            capacity = size;
        }
        std::free(previous);
    }
};

// Never destroyed, so that memory let go during the program's exit still finds it.
RecycledBlock& recycled() {
    static RecycledBlock* const block = new RecycledBlock;
    return *block;
}
} // namespace

PixelMemory::PixelMemory(std::size_t bytes) : PixelMemory(bytes, Unfilled{}) {
    recyclable_ = false; // zero-filled blocks go back to the system as before
    if (data_) std::memset(data_, 0, bytes);
}

PixelMemory::PixelMemory(std::size_t bytes, Unfilled) : size_(bytes) {
    if (bytes == 0) return;
    const bool huge = bytes >= kHugePage;
    const std::size_t align = huge ? kHugePage : kSmallAlign;
    if (bytes > SIZE_MAX / 2) throw std::bad_alloc(); // no such memory; also keeps the rounding below from wrapping
    const std::size_t rounded = (bytes + align - 1) / align * align;
    capacity_ = rounded;
    recyclable_ = huge && rounded <= kRecycledBytes;
    if (recyclable_) {
        if (void* warm = recycled().take(rounded)) {
            data_ = static_cast<std::uint8_t*>(warm);
            return;
        }
    }
    void* p = std::aligned_alloc(align, rounded);
    if (!p) throw std::bad_alloc();
    if (huge) madvise(p, rounded, MADV_HUGEPAGE);
    data_ = static_cast<std::uint8_t*>(p);
}

PixelMemory PixelMemory::borrowed(std::uint8_t* data, std::size_t size, std::shared_ptr<const void> keeper) {
    PixelMemory memory;
    memory.data_ = data;
    memory.size_ = size;
    memory.keeper_ = keeper ? std::move(keeper) : std::make_shared<int>(0);
    return memory;
}

PixelMemory::~PixelMemory() { release(); }

PixelMemory::PixelMemory(PixelMemory&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)), recyclable_(std::exchange(other.recyclable_, false)),
      keeper_(std::move(other.keeper_)) {}

PixelMemory& PixelMemory::operator=(PixelMemory&& other) noexcept {
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        recyclable_ = std::exchange(other.recyclable_, false);
        keeper_ = std::move(other.keeper_);
    }
    return *this;
}

void PixelMemory::release() {
    if (keeper_) keeper_.reset();
    else if (data_ && recyclable_) recycled().keep(data_, capacity_);
    else std::free(data_);
    data_ = nullptr;
    size_ = 0;
}

} // namespace raster
