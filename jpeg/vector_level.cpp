// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg/vector_level.h"

#include <atomic>

namespace jpeg {

namespace {

bool cpuHas(bool avx512) {
#if defined(__x86_64__) && defined(__GNUC__)
    __builtin_cpu_init();
    if (avx512)
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
            __builtin_cpu_supports("avx512dq");
    return __builtin_cpu_supports("avx2");
#else
    (void)avx512;
    return false;
#endif
}

const bool kCpuAvx2 = cpuHas(false);
const bool kCpuAvx512 = cpuHas(true);
std::atomic<VectorLevel> widestAllowed{VectorLevel::Avx512};

} // namespace

bool useAvx2() { return kCpuAvx2 && widestAllowed.load(std::memory_order_relaxed) != VectorLevel::Sse2; }
bool useAvx512() { return kCpuAvx512 && widestAllowed.load(std::memory_order_relaxed) == VectorLevel::Avx512; }
void limitVectors(VectorLevel widest) { widestAllowed = widest; }

} // namespace jpeg
