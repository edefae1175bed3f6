#pragma once
// Small arithmetic rules shared by the filter routines.
#include <cmath>
#include <cstdint>

namespace Module4 {

inline std::uint8_t clampByte(std::int64_t v) {
    return std::uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4). Results beyond +-4e18 are
// held there, so that absurd parameters give a defined value and a pixel position plus the result
// cannot overflow.
inline std::int64_t roundHalfEven(double v) {
    constexpr double limit = 4.0e18;
    if (v != v) return 0;
    if (v <= -limit) return -std::int64_t(limit);
    if (v >= limit) return std::int64_t(limit);
    return std::int64_t(std::nearbyint(v));
}

// Rounds half to even and brings the value into 0 to 255.
inline std::uint8_t roundToByte(double v) {
    if (v <= -0.5) return 0;
    if (v >= 255.5) return 255;
    return std::uint8_t(std::nearbyint(v));
}

} // namespace Module4
