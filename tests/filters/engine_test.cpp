// SPDX-License-Identifier: GPL-3.0-or-later
// The engine: reading and writing back, progress, yielding, re-entry, stop and failure.
#include "tests/filters/filter_pictures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

using namespace filtertest;
using namespace Module4;

namespace {

std::vector<int> progressSeenByYield(int number, raster::Bitmap bmp, int parameter = 0) {
    std::vector<int> seen;
    int progress = -1;
    ApplyFilter(number, &bmp, parameter, progress, [&] {
        seen.push_back(progress);
        return AfterYield::Continue;
    });
    return seen;
}

void expectIdle() {
    EXPECT_FALSE(FilterBusy());
    EXPECT_EQ(WorkPixels().byteCount(), 16u);
    EXPECT_EQ(SourcePixels().byteCount(), 16u);
}

} // namespace

TEST(FilterEngine, NumbersWithoutRoutineWriteBackWhatWasRead) {
    for (int number : {0, 32, 9, 31, -7, 1000}) {
        raster::Bitmap bmp = scrambled(7, 5);
        const auto before = bytesOf(bmp);
        int progress = -1;
        EXPECT_EQ(ApplyFilter(number, &bmp, 0, progress), FilterOutcome::Applied);
        EXPECT_EQ(bytesOf(bmp), before) << "number " << number;
        EXPECT_EQ(progress, -1) << "no routine, no progress";
    }
    // Other depths go through the same read and write.
    raster::Bitmap rgb24(5, 3, 24, raster::RowOrder::BottomUp);
    for (std::size_t i = 0; i < rgb24.byteCount(); ++i) rgb24.bits()[i] = std::uint8_t(i * 37);
    const auto before24 = bytesOf(rgb24);
    EXPECT_EQ(bytesOf(filtered(32, rgb24)), before24);
}

TEST(FilterEngine, ColourFiltersWorkOnEveryDepth) {
    raster::Bitmap top32 = scrambled(6, 4);
    raster::Bitmap bottom24(6, 4, 24, raster::RowOrder::BottomUp);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const Bgr c = at(top32, x, y);
            std::uint8_t* p = bottom24.row(y) + x * 3;
            p[0] = std::uint8_t(c.b), p[1] = std::uint8_t(c.g), p[2] = std::uint8_t(c.r);
        }
    top32 = filtered(FilterNumber::Negative, top32);
    bottom24 = filtered(FilterNumber::Negative, bottom24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const std::uint8_t* p = bottom24.row(y) + x * 3;
            EXPECT_EQ((Bgr{p[0], p[1], p[2]}), at(top32, x, y));
        }
}

TEST(FilterEngine, ProgressAfterEveryRowEndsAtHundredWithGridsShrunk) {
    // Every pixel: rows 1 to 4 of 4, then 100 once more.
    EXPECT_EQ(progressSeenByYield(FilterNumber::Negative, flat(3, 4, 9)), (std::vector<int>{25, 50, 75, 100, 100}));
    // The interior kernels report rows 2 to H - 1 by their own number.
    EXPECT_EQ(progressSeenByYield(FilterNumber::Blur, flat(3, 5, 9)), (std::vector<int>{40, 60, 80, 100}));
    // Emboss walks rows 1 to H - 1.
    EXPECT_EQ(progressSeenByYield(FilterNumber::Emboss, flat(3, 3, 9)), (std::vector<int>{33, 66, 100}));
    // Contrast: 5 after its preparation, then 5 + r * 95 \ H.
    EXPECT_EQ(progressSeenByYield(FilterNumber::Contrast, flat(2, 3, 9), 10), (std::vector<int>{5, 36, 68, 100, 100}));
    // A picture too small for the interior still ends at 100.
    EXPECT_EQ(progressSeenByYield(FilterNumber::Sharpen, flat(2, 2, 9), 2), (std::vector<int>{100}));

    raster::Bitmap big = flat(1000, 800, 40);
    int progress = 0;
    bool sawFullGrids = false;
    ApplyFilter(FilterNumber::Relief, &big, 0, progress, [&] {
        sawFullGrids = WorkPixels().width() == 1000 && SourcePixels().height() == 800 && FilterBusy();
        return AfterYield::Continue;
    });
    EXPECT_TRUE(sawFullGrids);
    EXPECT_EQ(progress, 100);
    expectIdle();
}

TEST(FilterEngine, SecondCallFromInsideTheYieldDoesNothing) {
    raster::Bitmap outer = flat(4, 4, 100);
    raster::Bitmap inner = scrambled(4, 4);
    const auto innerBefore = bytesOf(inner);
    int outerProgress = 0;
    int innerProgress = -3;
    std::vector<FilterOutcome> innerOutcomes;
    const FilterOutcome outcome = ApplyFilter(FilterNumber::Negative, &outer, 0, outerProgress, [&] {
        innerOutcomes.push_back(ApplyFilter(FilterNumber::Negative, &inner, 0, innerProgress));
        return AfterYield::Continue;
    });
    EXPECT_EQ(outcome, FilterOutcome::Applied);
    EXPECT_EQ(innerOutcomes, std::vector<FilterOutcome>(5, FilterOutcome::Busy));
    EXPECT_EQ(bytesOf(inner), innerBefore);
    EXPECT_EQ(innerProgress, -3);
    EXPECT_EQ(at(outer, 2, 2), (Bgr{155, 155, 155})) << "the running filter is not disturbed";
    expectIdle();
}

TEST(FilterEngine, AnEngineOfItsOwnKeepsItsStateApartFromTheProcessEngine) {
    raster::Bitmap mine = scrambled(9, 6), processed = mine;
    FilterEngine own;
    int ownProgress = 0, processProgress = 0;
    bool processBusySeen = true;
    EXPECT_EQ(own.apply(FilterNumber::Contrast, &mine, 40, ownProgress,
                        [&] {
                            processBusySeen = processBusySeen && own.busy() && !FilterBusy();
                            return AfterYield::Continue;
                        }),
              FilterOutcome::Applied);
    EXPECT_TRUE(processBusySeen) << "only the engine that runs is busy";
    EXPECT_EQ(own.progress(), 100);
    EXPECT_EQ(own.workPixels().byteCount(), 16u);
    EXPECT_EQ(ApplyFilter(FilterNumber::Contrast, &processed, 40, processProgress), FilterOutcome::Applied);
    EXPECT_EQ(bytesOf(mine), bytesOf(processed)) << "the same filter gives the same pixels on either engine";
    expectIdle();
}

TEST(FilterEngine, StopFromTheYieldLeavesThePictureUntouched) {
    for (int stopAt : {1, 3, 6}) { // the first row, a middle row, the final yield after 100
        raster::Bitmap bmp = scrambled(5, 5);
        const auto before = bytesOf(bmp);
        int progress = 0, yields = 0;
        const FilterOutcome outcome = ApplyFilter(FilterNumber::Negative, &bmp, 0, progress, [&] {
            return ++yields == stopAt ? AfterYield::Stop : AfterYield::Continue;
        });
        EXPECT_EQ(outcome, FilterOutcome::Stopped);
        EXPECT_EQ(yields, stopAt) << "the routine ends after the row it was stopped at";
        EXPECT_EQ(bytesOf(bmp), before);
        expectIdle();
    }
    // Contrast can be stopped at its first report, before any row.
    raster::Bitmap bmp = scrambled(5, 5);
    const auto before = bytesOf(bmp);
    int progress = 0;
    EXPECT_EQ(ApplyFilter(FilterNumber::Contrast, &bmp, 10, progress, [] { return AfterYield::Stop; }),
              FilterOutcome::Stopped);
    EXPECT_EQ(progress, 5);
    EXPECT_EQ(bytesOf(bmp), before);
}

TEST(FilterEngine, BadInputGivesADefinedResult) {
    int progress = -1;
    EXPECT_EQ(ApplyFilter(FilterNumber::Blur, nullptr, 0, progress), FilterOutcome::NoPicture);
    raster::Bitmap empty;
    EXPECT_EQ(ApplyFilter(FilterNumber::Blur, &empty, 0, progress), FilterOutcome::NoPicture);
    raster::Bitmap noRows(5, 0, 32);
    EXPECT_EQ(ApplyFilter(FilterNumber::Blur, &noRows, 0, progress), FilterOutcome::NoPicture);
    EXPECT_EQ(progress, -1);
    EXPECT_FALSE(FilterBusy());

    // Parameters that make a divisor zero fail without touching the picture...
    for (auto [number, parameter] : {std::pair{FilterNumber::Sharpen, -8}, std::pair{FilterNumber::EdgeEnhance, -1}}) {
        raster::Bitmap bmp = scrambled(4, 4);
        const auto before = bytesOf(bmp);
        EXPECT_EQ(ApplyFilter(number, &bmp, parameter, progress), FilterOutcome::Failed);
        EXPECT_EQ(bytesOf(bmp), before);
        expectIdle();
    }
    // ...unless the picture has no interior pixel to divide for.
    raster::Bitmap narrow = scrambled(2, 6);
    EXPECT_EQ(ApplyFilter(FilterNumber::Sharpen, &narrow, -8, progress), FilterOutcome::Applied);

    // Absurd parameters give pixels in range and no arithmetic fault (the sanitizers watch).
    for (int number : allFilterNumbers())
        for (int parameter : {INT32_MIN, INT32_MAX, -1000001, 1000001}) {
            raster::Bitmap bmp = scrambled(6, 5);
            EXPECT_EQ(ApplyFilter(number, &bmp, parameter, progress), FilterOutcome::Applied)
                << number << " " << parameter;
        }
    expectIdle();
}

TEST(FilterEngine, AnExceptionFromTheYieldPassesThroughAfterCleanUp) {
    raster::Bitmap bmp = scrambled(4, 4);
    const auto before = bytesOf(bmp);
    int progress = 0;
    EXPECT_THROW(ApplyFilter(FilterNumber::Blur, &bmp, 0, progress,
                             []() -> AfterYield { throw std::runtime_error("window closed"); }),
                 std::runtime_error);
    EXPECT_EQ(bytesOf(bmp), before);
    expectIdle();
}

TEST(FilterEngine, NoFilterTouchesTheReservedByte) {
    SeedFilterRandom(7);
    for (int number : allFilterNumbers()) {
        raster::Bitmap bmp = scrambled(9, 7, std::uint32_t(number));
        std::vector<std::uint8_t> reserved;
        for (std::size_t i = 3; i < bmp.byteCount(); i += 4) reserved.push_back(bmp.bits()[i]);
        bmp = filtered(number, bmp, windowParameter(number));
        std::size_t k = 0;
        for (std::size_t i = 3; i < bmp.byteCount(); i += 4, ++k)
            ASSERT_EQ(bmp.bits()[i], reserved[k]) << "filter " << number << " byte " << i;
    }
}

TEST(FilterEngine, TinyPicturesAreAccepted) {
    SeedFilterRandom(1);
    for (int number : allFilterNumbers())
        for (auto [w, h] : {std::pair{1, 1}, std::pair{2, 9}, std::pair{9, 2}}) {
            raster::Bitmap bmp = scrambled(w, h);
            const auto before = bytesOf(bmp);
            int progress = 0;
            EXPECT_EQ(ApplyFilter(number, &bmp, windowParameter(number), progress), FilterOutcome::Applied);
            EXPECT_EQ(progress, 100);
            const bool interiorOnly = number == 1 || number == 3 || number == 5 || number == 6 || number == 7 ||
                number == 13 || number == 25 || number == 26 || number == 27;
            if (interiorOnly) {
                EXPECT_EQ(bytesOf(bmp), before) << number << " on " << w << " x " << h;
            }
        }
}

TEST(FilterEngine, InPlaceLeavesTheUnchangedPictureAloneAndFallsBackForOtherPairs) {
    const raster::Bitmap unchanged = scrambled(40, 30);
    const auto before = bytesOf(unchanged);
    const auto expected = bytesOf(filtered(FilterNumber::Dilate, unchanged));
    raster::Bitmap bmp = unchanged;
    int progress = 0;
    EXPECT_EQ(ApplyFilterInPlace(FilterNumber::Dilate, &bmp, &unchanged, 0, progress), FilterOutcome::Applied);
    EXPECT_EQ(bytesOf(bmp), expected);
    EXPECT_EQ(bytesOf(unchanged), before) << "the unchanged picture is only read";
    expectIdle();

    // A bottom-up picture, a copy of another size and the picture itself as its own copy all take
    // the grids, with the same result.
    raster::Bitmap bottomUp(40, 30, 32, raster::RowOrder::BottomUp);
    for (int y = 0; y < 30; ++y) std::memcpy(bottomUp.row(y), unchanged.row(y), 160);
    EXPECT_EQ(ApplyFilterInPlace(FilterNumber::Dilate, &bottomUp, &unchanged, 0, progress), FilterOutcome::Applied);
    for (int y = 0; y < 30; ++y)
        EXPECT_EQ(0, std::memcmp(bottomUp.row(y), expected.data() + y * 160, 160)) << "row " << y;
    const raster::Bitmap smaller = scrambled(4, 3);
    bmp = unchanged;
    EXPECT_EQ(ApplyFilterInPlace(FilterNumber::Dilate, &bmp, &smaller, 0, progress), FilterOutcome::Applied);
    EXPECT_EQ(bytesOf(bmp), expected);
    bmp = unchanged;
    EXPECT_EQ(ApplyFilterInPlace(FilterNumber::Dilate, &bmp, &bmp, 0, progress), FilterOutcome::Applied);
    EXPECT_EQ(bytesOf(bmp), expected);
    expectIdle();
}
