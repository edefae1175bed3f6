// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg/scan_coder.h"

#include "jpeg/bit_runs.h"
#include "jpeg/block_symbols.h"

#include "formats/raster/parallel_parts.h"

#include <algorithm>
#include <array>

namespace jpeg {

namespace {

constexpr int kMaxBlocksPerMcu = 10;
// Worst case of one coded block.
constexpr std::size_t kMaxBlockBytes = 512;

// The coefficients are read once, from memory far beyond the caches, in several streams at once
// (the rows of blocks of an MCU row and each component): they are fetched a little ahead.
constexpr int kPrefetchBlocks = 8;
constexpr int kPrefetchMcus = 4;
inline void prefetchBlocks(const std::int16_t* first, int blocks) {
    const char* p = reinterpret_cast<const char*>(first);
    for (int line = 0; line < 2 * blocks; ++line) __builtin_prefetch(p + 64 * line);
}

// A dummy block of an interleaved MCU: the previous DC again and no AC coefficients.
template <class Sink>
inline void codeDummyBlock(Sink& sink) {
    sink.dc(0, 0);
    sink.ac(kEndOfBlock, 0, 0);
}

// The units a scan is cut into for its parts: rows of MCUs for an interleaved scan, rows of
// blocks for a scan of one component.
int unitsOf(const std::vector<Component>& components, const Scan& scan, McuGrid grid) {
    return scan.size() == 1 ? components[std::size_t(scan[0])].blocksHigh : grid.high;
}

// Runs the blocks of units [from, to) of a scan in coding order, starting from the given
// previous DC values; sink.use(s) comes before the blocks of the scan's s-th component, then
// sink.block(coefficients, previous DC) or sink.dummyBlock() for each of them.
template <class Sink>
inline void walkScan(const std::vector<Component>& components, const Scan& scan, McuGrid grid, int from, int to,
                     std::array<int, 3> lastDc, Sink& sink) {
    if (scan.size() == 1) {
        const Component& c = components[std::size_t(scan[0])];
        sink.use(0);
        for (int by = from; by < to; ++by)
            for (int bx = 0; bx < c.blocksWide; ++bx) {
                if (bx + kPrefetchBlocks < c.blocksWide) prefetchBlocks(c.block(bx + kPrefetchBlocks, by), 1);
                sink.block(c.block(bx, by), lastDc[0]);
            }
        return;
    }
    for (int my = from; my < to; ++my) {
        for (int mx = 0; mx < grid.wide; ++mx) {
            for (std::size_t s = 0; s < scan.size(); ++s) {
                const Component& c = components[std::size_t(scan[s])];
                sink.use(int(s));
                for (int v = 0; v < c.v; ++v) {
                    const int by = my * c.v + v;
                    const int ahead = (mx + kPrefetchMcus) * c.h;
                    if (by < c.blocksHigh && ahead + c.h <= c.blocksWide) prefetchBlocks(c.block(ahead, by), c.h);
                    for (int h = 0; h < c.h; ++h) {
                        const int bx = mx * c.h + h;
                        if (bx < c.blocksWide && by < c.blocksHigh) sink.block(c.block(bx, by), lastDc[s]);
                        else sink.dummyBlock();
                    }
                }
            }
        }
    }
}

// The previous DC values at the start of unit `unit`: the DC of the last real block each
// component coded before it (dummy blocks leave it alone), 0 where there is none.
std::array<int, 3> dcBefore(const std::vector<Component>& components, const Scan& scan, McuGrid grid, int unit) {
    std::array<int, 3> dc{0, 0, 0};
    for (std::size_t s = 0; s < scan.size(); ++s) {
        const Component& c = components[std::size_t(scan[s])];
        if (scan.size() == 1) {
            if (unit > 0) dc[0] = c.block(c.blocksWide - 1, unit - 1)[0];
            continue;
        }
        for (int my = unit - 1; my >= 0; --my) {
            const std::int16_t* last = nullptr;
            for (int mx = 0; mx < grid.wide; ++mx)
                for (int v = 0; v < c.v; ++v)
                    for (int h = 0; h < c.h; ++h) {
                        const int bx = mx * c.h + h, by = my * c.v + v;
                        if (bx < c.blocksWide && by < c.blocksHigh) last = c.block(bx, by);
                    }
            if (last) {
                dc[s] = last[0];
                break;
            }
        }
    }
    return dc;
}

// The scan cut into about four parts a thread, each a range of whole units.
std::vector<int> partStarts(int units) {
    const int parts = std::max(1, std::min(units, raster::workerThreads() == 1 ? 1 : 4 * raster::workerThreads()));
    std::vector<int> starts(std::size_t(parts) + 1);
    for (int k = 0; k <= parts; ++k) starts[std::size_t(k)] = int(std::int64_t(units) * k / parts);
    return starts;
}

// The tables of each of the scan's components.
struct PartTables {
    std::array<const HuffmanCodes*, 3> dc{}, ac{};
};

// Codes with one pair of tables into a cursor; a local object of one block's coding, so that the
// compiler holds all of it in registers.
struct BlockCoder {
    const HuffmanCodes* dcCodes;
    const HuffmanCodes* acCodes;
    RawBits::Cursor out;

    void dc(int cat, int value) {
        const int len = dcCodes->length[std::size_t(cat)];
        out.bits((std::uint32_t(dcCodes->code[std::size_t(cat)]) << cat) | magnitudeBits(value, cat), len + cat);
    }
    void ac(std::uint8_t symbol, int value, int size) {
        const int len = acCodes->length[symbol];
        out.bits((std::uint32_t(acCodes->code[symbol]) << size) | magnitudeBits(value, size), len + size);
    }
};

// The emitter of one part: the tables in use and the part's cursor. Each block is coded by a
// call of its own with a local copy of the cursor: inlined into the walk over the scan, the bit
// state would compete for registers with the walk's own and live on the stack.
struct PartWriter {
    const PartTables* tables = nullptr;
    const HuffmanCodes* dcCodes = nullptr;
    const HuffmanCodes* acCodes = nullptr;
    RawBits* raw = nullptr;
    RawBits::Cursor out;

    void use(int s) {
        dcCodes = tables->dc[std::size_t(s)];
        acCodes = tables->ac[std::size_t(s)];
    }
    __attribute__((noinline)) void block(const std::int16_t* zz, int& lastDc) {
        raw->room(out, kMaxBlockBytes);
        BlockCoder coder{dcCodes, acCodes, out};
        codeBlock(zz, lastDc, coder);
        keep(coder.out);
    }
    // Field by field: a copy of the whole cursor goes through the stack in vector registers,
    // which then wait for the fields' own stores.
    void keep(const RawBits::Cursor& c) {
        out.at = c.at;
        out.acc = c.acc;
        out.pending = c.pending;
    }
    void dummyBlock() {
        raw->room(out, kMaxBlockBytes);
        BlockCoder coder{dcCodes, acCodes, out};
        codeDummyBlock(coder);
        keep(coder.out);
    }
};

} // namespace

std::vector<Scan> groupScans(const std::vector<Component>& components) {
    std::vector<Scan> scans;
    std::size_t i = 0;
    while (i < components.size()) {
        Scan scan{int(i)};
        int blocks = components[i].h * components[i].v;
        ++i;
        while (i < components.size() && scan.size() < 3 &&
               blocks + components[i].h * components[i].v <= kMaxBlocksPerMcu) {
            blocks += components[i].h * components[i].v;
            scan.push_back(int(i));
            ++i;
        }
        scans.push_back(std::move(scan));
    }
    return scans;
}

McuGrid mcuGrid(int width, int height, const std::vector<Component>& components) {
    int hMax = 1, vMax = 1;
    for (const Component& c : components) {
        hMax = std::max(hMax, c.h);
        vMax = std::max(vMax, c.v);
    }
    return {(width + 8 * hMax - 1) / (8 * hMax), (height + 8 * vMax - 1) / (8 * vMax)};
}

void countScan(const std::vector<Component>& components, const std::vector<ComponentSymbols>& symbols, const Scan& scan,
               McuGrid grid, SymbolStatistics& stats) {
    for (std::size_t s = 0; s < scan.size(); ++s) {
        const Component& c = components[std::size_t(scan[s])];
        const ComponentSymbols& own = symbols[std::size_t(scan[s])];
        for (std::size_t i = 0; i < own.ac.size(); ++i) stats.ac[std::size_t(c.table)][i] += own.ac[i];
        stats.extraBits += own.acExtraBits;
    }

    // The DC differences in coding order, in the parts writeScan codes, one component at a time:
    // each has its own predictor, and a dummy block codes difference 0 and an end of block.
    const std::vector<int> starts = partStarts(unitsOf(components, scan, grid));
    const std::size_t parts = starts.size() - 1;
    std::vector<SymbolStatistics> partStats(parts);
    raster::runParts(int(parts), [&](int k) {
        const int from = starts[std::size_t(k)], to = starts[std::size_t(k) + 1];
        const std::array<int, 3> before = dcBefore(components, scan, grid, from);
        for (std::size_t s = 0; s < scan.size(); ++s) {
            const Component& c = components[std::size_t(scan[s])];
            const std::int16_t* dcs = symbols[std::size_t(scan[s])].dc.data();
            SymbolCounts counts{}; // locals, apart from each other: no reloads between blocks
            std::uint64_t extra = 0, dummies = 0;
            int lastDc = before[s];
            const auto real = [&](int bx, int by) {
                const int dc = dcs[std::size_t(by) * std::size_t(c.blocksWide) + std::size_t(bx)];
                const int cat = category(dc - lastDc);
                lastDc = dc;
                ++counts[std::size_t(cat)];
                extra += std::uint64_t(cat);
            };
            if (scan.size() == 1) {
                for (int by = from; by < to; ++by)
                    for (int bx = 0; bx < c.blocksWide; ++bx) real(bx, by);
            } else {
                for (int my = from; my < to; ++my)
                    for (int mx = 0; mx < grid.wide; ++mx)
                        for (int v = 0; v < c.v; ++v)
                            for (int h = 0; h < c.h; ++h) {
                                const int bx = mx * c.h + h, by = my * c.v + v;
                                if (bx < c.blocksWide && by < c.blocksHigh) real(bx, by);
                                else ++dummies;
                            }
            }
            SymbolStatistics& own = partStats[std::size_t(k)];
            const std::size_t t = std::size_t(c.table);
            for (std::size_t i = 0; i < counts.size(); ++i) own.dc[t][i] += counts[i];
            own.dc[t][0] += dummies;
            own.ac[t][kEndOfBlock] += dummies;
            own.extraBits += extra;
        }
    });
    for (const SymbolStatistics& own : partStats) {
        for (std::size_t t = 0; t < 2; ++t)
            for (std::size_t i = 0; i < own.dc[t].size(); ++i) {
                stats.dc[t][i] += own.dc[t][i];
                stats.ac[t][i] += own.ac[t][i];
            }
        stats.extraBits += own.extraBits;
    }
}

void writeScan(const std::vector<Component>& components, const Scan& scan, McuGrid grid, const ScanTables& tables,
               std::uint64_t expectedBits, ByteOutput& out) {
    const int units = unitsOf(components, scan, grid);
    const std::vector<int> starts = partStarts(units);
    const std::size_t parts = starts.size() - 1;
    std::vector<RawBits> coded(parts);
    raster::runParts(int(parts), [&](int k) {
        const int from = starts[std::size_t(k)], to = starts[std::size_t(k) + 1];
        // Coded into local objects: neighbouring parts' bit buffers would share cache lines, and
        // the bit state stays in registers.
        RawBits bits;
        PartTables partTables;
        for (std::size_t s = 0; s < scan.size(); ++s) {
            const std::size_t t = std::size_t(components[std::size_t(scan[s])].table);
            partTables.dc[s] = tables.dc[t];
            partTables.ac[s] = tables.ac[t];
        }
        PartWriter writer;
        writer.tables = &partTables;
        writer.raw = &bits;
        // (A separate start: had take() written into the writer, the writer's address would
        // have escaped, and the cursor would be kept in memory.)
        const RawBits::Cursor start =
            bits.take(std::size_t(expectedBits / 8 * std::uint64_t(to - from) / std::uint64_t(units) * 5 / 4) + 4096);
        writer.out = start;
        walkScan(components, scan, grid, from, to, dcBefore(components, scan, grid, from), writer);
        bits.put(writer.out);
        coded[std::size_t(k)] = std::move(bits);
    });
    // The scan ends with 1-bits up to a whole byte.
    std::uint64_t total = 0;
    for (const RawBits& part : coded) total += part.bitCount();
    const int fill = int((8 - total % 8) % 8);
    if (fill) coded.back().bits((1u << fill) - 1, fill);
    std::vector<const RawBits*> runs;
    for (RawBits& part : coded) {
        part.finish();
        runs.push_back(&part);
    }
    appendStuffed(runs, out);
}

} // namespace jpeg
