#include "filter_random.h"

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

void SeedFilterRandom(std::uint64_t seed) { detail::filterRandomCounter = seed; }

} // namespace Module4
