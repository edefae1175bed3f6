#pragma once
// Which vector instructions the encoder's inner loops use: AVX2 and AVX-512 where the processor
// has them, otherwise SSE2. Every level computes the very same numbers (the same operations in
// the same order, no fused multiply-add); tests hold the loops to SSE2 to compare.
namespace jpeg {

bool useAvx2();
bool useAvx512();

// true: SSE2 only, as on a processor without the wider instructions; false: the processor's own.
void limitToSse2(bool limit);

} // namespace jpeg
