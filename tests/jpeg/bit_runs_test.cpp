// SPDX-License-Identifier: GPL-3.0-or-later
// Bits coded in separate runs and joined against the same bits written in one go through
// ByteOutput: the join must stuff exactly where the single stream does, wherever the runs meet.

#include "formats/raster/parallel_parts.h"
#include "jpeg/bit_runs.h"
#include "jpeg/byte_output.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace jpeg;

namespace {

struct Piece {
    std::uint32_t value;
    int count;
};

// The bytes of the pieces written one after another and padded, as a single stream.
std::vector<std::uint8_t> written(const std::vector<std::vector<Piece>>& runs) {
    ByteOutput out(0);
    for (const auto& run : runs)
        for (const Piece& p : run) {
            out.reserve(16);
            out.bits(p.value, p.count);
        }
    out.padBits();
    return out.take();
}

// The same pieces as separate runs, the last one padded with ones, joined.
std::vector<std::uint8_t> joined(const std::vector<std::vector<Piece>>& runs) {
    std::vector<RawBits> raw(runs.size());
    std::uint64_t total = 0;
    for (std::size_t k = 0; k < runs.size(); ++k) {
        for (const Piece& p : runs[k]) raw[k].bits(p.value, p.count);
        total += raw[k].bitCount();
    }
    const int fill = int((8 - total % 8) % 8);
    if (fill) raw.back().bits((1u << fill) - 1, fill);
    std::vector<const RawBits*> pointers;
    for (RawBits& r : raw) {
        r.finish();
        pointers.push_back(&r);
    }
    ByteOutput out(0);
    appendStuffed(pointers, out);
    return out.take();
}

// Random pieces of 1 to 27 bits; mostly ones where onesBias is high, so 0xFF bytes abound.
std::vector<Piece> randomRun(std::mt19937& rng, int pieces, double onesBias) {
    std::vector<Piece> run;
    std::bernoulli_distribution one(onesBias);
    for (int i = 0; i < pieces; ++i) {
        const int count = 1 + int(rng() % 27);
        std::uint32_t value = 0;
        for (int b = 0; b < count; ++b) value = value << 1 | (one(rng) ? 1u : 0u);
        run.push_back({value, count});
    }
    return run;
}

} // namespace

TEST(JpegBitRuns, JoinedRunsEqualOneStreamWhereverTheyMeet) {
    std::mt19937 rng(11);
    for (const int threads : {1, 2, 3}) {
        raster::setWorkerThreads(threads);
        for (int trial = 0; trial < 300; ++trial) {
            // Runs of every size, down to none and a single bit, so that joins fall inside a
            // byte, on its boundary, inside 0xFF bytes, and several runs share one byte.
            const int runCount = 1 + int(rng() % 9);
            const double bias = trial % 3 == 0 ? 0.5 : 0.97;
            std::vector<std::vector<Piece>> runs;
            for (int k = 0; k < runCount; ++k) {
                const int size = int(rng() % 4);
                const int pieces = size == 0 ? 0
                    : size == 1              ? 1
                    : size == 2              ? 1 + int(rng() % 4)
                                             : 20 + int(rng() % 400);
                runs.push_back(randomRun(rng, pieces, bias));
            }
            ASSERT_EQ(joined(runs), written(runs)) << "trial " << trial << " on " << threads << " threads";
        }
    }
    raster::setWorkerThreads(0);
}

TEST(JpegBitRuns, AllOnesAcrossEveryOffset) {
    // Runs of ones only: every byte is 0xFF, whatever bit offset each run starts at.
    for (int first = 0; first < 16; ++first)
        for (int second = 0; second < 80; second += 7) {
            const std::vector<std::vector<Piece>> runs{
                {{(1u << first) - 1, first}}, {{0x7FFFFF, 23}, {(1u << (second % 30)) - 1, second % 30}}, {{1, 1}}};
            ASSERT_EQ(joined(runs), written(runs)) << first << " " << second;
        }
}
