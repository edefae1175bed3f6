// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Huffman tables for one image: optimal code lengths from symbol counts (limited to 16 bits, with
// one code point reserved so that no code is all ones), and the codes derived from the lengths.
#include <array>
#include <cstdint>
#include <vector>

namespace jpeg {

using SymbolCounts = std::array<std::uint64_t, 256>;

// A table as a DHT segment carries it: counts of codes of each length 1...16 (bits[0] unused) and
// the symbols in order of increasing code length.
struct HuffmanSpec {
    std::array<std::uint8_t, 17> bits{};
    std::vector<std::uint8_t> values;
};

// Code and length of every symbol; length 0 for a symbol without a code.
struct HuffmanCodes {
    std::array<std::uint16_t, 256> code{};
    std::array<std::uint8_t, 256> length{};
};

// The optimal table for the counts; symbols counted 0 get no code.
HuffmanSpec optimalTable(const SymbolCounts& counts);

// Codes from the lengths. Throws "Bad Huffman Table" for an impossible table: more codes of a
// length than fit, an all-ones code, more than 256 symbols or bits not matching the symbols.
HuffmanCodes codesFor(const HuffmanSpec& huffman);

} // namespace jpeg
