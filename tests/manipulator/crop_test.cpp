// SPDX-License-Identifier: GPL-3.0-or-later
// The crop rectangle from a drag: inside the picture, and locked to a cover's proportions.
#include "manipulator/crop_rect.h"
#include "manipulator/manipulator_buffers.h"

#include <gtest/gtest.h>

using namespace kavi;

TEST(CropRectangle, ADragInAnyDirectionStaysInsideThePicture) {
    EXPECT_EQ(cropFromDrag(60, 50, 10, 20, 100, 80, std::nullopt), (CropRect{10, 20, 50, 30})) << "up and left";
    EXPECT_EQ(cropFromDrag(10, 20, 500, 300, 100, 80, std::nullopt), (CropRect{10, 20, 90, 60})) << "past the corner";
    EXPECT_EQ(cropFromDrag(-30, -40, 50, 30, 100, 80, std::nullopt), (CropRect{0, 0, 50, 30})) << "pressed outside";
    EXPECT_TRUE(cropFromDrag(120, 10, 150, 60, 100, 80, std::nullopt).isEmpty()) << "wholly beside it";
}

TEST(CropRectangle, LockedDragsKeepTheCoversProportionsEvenAtTheEdges) {
    // The farther direction leads: 60 across asks 40 down, 40 down asks 60 across.
    EXPECT_EQ(cropFromDrag(10, 10, 70, 15, 200, 100, 1.5), (CropRect{10, 10, 60, 40}));
    EXPECT_EQ(cropFromDrag(10, 10, 20, 50, 200, 100, 1.5), (CropRect{10, 10, 60, 40}));
    // Far outside: shrunk from the anchor until it fits (room down is 60), still 3:2.
    EXPECT_EQ(cropFromDrag(20, 40, 900, 900, 200, 100, 1.5), (CropRect{20, 40, 90, 60}));
    for (const double aspect : {1.0, 15652.8 / 6580.8, 4680.0 / 4968})
        for (const auto& [px, py] : {std::pair{-500.0, -500.0}, {900.0, -20.0}, {-10.0, 700.0}}) {
            const CropRect r = cropFromDrag(150, 90, px, py, 640, 480, aspect);
            ASSERT_FALSE(r.isEmpty());
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= 640 && r.top + r.height <= 480);
            EXPECT_NEAR(double(r.width) / r.height, aspect, 1.5 / r.height) << "within a pixel's rounding";
        }
    EXPECT_EQ(largestCentredCrop(100, 400, 1.5), (CropRect{0, 167, 100, 67}));
}

TEST(CropRectangle, TheBuffersCropTheWorkingPictureAndUndoBringsItBack) {
    raster::Bitmap picture(8, 6, 32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) reinterpret_cast<std::uint32_t*>(picture.row(y))[x] = std::uint32_t(y * 16 + x);
    ManipulatorBuffers buffers;
    buffers.load(picture);
    buffers.crop({2, 1, 4, 3});
    ASSERT_EQ(buffers.picDest.width(), 4) << "later commands work on the cropped picture";
    ASSERT_EQ(buffers.NewImage.height(), 3);
    EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(buffers.NewImage.image().row(2))[3], 3u * 16 + 5);
    buffers.undo();
    EXPECT_EQ(buffers.NewImage.width(), 8);
    buffers.crop({50, 50, 5, 5}); // nothing of the picture: nothing changes
    EXPECT_EQ(buffers.NewImage.width(), 8);
}
