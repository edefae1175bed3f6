// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg/huffman_table.h"

#include "jpeg/jpeg_error.h"

#include <algorithm>

namespace jpeg {

namespace {
constexpr int kReserved = 256; // the extra symbol that keeps the all-ones code unused
constexpr int kMaxLength = 16;
} // namespace

HuffmanSpec optimalTable(const SymbolCounts& counts) {
    std::array<std::uint64_t, 257> freq{};
    for (int i = 0; i < 256; ++i) freq[i] = counts[i];
    freq[kReserved] = 1;
    std::array<int, 257> codeSize{};
    std::array<int, 257> next; // chains the symbols of one merged tree
    next.fill(-1);

    // The roots of the live trees in increasing order, so that the search below looks only at
    // them (most symbols of a table are never used).
    std::vector<int> live;
    for (int i = 0; i <= kReserved; ++i)
        if (freq[i]) live.push_back(i);
    for (;;) {
        // The two least frequent live trees; on equal counts the higher symbol is taken first.
        int v1 = -1, v2 = -1;
        for (const int i : live)
            if (v1 < 0 || freq[i] <= freq[v1]) v1 = i;
        for (const int i : live)
            if (i != v1 && (v2 < 0 || freq[i] <= freq[v2])) v2 = i;
        if (v2 < 0) break;

        freq[v1] += freq[v2];
        freq[v2] = 0;
        live.erase(std::find(live.begin(), live.end(), v2));
        ++codeSize[v1];
        while (next[v1] >= 0) {
            v1 = next[v1];
            ++codeSize[v1];
        }
        next[v1] = v2;
        ++codeSize[v2];
        while (next[v2] >= 0) {
            v2 = next[v2];
            ++codeSize[v2];
        }
    }

    // Code lengths can reach 256 in theory; count them, then fold everything above 16 down.
    std::array<int, 258> bits{};
    for (int i = 0; i <= kReserved; ++i)
        if (codeSize[i]) ++bits[codeSize[i]];
    for (int i = 257; i > kMaxLength; --i) {
        while (bits[i] > 0) {
            int j = i - 2;
            while (bits[j] == 0) --j;
            bits[i] -= 2;
            bits[i - 1] += 1;
            bits[j + 1] += 2;
            bits[j] -= 1;
        }
    }
    // Drop the reserved code point: it holds one of the longest codes.
    int longest = kMaxLength;
    while (longest > 0 && bits[longest] == 0) --longest;
    if (longest > 0) --bits[longest];

    HuffmanSpec huffman;
    for (int len = 1; len <= kMaxLength; ++len) huffman.bits[len] = std::uint8_t(bits[len]);
    // Symbols by code size, then by value (sizes before folding keep their order).
    for (int size = 1; size <= 256; ++size)
        for (int i = 0; i < 256; ++i)
            if (codeSize[i] == size) huffman.values.push_back(std::uint8_t(i));
    return huffman;
}

HuffmanCodes codesFor(const HuffmanSpec& huffman) {
    std::size_t total = 0;
    for (int len = 1; len <= kMaxLength; ++len) total += huffman.bits[len];
    if (total > 256 || total != huffman.values.size()) raise(kBadHuffmanTable);

    HuffmanCodes codes;
    std::uint32_t code = 0;
    std::size_t k = 0;
    for (int len = 1; len <= kMaxLength; ++len) {
        for (int n = 0; n < huffman.bits[len]; ++n) {
            if (code >= (1u << len) - 1) raise(kBadHuffmanTable); // overflows or is all ones
            codes.code[huffman.values[k]] = std::uint16_t(code);
            codes.length[huffman.values[k]] = std::uint8_t(len);
            ++code;
            ++k;
        }
        code <<= 1;
    }
    return codes;
}

} // namespace jpeg
