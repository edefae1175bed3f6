// SPDX-License-Identifier: GPL-3.0-or-later
// Where a picture lands on its cover for each fit mode, and that the layout carries it per cover.
#include "covers/page_render.h"
#include "covers/picture_fit.h"

#include "tests/covers/ticks.h"

#include <gtest/gtest.h>

using namespace kavi;

TEST(PictureFit, FillCoversAndFitFitsKeepingProportionsCentred) {
    const FitBox cover{10, 20, 300, 200}; // 3:2
    // A picture wider than the cover (4:1) and one taller (1:2); a picture without a size is stretched.
    EXPECT_EQ(fittedBox(cover, 400, 100, FitMode::Fill), (FitBox{-240, 20, 800, 200}));
    EXPECT_EQ(fittedBox(cover, 400, 100, FitMode::Fit), (FitBox{10, 82.5, 300, 75}));
    EXPECT_EQ(fittedBox(cover, 100, 200, FitMode::Fill), (FitBox{10, -180, 300, 600}));
    EXPECT_EQ(fittedBox(cover, 100, 200, FitMode::Fit), (FitBox{110, 20, 100, 200}));
    EXPECT_EQ(fittedBox(cover, 400, 100, FitMode::Stretch), cover);
    EXPECT_EQ(fittedBox(cover, 0, 50, FitMode::Fill), cover);
    EXPECT_EQ(fittedBox(cover, 50, -1, FitMode::Fit), cover);
    // What shows of the filled wide picture: the middle 150 of its 400 columns, over the whole cover.
    const VisiblePart fill = visiblePart(cover, 400, 100, FitMode::Fill);
    EXPECT_EQ(fill.target, cover);
    EXPECT_EQ(fill.source, (FitBox{125, 0, 150, 100}));
}

TEST(PictureFit, TheLayoutPlacesEachPictureAndCalibratesItWithItsCover) {
    const PlannedPage first = planPrintJob(kavi::testing::ticks({1, 2, 3})).pages.at(0); // Front, Inside
    PageOptions options{Placement::AtPrintableCorner, wholeSheet(first), false, {2, -1.5, 98, 103}, {}};
    options.pictures[0] = {200, 100, FitMode::Fit};
    options.pictures[1] = {200, 100, FitMode::Fill};
    const RenderedPage page = renderPage(first, options);
    ASSERT_EQ(page.pictures.size(), 2u);
    options.calibration = {};
    const RenderedPage uncalibrated = renderPage(first, options);
    for (std::size_t i = 0; i < 2; ++i) {
        const PlacedCover& cover = uncalibrated.covers[i];
        const CoverPictureShape& shape = options.pictures[std::size_t(cover.kind - 1)];
        EXPECT_EQ(uncalibrated.pictures[i], fitPicture(cover.rect, shape.pixelWidth, shape.pixelHeight, shape.fit));
        EXPECT_EQ(page.pictures[i].picture, Calibration({2, -1.5, 98, 103}).apply(uncalibrated.pictures[i].picture));
    }
    EXPECT_FALSE(page.pictures[0].clip) << "a fitted picture needs no clip";
    ASSERT_TRUE(page.pictures[1].clip);
    EXPECT_EQ(*page.pictures[1].clip, page.covers[1].rect) << "a filled one is cut off at its calibrated cover";
    // Without pictures' sizes every picture is stretched onto its cover: today's pages.
    const RenderedPage plain = renderPage(first, {Placement::AtPrintableCorner, wholeSheet(first), false, {}, {}});
    EXPECT_EQ(plain.pictures[1], (PictureOnPage{plain.covers[1].rect, std::nullopt}));
}
