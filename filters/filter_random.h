// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one process-wide uniform generator of Add Noise and Diffuse. It is seeded once when the
// process starts; tests and tools may seed it to repeat a result.
#include <cstddef>
#include <cstdint>

namespace Module4 {

namespace detail {
std::uint64_t filterRandomStart();
inline std::uint64_t filterRandomCounter = filterRandomStart();

// The generator is a counter run through a 64-bit mixing function (the "splitmix" finaliser):
// no draw waits for the previous result, so consecutive draws overlap in the processor.
constexpr std::uint64_t kCounterStep = 0x9E3779B97F4A7C15ull;
inline float uniformOf(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return float(std::int32_t(z >> 40)) * 0x1p-24f; // 24 random bits: 0 <= u < 1
}
inline float uniformAt(std::uint64_t& counter) { return uniformOf(counter += kCounterStep); }

// The next n numbers of the sequence that starts after `counter`, into out; vector code where
// the processor has it.
void fillUniform(std::uint64_t counter, float* out, std::size_t n);
// The next 3 * pixels numbers laid out four to a pixel: out[4j + p] is number 3j + p of the
// sequence (p < 3), and out[4j + 3] is 0.
void fillUniformByPixel(std::uint64_t counter, float* out, std::size_t pixels);
} // namespace detail

void SeedFilterRandom(std::uint64_t seed);

// Where the sequence stands, and putting it there: a routine whose rows draw on several threads
// moves the generator on by exactly the draws of the rows it reported.
inline std::uint64_t FilterRandomPosition() { return detail::filterRandomCounter; }
inline void SetFilterRandomPosition(std::uint64_t position) { detail::filterRandomCounter = position; }

// Draws from the sequence `ahead` numbers after `position`, without moving the process-wide
// generator: the same numbers, in the same order, that the plain walk draws there.
class FilterRandomStream {
public:
    FilterRandomStream(std::uint64_t position, std::uint64_t ahead)
        : counter_(position + ahead * detail::kCounterStep) {}
    float next() { return detail::uniformAt(counter_); }
    void fill(float* out, std::size_t n) {
        detail::fillUniform(counter_, out, n);
        counter_ += n * detail::kCounterStep;
    }
    // The next 3 * pixels numbers, four to a pixel (the fourth 0), as for the planes of a row.
    void fillByPixel(float* out, std::size_t pixels) {
        detail::fillUniformByPixel(counter_, out, pixels);
        counter_ += 3 * pixels * detail::kCounterStep;
    }
    std::uint64_t position() const { return counter_; }

private:
    std::uint64_t counter_;
};

// The next number u with 0 <= u < 1, a single-precision float.
inline float DrawFilterRandom() { return detail::uniformAt(detail::filterRandomCounter); }

// Draws from the same generator for a pixel loop: the state lives in a register while the loop
// stores pixels, and goes back to the process-wide generator when the batch ends.
class FilterRandomBatch {
public:
    FilterRandomBatch() : counter_(detail::filterRandomCounter) {}
    ~FilterRandomBatch() { detail::filterRandomCounter = counter_; }
    FilterRandomBatch(const FilterRandomBatch&) = delete;
    FilterRandomBatch& operator=(const FilterRandomBatch&) = delete;
    float next() { return detail::uniformAt(counter_); }
    // The next n numbers at once, the same as n calls of next().
    void fill(float* out, std::size_t n) {
        detail::fillUniform(counter_, out, n);
        counter_ += n * detail::kCounterStep;
    }

private:
    std::uint64_t counter_;
};

} // namespace Module4
