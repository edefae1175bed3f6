// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Scans and their entropy coding: components grouped into scans by the limit of 10 blocks per MCU,
// the symbol statistics of a scan, and the writing pass that codes them.
#include "jpeg/byte_output.h"
#include "jpeg/component.h"
#include "jpeg/component_symbols.h"
#include "jpeg/huffman_table.h"

#include <array>
#include <cstdint>
#include <vector>

namespace jpeg {

// Indices into the component list, in order.
using Scan = std::vector<int>;

// A scan takes the next component and adds following ones while the sum of H * V stays at most
// 10, up to three components.
std::vector<Scan> groupScans(const std::vector<Component>& components);

// Symbol counts of the DC and AC tables 0 and 1, and the number of extra (magnitude) bits.
struct SymbolStatistics {
    std::array<SymbolCounts, 2> dc{};
    std::array<SymbolCounts, 2> ac{};
    std::uint64_t extraBits = 0;
};

// The frame's MCU grid size for interleaved scans: ceil(width / (8 Hmax)) x ceil(height / (8 Vmax)).
struct McuGrid {
    int wide = 0, high = 0;
};
McuGrid mcuGrid(int width, int height, const std::vector<Component>& components);

// Counts the symbols that writeScan will code for the scan, from what the transform gathered of
// each component (symbols, in the order of components).
void countScan(const std::vector<Component>& components, const std::vector<ComponentSymbols>& symbols, const Scan& scan,
               McuGrid grid, SymbolStatistics& stats);

// The scan's entropy-coded data, padded to a whole byte, coded in parts on several threads and
// joined. expectedBits (the scan's bits, or more) only sizes the parts' buffers.
struct ScanTables {
    std::array<const HuffmanCodes*, 2> dc{};
    std::array<const HuffmanCodes*, 2> ac{};
};
void writeScan(const std::vector<Component>& components, const Scan& scan, McuGrid grid, const ScanTables& tables,
               std::uint64_t expectedBits, ByteOutput& out);

} // namespace jpeg
