// SPDX-License-Identifier: GPL-3.0-or-later
#include "filters/pixel_grid.h"

#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace Module4 {

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;

// A fresh anonymous mapping, 2 MB aligned and advised as huge pages. The system hands it out
// zeroed and first-touch faults then cost one per 2 MB instead of one per 4 KB; zeroing it again
// ourselves would be a wasted pass over the whole picture.
std::uint8_t* mapHugeBlock(std::size_t bytes) {
    const std::size_t length = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* raw = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
    if (aligned > start) munmap(raw, aligned - start);
    const std::uintptr_t end = start + length + kHugePage;
    if (end > aligned + length) munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
    madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
    return reinterpret_cast<std::uint8_t*>(aligned);
}

} // namespace

PixelGrid::~PixelGrid() { release(); }

void PixelGrid::release() {
    if (borrowed_) borrowed_ = false;
    else if (mappedBytes_) munmap(data_, mappedBytes_);
    else std::free(data_);
    data_ = nullptr;
    bytes_ = mappedBytes_ = 0;
    width_ = height_ = 0;
}

void PixelGrid::sizeTo(int width, int height) {
    // Free the old block first, so that two big pictures never have to fit at once.
    release();
    const std::size_t bytes = std::size_t(width) * std::size_t(height) * 4;
    if (bytes >= kHugePage) {
        data_ = mapHugeBlock(bytes);
        mappedBytes_ = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    } else {
        data_ = static_cast<std::uint8_t*>(std::calloc(bytes ? bytes : 1, 1));
        if (!data_) throw std::bad_alloc();
    }
    bytes_ = bytes;
    width_ = width;
    height_ = height;
}

void PixelGrid::borrow(std::uint8_t* pixels, int width, int height) {
    release();
    data_ = pixels;
    borrowed_ = true;
    bytes_ = std::size_t(width) * std::size_t(height) * 4;
    width_ = width;
    height_ = height;
}

} // namespace Module4
