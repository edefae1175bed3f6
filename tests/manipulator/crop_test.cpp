// The crop rectangle from a drag: inside the picture, and locked to a cover's proportions.
#include "crop_rect.h"
#include "manipulator_buffers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kavi;

TEST(CropRectangle, ADragInAnyDirectionStaysInsideThePicture) {
    EXPECT_EQ(cropFromDrag(10, 20, 60, 50, 100, 80, std::nullopt), (CropRect{10, 20, 50, 30}));
    EXPECT_EQ(cropFromDrag(60, 50, 10, 20, 100, 80, std::nullopt), (CropRect{10, 20, 50, 30})) << "dragged up and left";
    // Pointer far outside on the right and below: clipped at the picture's edges.
    EXPECT_EQ(cropFromDrag(10, 20, 500, 300, 100, 80, std::nullopt), (CropRect{10, 20, 90, 60}));
    // Pressed outside above and left: the drag starts at the picture's corner.
    EXPECT_EQ(cropFromDrag(-30, -40, 50, 30, 100, 80, std::nullopt), (CropRect{0, 0, 50, 30}));
    // A drag wholly outside, past one edge, has no extent.
    EXPECT_TRUE(cropFromDrag(120, 10, 150, 60, 100, 80, std::nullopt).isEmpty());
    EXPECT_TRUE(cropFromDrag(10, 10, 10, 10, 100, 80, std::nullopt).isEmpty());
    EXPECT_TRUE(cropFromDrag(0, 0, 50, 50, 0, 0, std::nullopt).isEmpty());
}

TEST(CropRectangle, LockedDragsKeepTheCoversProportionsEvenAtTheEdges) {
    const double dvd = 15390.0 / 10260; // 1.5
    // The farther direction leads: 60 across asks 40 down; 10 across and 40 down asks 60 across.
    EXPECT_EQ(cropFromDrag(10, 10, 70, 15, 200, 100, dvd), (CropRect{10, 10, 60, 40}));
    EXPECT_EQ(cropFromDrag(10, 10, 20, 50, 200, 100, dvd), (CropRect{10, 10, 60, 40}));
    EXPECT_EQ(cropFromDrag(100, 80, 40, 40, 200, 100, dvd), (CropRect{40, 40, 60, 40})) << "up and left";
    // Far outside: shrunk from the anchor until it fits, still 3:2 (room down is 100 - 40 = 60).
    EXPECT_EQ(cropFromDrag(20, 40, 900, 900, 200, 100, dvd), (CropRect{20, 40, 90, 60}));
    EXPECT_EQ(cropFromDrag(150, 10, 900, 20, 200, 100, dvd), (CropRect{150, 10, 50, 33}));
    for (const double aspect : {1.0, 6840.0 / 6840, 15652.8 / 6580.8, 4680.0 / 4968}) {
        for (const auto& [px, py] : {std::pair{-500.0, -500.0}, {900.0, -20.0}, {-10.0, 700.0}, {333.0, 333.0}}) {
            const CropRect r = cropFromDrag(150, 90, px, py, 640, 480, aspect);
            ASSERT_FALSE(r.isEmpty());
            EXPECT_GE(r.left, 0);
            EXPECT_GE(r.top, 0);
            EXPECT_LE(r.left + r.width, 640);
            EXPECT_LE(r.top + r.height, 480);
            EXPECT_NEAR(double(r.width) / r.height, aspect, 1.5 / r.height) << "within a pixel's rounding";
        }
    }
    EXPECT_EQ(largestCentredCrop(400, 100, 1.5), (CropRect{125, 0, 150, 100}));
    EXPECT_EQ(largestCentredCrop(100, 400, 1.5), (CropRect{0, 167, 100, 67}));
}

TEST(CropRectangle, TheBuffersCropTheWorkingPictureAndUndoBringsItBack) {
    raster::Bitmap picture(8, 6, 32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) reinterpret_cast<std::uint32_t*>(picture.row(y))[x] = std::uint32_t(y * 16 + x);
    ManipulatorBuffers buffers;
    buffers.load(picture);
    buffers.crop({2, 1, 4, 3});
    const raster::Bitmap& cropped = buffers.NewImage.image();
    ASSERT_EQ(cropped.width(), 4);
    ASSERT_EQ(cropped.height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(cropped.row(y))[x], std::uint32_t((y + 1) * 16 + x + 2));
    EXPECT_EQ(buffers.picDest.width(), 4) << "later commands work on the cropped picture";
    buffers.undo();
    EXPECT_EQ(buffers.NewImage.width(), 8);
    EXPECT_EQ(buffers.NewImage.height(), 6);

    buffers.crop({6, 4, 10, 10}); // reaches past the picture: what lies inside is kept
    EXPECT_EQ(buffers.NewImage.width(), 2);
    EXPECT_EQ(buffers.NewImage.height(), 2);
    buffers.crop({50, 50, 5, 5}); // nothing of the picture: nothing changes, undo keeps its picture
    EXPECT_EQ(buffers.NewImage.width(), 2);
    buffers.undo();
    EXPECT_EQ(buffers.NewImage.width(), 8);
}
