#include "scan_coder.h"

#include "block_symbols.h"

#include "raster/parallel_parts.h"

#include <algorithm>
#include <array>

namespace jpeg {

namespace {

constexpr int kMaxBlocksPerMcu = 10;
// Worst case of one coded block, stuffing included.
constexpr std::size_t kMaxBlockBytes = 512;

// A dummy block of an interleaved MCU: the previous DC again and no AC coefficients.
template <class Emit>
inline void codeDummyBlock(Emit& emit) {
    emit.dc(0, 0);
    emit.ac(kEndOfBlock, 0, 0);
}

// The units a scan is cut into for its parts: rows of MCUs for an interleaved scan, rows of
// blocks for a scan of one component.
int unitsOf(const std::vector<Component>& components, const Scan& scan, McuGrid grid) {
    return scan.size() == 1 ? components[std::size_t(scan[0])].blocksHigh : grid.high;
}

// Runs the blocks of units [from, to) of a scan in coding order, starting from the given
// previous DC values; emitterOf(s) gives the emitter of the scan's s-th component.
template <class EmitterOf>
void walkScan(const std::vector<Component>& components, const Scan& scan, McuGrid grid, int from, int to,
              std::array<int, 3> lastDc, EmitterOf&& emitterOf) {
    if (scan.size() == 1) {
        const Component& c = components[std::size_t(scan[0])];
        auto& emit = emitterOf(0);
        for (int by = from; by < to; ++by)
            for (int bx = 0; bx < c.blocksWide; ++bx) codeBlock(c.block(bx, by), lastDc[0], emit);
        return;
    }
    for (int my = from; my < to; ++my) {
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

// Entropy-coded bits without stuffing, for one part of a scan; the parts are joined, and
// stuffed, in order once all are coded.
class RawBits {
public:
    void reserve(std::size_t n) {
        if (pos_ + n > buffer_.size()) buffer_.resize((pos_ + n) * 3 / 2 + 4096);
    }
    void bits(std::uint32_t value, int count) {
        acc_ = (acc_ << count) | value;
        pending_ += count;
        if (pending_ >= 32) {
            pending_ -= 32;
            const auto word = std::uint32_t(acc_ >> pending_);
            std::uint8_t* out = buffer_.data() + pos_;
            out[0] = std::uint8_t(word >> 24);
            out[1] = std::uint8_t(word >> 16);
            out[2] = std::uint8_t(word >> 8);
            out[3] = std::uint8_t(word);
            pos_ += 4;
        }
    }
    // Appends every bit to out, which stuffs as it writes.
    void appendTo(ByteOutput& out) const {
        out.reserve(2 * pos_ + 16);
        for (std::size_t i = 0; i + 4 <= pos_; i += 4)
            out.bits(std::uint32_t(buffer_[i]) << 24 | std::uint32_t(buffer_[i + 1]) << 16 |
                         std::uint32_t(buffer_[i + 2]) << 8 | buffer_[i + 3],
                     32);
        if (pending_ > 0) out.bits(std::uint32_t(acc_ & ((std::uint64_t(1) << pending_) - 1)), pending_);
    }

private:
    std::vector<std::uint8_t> buffer_;
    std::size_t pos_ = 0;
    std::uint64_t acc_ = 0;
    int pending_ = 0;
};

struct Writer {
    const HuffmanCodes* dcCodes;
    const HuffmanCodes* acCodes;
    RawBits* out;
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

void countScan(const std::vector<Component>& components, const std::vector<ComponentSymbols>& symbols,
               const Scan& scan, McuGrid grid, SymbolStatistics& stats) {
    for (std::size_t s = 0; s < scan.size(); ++s) {
        const Component& c = components[std::size_t(scan[s])];
        const ComponentSymbols& own = symbols[std::size_t(scan[s])];
        const std::size_t t = std::size_t(c.table);
        for (std::size_t i = 0; i < own.ac.size(); ++i) stats.ac[t][i] += own.ac[i];
        stats.extraBits += own.acExtraBits;

        // The DC differences in coding order, one component at a time: each has its own
        // predictor, and a dummy block codes difference 0 and an end of block.
        int lastDc = 0;
        const auto real = [&](int bx, int by) {
            const int dc = own.dc[std::size_t(by) * std::size_t(c.blocksWide) + std::size_t(bx)];
            const int cat = category(dc - lastDc);
            lastDc = dc;
            ++stats.dc[t][std::size_t(cat)];
            stats.extraBits += std::uint64_t(cat);
        };
        if (scan.size() == 1) {
            for (int by = 0; by < c.blocksHigh; ++by)
                for (int bx = 0; bx < c.blocksWide; ++bx) real(bx, by);
            continue;
        }
        for (int my = 0; my < grid.high; ++my)
            for (int mx = 0; mx < grid.wide; ++mx)
                for (int v = 0; v < c.v; ++v)
                    for (int h = 0; h < c.h; ++h) {
                        const int bx = mx * c.h + h, by = my * c.v + v;
                        if (bx < c.blocksWide && by < c.blocksHigh) {
                            real(bx, by);
                        } else {
                            ++stats.dc[t][0];
                            ++stats.ac[t][kEndOfBlock];
                        }
                    }
    }
}

void writeScan(const std::vector<Component>& components, const Scan& scan, McuGrid grid,
               const ScanTables& tables, ByteOutput& out) {
    const std::vector<int> starts = partStarts(unitsOf(components, scan, grid));
    const std::size_t parts = starts.size() - 1;
    std::vector<RawBits> coded(parts);
    raster::runParts(int(parts), [&](int k) {
        std::vector<Writer> writers;
        for (int index : scan) {
            const int t = components[std::size_t(index)].table;
            writers.push_back(Writer{tables.dc[std::size_t(t)], tables.ac[std::size_t(t)], &coded[std::size_t(k)]});
        }
        const int from = starts[std::size_t(k)], to = starts[std::size_t(k) + 1];
        walkScan(components, scan, grid, from, to, dcBefore(components, scan, grid, from),
                 [&](int s) -> Writer& { return writers[std::size_t(s)]; });
    });
    for (const RawBits& part : coded) part.appendTo(out);
    out.padBits();
}

} // namespace jpeg
