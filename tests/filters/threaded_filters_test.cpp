// SPDX-License-Identifier: GPL-3.0-or-later
// Every filter gives the same bytes on several threads as on one, and in the picture's own memory
// as through the engine's grids, whatever the picture's shape, including the random filters under
// a fixed seed, and a stopped filter leaves the generator where the plain walk would.
#include "formats/raster/parallel_parts.h"
#include "tests/filters/filter_pictures.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace Module4;
using namespace filtertest;

namespace {

struct ThreadCount {
    explicit ThreadCount(int n) { raster::setWorkerThreads(n); }
    ~ThreadCount() { raster::setWorkerThreads(0); }
};

struct FilterRun {
    std::vector<std::uint8_t> bytes;
    std::uint64_t generatorAfter;
    std::vector<int> progress; // what the caller saw at each yield
    FilterOutcome outcome;
};

enum class Path { Grids, InPlace };

// One filter on `threads` threads from seed 99; stopAfter > 0 stops at that yield.
FilterRun runFilter(int threads, int number, int parameter, const raster::Bitmap& picture, int stopAfter = 0,
                    Path path = Path::Grids) {
    const ThreadCount count(threads);
    raster::Bitmap bmp = picture;
    SeedFilterRandom(99);
    FilterRun run;
    int progress = 0;
    const FilterYield yield = [&] {
        run.progress.push_back(progress);
        return int(run.progress.size()) == stopAfter ? AfterYield::Stop : AfterYield::Continue;
    };
    run.outcome = path == Path::InPlace ? ApplyFilterInPlace(number, &bmp, &picture, parameter, progress, yield)
                                        : ApplyFilter(number, &bmp, parameter, progress, yield);
    run.bytes = bytesOf(bmp);
    run.generatorAfter = FilterRandomPosition();
    return run;
}

const std::vector<std::pair<int, int>> kFilters{
    {FilterNumber::Sharpen, 2},           {FilterNumber::Negative, 0},      {FilterNumber::Blur, 0},
    {FilterNumber::Diffuse, 6},           {FilterNumber::Smooth, 0},        {FilterNumber::EdgeEnhance, 1},
    {FilterNumber::Contour, 0xFFFFFF},    {FilterNumber::Emboss, 0x787800}, {FilterNumber::Engrave, 0x787800},
    {FilterNumber::Grayscale, 0},         {FilterNumber::Relief, 0},        {FilterNumber::Contrast, 10},
    {FilterNumber::BlackWhite, 0xB4B4B4}, {FilterNumber::Dilate, 0},        {FilterNumber::Erode, 0},
    {FilterNumber::EdgeDetect, 0},        {FilterNumber::AddNoise, 50},     {FilterNumber::Saturation, 15},
    {FilterNumber::Diffuse, 300},         {FilterNumber::Sharpen, 40000},   {FilterNumber::Contrast, -90},
};

void expectSameOnThreads(const raster::Bitmap& picture, const std::vector<int>& threadCounts, Path path = Path::Grids) {
    for (const auto& [number, parameter] : kFilters) {
        const FilterRun reference = runFilter(1, number, parameter, picture);
        for (const int threads : threadCounts) {
            const FilterRun run = runFilter(threads, number, parameter, picture, 0, path);
            EXPECT_EQ(run.bytes, reference.bytes) << "filter " << number << " (" << parameter << ") on " << threads
                                                  << " threads, " << picture.width() << " x " << picture.height();
            EXPECT_EQ(run.generatorAfter, reference.generatorAfter) << "filter " << number;
            EXPECT_EQ(run.progress, reference.progress) << "filter " << number;
        }
    }
}

} // namespace

TEST(ThreadedFilters, ThinAndSmallPicturesGiveTheSameBytesOnEveryThreadCount) {
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{
             {1, 1}, {1, 37}, {37, 1}, {2, 2}, {3, 3}, {2, 50}, {50, 2}, {17, 13}, {300, 7}, {5, 301}})
        expectSameOnThreads(scrambled(w, h, std::uint32_t(w * 1000 + h)), {2, 3, 8});
}

TEST(ThreadedFilters, APictureOfSeveralBlocksGivesTheSameBytesOnEveryThreadCount) {
    // Wider than the wavefront's span and taller than one block of rows.
    expectSameOnThreads(scrambled(700, 1600, 7), {2, 3});
}

TEST(ThreadedFilters, InThePicturesOwnMemoryEveryFilterGivesTheBytesOfTheGrids) {
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {3, 3}, {2, 50}, {300, 7}, {700, 1600}})
        expectSameOnThreads(scrambled(w, h, std::uint32_t(w * 1000 + h)), {1, 2}, Path::InPlace);
}

TEST(ThreadedFilters, AStoppedRandomFilterMovesTheGeneratorByTheRowsItReported) {
    const raster::Bitmap picture = scrambled(640, 1700, 3); // three blocks of rows
    for (const int number : {FilterNumber::AddNoise, FilterNumber::Diffuse}) {
        for (const int stopAt : {1, 700, 1650}) {
            const FilterRun reference = runFilter(1, number, 20, picture, stopAt);
            const FilterRun run = runFilter(2, number, 20, picture, stopAt);
            ASSERT_EQ(reference.outcome, FilterOutcome::Stopped);
            EXPECT_EQ(run.outcome, FilterOutcome::Stopped);
            EXPECT_EQ(run.bytes, reference.bytes) << "a stopped filter writes nothing back";
            EXPECT_EQ(run.progress, reference.progress);
            EXPECT_EQ(run.generatorAfter, reference.generatorAfter) << "filter " << number << " stopped at " << stopAt;
            // The plain walk drew 3 (Add Noise) or 2 (Diffuse) numbers a pixel of each reported row.
            SeedFilterRandom(99);
            FilterRandomStream expected(99, std::uint64_t(stopAt) * 640 * (number == FilterNumber::AddNoise ? 3 : 2));
            EXPECT_EQ(run.generatorAfter, expected.position());
        }
    }
}
