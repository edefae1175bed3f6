// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the transform gathers of one component for the counting pass: the AC symbol counts of all
// its blocks, their extra bits, and every block's DC coefficient in raster order (the DC symbols
// depend on the coding order, which only the scan knows).
#include "jpeg/huffman_table.h"

#include <cstdint>
#include <vector>

namespace jpeg {

struct ComponentSymbols {
    SymbolCounts ac{};
    std::uint64_t acExtraBits = 0;
    std::vector<std::int16_t> dc;
};

} // namespace jpeg
