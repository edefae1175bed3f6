#include "filter_random.h"

#include <chrono>
#include <random>

namespace Module4 {

namespace {

// A counter run through a 64-bit mixing function (the "splitmix" finaliser): every draw is
// independent of the previous result, so consecutive draws overlap in the processor.
std::uint64_t startSeed() {
    std::uint64_t s = std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
    try {
        std::random_device device;
        s ^= (std::uint64_t(device()) << 32) | device();
    } catch (...) {
        // No entropy source: the clock alone seeds the generator.
    }
    return s;
}

std::uint64_t counter = startSeed();

} // namespace

void SeedFilterRandom(std::uint64_t seed) { counter = seed; }

float DrawFilterRandom() {
    std::uint64_t z = (counter += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return float(z >> 40) * 0x1p-24f;
}

} // namespace Module4
