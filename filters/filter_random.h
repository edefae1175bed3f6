#pragma once
// The one process-wide uniform generator of Add Noise and Diffuse. It is seeded once when the
// process starts; tests and tools may seed it to repeat a result.
#include <cstdint>

namespace Module4 {

void SeedFilterRandom(std::uint64_t seed);
// The next number u with 0 <= u < 1, a single-precision float with 24 random bits.
float DrawFilterRandom();

} // namespace Module4
