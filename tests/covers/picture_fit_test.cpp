// Where a picture lands on its cover for each fit mode, and that the layout carries it per cover.
#include "page_render.h"
#include "picture_fit.h"

#include "ticks.h"

#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::ticks;

namespace {

void expectBox(const FitBox& got, const FitBox& want, const char* what) {
    EXPECT_NEAR(got.left, want.left, 1e-9) << what;
    EXPECT_NEAR(got.top, want.top, 1e-9) << what;
    EXPECT_NEAR(got.width, want.width, 1e-9) << what;
    EXPECT_NEAR(got.height, want.height, 1e-9) << what;
}

} // namespace

TEST(PictureFit, FillCoversAndFitFitsKeepingProportionsCentred) {
    const FitBox cover{10, 20, 300, 200}; // 3:2
    // A picture wider than the cover (4:1) and one taller (1:2).
    expectBox(fittedBox(cover, 400, 100, FitMode::Fill), {10 - 250, 20, 800, 200}, "wide, fill");
    expectBox(fittedBox(cover, 400, 100, FitMode::Fit), {10, 20 + 62.5, 300, 75}, "wide, fit");
    expectBox(fittedBox(cover, 100, 200, FitMode::Fill), {10, 20 + 100 - 300, 300, 600}, "tall, fill");
    expectBox(fittedBox(cover, 100, 200, FitMode::Fit), {10 + 100, 20, 100, 200}, "tall, fit");
    expectBox(fittedBox(cover, 30, 20, FitMode::Fill), cover, "same proportions, fill");
    expectBox(fittedBox(cover, 30, 20, FitMode::Fit), cover, "same proportions, fit");
    for (FitMode mode : {FitMode::Stretch, FitMode::Fill, FitMode::Fit}) {
        expectBox(fittedBox(cover, 0, 50, mode), cover, "no picture size: stretched");
        expectBox(fittedBox(cover, 50, -1, mode), cover, "no picture size: stretched");
    }
    expectBox(fittedBox(cover, 400, 100, FitMode::Stretch), cover, "stretch");
}

TEST(PictureFit, TheVisiblePartMapsTheCoverBackIntoThePicture) {
    const FitBox cover{0, 0, 300, 200};
    // Fill with a 4:1 picture: the middle 150 of its 400 columns show.
    const VisiblePart fill = visiblePart(cover, 400, 100, FitMode::Fill);
    expectBox(fill.target, cover, "fill shows on the whole cover");
    expectBox(fill.source, {125, 0, 150, 100}, "fill shows the middle of the picture");
    // Fit: the whole picture, on a band of the cover.
    const VisiblePart fit = visiblePart(cover, 400, 100, FitMode::Fit);
    expectBox(fit.target, {0, 62.5, 300, 75}, "fit");
    expectBox(fit.source, {0, 0, 400, 100}, "fit shows all of the picture");

    // On the page: Fill cuts the picture off at the cover, Fit and Stretch need no clip.
    const LengthRect page{Length::fromInches(1), Length::fromInches(1), Length::fromInches(3), Length::fromInches(2)};
    const PictureOnPage filled = fitPicture(page, 400, 100, FitMode::Fill);
    ASSERT_TRUE(filled.clip);
    EXPECT_EQ(*filled.clip, page);
    EXPECT_NEAR(filled.picture.width.inches(), 8, 1e-9);
    EXPECT_FALSE(fitPicture(page, 400, 100, FitMode::Fit).clip);
    EXPECT_EQ(fitPicture(page, 400, 100, FitMode::Stretch), (PictureOnPage{page, std::nullopt}));
    const VisiblePart shown = visiblePart(filled, 400, 100);
    EXPECT_NEAR(shown.source.left, 125, 1e-9);
    EXPECT_NEAR(shown.target.width, page.width.twips(), 1e-9);
}

TEST(PictureFit, TheLayoutPlacesEachCoversPictureAndCalibratesItWithTheCover) {
    const PrintJob jewel = planPrintJob(ticks({1, 2, 3}));
    const PlannedPage& first = jewel.pages.at(0); // Front and Inside
    PageOptions options{Placement::AtPrintableCorner, wholeSheet(first), false, {}, {}};
    options.pictures[0] = {200, 100, FitMode::Fit};  // Front, a 2:1 picture
    options.pictures[1] = {200, 100, FitMode::Fill}; // Inside
    const RenderedPage plain = renderPage(first, options);
    ASSERT_EQ(plain.pictures.size(), plain.covers.size());
    for (std::size_t i = 0; i < plain.covers.size(); ++i) {
        const CoverPictureShape& shape = options.pictures[std::size_t(plain.covers[i].kind - 1)];
        EXPECT_EQ(plain.pictures[i], fitPicture(plain.covers[i].rect, shape.pixelWidth, shape.pixelHeight, shape.fit));
    }
    // Without pictures' sizes every picture is stretched onto its cover: today's pages.
    const RenderedPage stretched = renderPage(first, {Placement::AtPrintableCorner, wholeSheet(first), false, {}, {}});
    for (std::size_t i = 0; i < stretched.covers.size(); ++i)
        EXPECT_EQ(stretched.pictures[i], (PictureOnPage{stretched.covers[i].rect, std::nullopt}));

    options.calibration = {2, -1.5, 98, 103};
    const RenderedPage calibrated = renderPage(first, options);
    for (std::size_t i = 0; i < calibrated.covers.size(); ++i) {
        const PictureOnPage& p = calibrated.pictures[i];
        EXPECT_EQ(p.picture, options.calibration.apply(plain.pictures[i].picture)) << i;
        if (p.clip) {
            EXPECT_EQ(*p.clip, calibrated.covers[i].rect) << "the clip stays the calibrated cover";
        }
    }
    EXPECT_TRUE(calibrated.pictures[1].clip.has_value()) << "Inside is filled";
}
