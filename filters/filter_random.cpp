// SPDX-License-Identifier: GPL-3.0-or-later
#include "filters/filter_random.h"

#include <chrono>
#include <random>

namespace Module4 {

std::uint64_t detail::filterRandomStart() {
    std::uint64_t s = std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
    try {
        std::random_device device;
        s ^= (std::uint64_t(device()) << 32) | device();
    } catch (...) {
        // No entropy source: the clock alone seeds the generator.
    }
    return s;
}

// Built twice, for processors with and without 256-bit integer vectors; the loader picks one.
__attribute__((target_clones("avx2", "default"))) void detail::fillUniform(std::uint64_t counter, float* out,
                                                                           std::size_t n) {
    for (std::size_t j = 0; j < n; ++j) out[j] = uniformOf(counter + (j + 1) * kCounterStep);
}

__attribute__((target_clones("avx2", "default"))) void detail::fillUniformByPixel(std::uint64_t counter, float* out,
                                                                                  std::size_t pixels) {
    for (std::size_t j = 0; j < pixels; ++j) {
        const std::uint64_t first = counter + (3 * j + 1) * kCounterStep;
        out[4 * j] = uniformOf(first);
        out[4 * j + 1] = uniformOf(first + kCounterStep);
        out[4 * j + 2] = uniformOf(first + 2 * kCounterStep);
        out[4 * j + 3] = 0.0f;
    }
}

void SeedFilterRandom(std::uint64_t seed) { detail::filterRandomCounter = seed; }

} // namespace Module4
