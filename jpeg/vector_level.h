// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which vector instructions the encoder's inner loops use: AVX2 and AVX-512 where the processor
// has them, otherwise SSE2. Every level computes the very same numbers (the same operations in
// the same order, no fused multiply-add); tests lower the level to compare.
namespace jpeg {

enum class VectorLevel { Sse2, Avx2, Avx512 };

bool useAvx2();
bool useAvx512();

// The widest level the loops may use, never more than the processor has; Avx512 means all of it.
void limitVectors(VectorLevel widest);

} // namespace jpeg
