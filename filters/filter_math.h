// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small arithmetic rules shared by the filter routines.
#include <cstdint>
#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace Module4 {

// Values above 255 become 255, values below 0 become 0. The 32-bit form lets the compiler work
// on many pixels at once.
inline std::uint8_t clampByte(int v) {
    v = v < 0 ? 0 : v;
    return std::uint8_t(v > 255 ? 255 : v);
}
inline std::uint8_t clampByte(std::int64_t v) {
    v = v < 0 ? 0 : v;
    return std::uint8_t(v > 255 ? 255 : v);
}

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4), in the processor's
// default rounding mode, which the program never changes. Exact for |v| < 2^51, far beyond
// anything a filter computes (at most about 2^33 for any 32-bit parameter).
inline std::int64_t roundHalfEven(double v) {
#if defined(__SSE2__) && defined(__x86_64__)
    return _mm_cvtsd_si64(_mm_set_sd(v)); // one instruction
#else
    // Adding and taking away 1.5 * 2^52 leaves no fraction bits. The library is built with
    // strict floating point, so the two steps are not folded.
    constexpr double shifter = 6755399441055744.0;
    return std::int64_t((v + shifter) - shifter);
#endif
}

// Rounds half to even and brings the value into 0 to 255. Rounding is monotonic, so clamping the
// rounded value gives the same result; both steps stay in double precision (adding and taking
// away 1.5 * 2^52 leaves no fraction bits, exact for |v| < 2^51), without a branch or a scalar
// conversion, so loops over many values run on several at once.
inline std::uint8_t roundToByte(double v) {
    constexpr double shifter = 6755399441055744.0;
    const double r = (v + shifter) - shifter;
    const double clamped = r < 0.0 ? 0.0 : (r > 255.0 ? 255.0 : r);
    return std::uint8_t(int(clamped));
}

} // namespace Module4
