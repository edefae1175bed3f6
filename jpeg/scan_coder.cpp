#include "scan_coder.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace jpeg {

namespace {

constexpr int kMaxBlocksPerMcu = 10;
constexpr std::uint8_t kEndOfBlock = 0x00;
constexpr std::uint8_t kZeroRun16 = 0xF0;
// Worst case of one coded block, stuffing included.
constexpr std::size_t kMaxBlockBytes = 512;

inline int category(int v) {
    const unsigned magnitude = unsigned(v < 0 ? -v : v);
    return magnitude ? 32 - std::countl_zero(magnitude) : 0;
}

// The low bits that follow a symbol: v itself, or v - 1 for negative values (ones' complement).
inline std::uint32_t magnitudeBits(int v, int cat) {
    return std::uint32_t(v < 0 ? v - 1 : v) & ((1u << cat) - 1);
}

// Bit k set where zig-zag coefficient k is not zero.
inline std::uint64_t nonZeroMask(const std::int16_t* zz) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    std::uint64_t zeros = 0;
    for (int i = 0; i < 64; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(zz + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(zz + i + 8));
        const __m128i bytes = _mm_packs_epi16(_mm_cmpeq_epi16(a, zero), _mm_cmpeq_epi16(b, zero));
        zeros |= std::uint64_t(std::uint32_t(_mm_movemask_epi8(bytes))) << i;
    }
    return ~zeros;
#else
    std::uint64_t mask = 0;
    for (int k = 0; k < 64; ++k)
        if (zz[k]) mask |= std::uint64_t(1) << k;
    return mask;
#endif
}

// Walks one block's symbols: emit.dc(category, value) once, then emit.ac(symbol, value, size).
template <class Emit>
inline void codeBlock(const std::int16_t* zz, int& lastDc, Emit& emit) {
    const int diff = zz[0] - lastDc;
    lastDc = zz[0];
    emit.dc(category(diff), diff);

    std::uint64_t mask = nonZeroMask(zz) & ~std::uint64_t(1);
    int last = 0;
    while (mask) {
        const int k = std::countr_zero(mask);
        mask &= mask - 1;
        int run = k - last - 1;
        while (run > 15) {
            emit.ac(kZeroRun16, 0, 0);
            run -= 16;
        }
        const int v = zz[k];
        const int cat = category(v);
        emit.ac(std::uint8_t((run << 4) | cat), v, cat);
        last = k;
    }
    if (last != 63) emit.ac(kEndOfBlock, 0, 0);
}

// A dummy block of an interleaved MCU: the previous DC again and no AC coefficients.
template <class Emit>
inline void codeDummyBlock(Emit& emit) {
    emit.dc(0, 0);
    emit.ac(kEndOfBlock, 0, 0);
}

// Runs the blocks of a scan in coding order; emitterOf(s) gives the emitter of the scan's s-th component.
template <class EmitterOf>
void walkScan(const std::vector<Component>& components, const Scan& scan, McuGrid grid,
              EmitterOf&& emitterOf) {
    int lastDc[3] = {0, 0, 0};
    if (scan.size() == 1) {
        const Component& c = components[std::size_t(scan[0])];
        auto& emit = emitterOf(0);
        for (int by = 0; by < c.blocksHigh; ++by)
            for (int bx = 0; bx < c.blocksWide; ++bx) codeBlock(c.block(bx, by), lastDc[0], emit);
        return;
    }
    for (int my = 0; my < grid.high; ++my) {
        for (int mx = 0; mx < grid.wide; ++mx) {
            for (std::size_t s = 0; s < scan.size(); ++s) {
                const Component& c = components[std::size_t(scan[s])];
                auto& emit = emitterOf(int(s));
                for (int v = 0; v < c.v; ++v) {
                    const int by = my * c.v + v;
                    for (int h = 0; h < c.h; ++h) {
                        const int bx = mx * c.h + h;
                        if (bx < c.blocksWide && by < c.blocksHigh)
                            codeBlock(c.block(bx, by), lastDc[s], emit);
                        else
                            codeDummyBlock(emit);
                    }
                }
            }
        }
    }
}

struct Counter {
    SymbolCounts* dcCounts;
    SymbolCounts* acCounts;
    std::uint64_t* extra;
    void dc(int cat, int) {
        ++(*dcCounts)[std::size_t(cat)];
        *extra += std::uint64_t(cat);
    }
    void ac(std::uint8_t symbol, int, int size) {
        ++(*acCounts)[symbol];
        *extra += std::uint64_t(size);
    }
};

struct Writer {
    const HuffmanCodes* dcCodes;
    const HuffmanCodes* acCodes;
    ByteOutput* out;
    void dc(int cat, int value) {
        out->reserve(kMaxBlockBytes);
        const int len = dcCodes->length[std::size_t(cat)];
        out->bits((std::uint32_t(dcCodes->code[std::size_t(cat)]) << cat) | magnitudeBits(value, cat),
                  len + cat);
    }
    void ac(std::uint8_t symbol, int value, int size) {
        const int len = acCodes->length[symbol];
        out->bits((std::uint32_t(acCodes->code[symbol]) << size) | magnitudeBits(value, size),
                  len + size);
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

void countScan(const std::vector<Component>& components, const Scan& scan, McuGrid grid,
               SymbolStatistics& stats) {
    std::vector<Counter> counters;
    for (int index : scan) {
        const int t = components[std::size_t(index)].table;
        Counter c{};
        c.dcCounts = &stats.dc[std::size_t(t)];
        c.acCounts = &stats.ac[std::size_t(t)];
        c.extra = &stats.extraBits;
        counters.push_back(c);
    }
    walkScan(components, scan, grid, [&](int s) -> Counter& { return counters[std::size_t(s)]; });
}

void writeScan(const std::vector<Component>& components, const Scan& scan, McuGrid grid,
               const ScanTables& tables, ByteOutput& out) {
    std::vector<Writer> writers;
    for (int index : scan) {
        const int t = components[std::size_t(index)].table;
        writers.push_back(Writer{tables.dc[std::size_t(t)], tables.ac[std::size_t(t)], &out});
    }
    walkScan(components, scan, grid, [&](int s) -> Writer& { return writers[std::size_t(s)]; });
    out.padBits();
}

} // namespace jpeg
