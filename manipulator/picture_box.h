// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A hidden picture buffer of the Cover Manipulator: a persistent 32-bit top-down bitmap that keeps
// what is drawn into it and takes the size of the picture put into it. Its inner size is the
// bitmap's size (the buffers have no border).
//
// Buffers hand pictures to one another by sharing them; a buffer gets its own copy only when
// something is drawn into it (edit). Pixel memory a buffer lets go of is kept in a small pool
// shared by the window's buffers and reused for the next copy, so that big pictures do not meet
// fresh memory on every command.
#include "formats/raster/bitmap.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace kavi {

// The default background of a picture box, shown wherever no picture pixel lies.
constexpr raster::ColorRef kPictureBoxBackground = raster::rgb(240, 240, 240);

class BitmapPool {
public:
    // A bitmap of `bytes` pixel bytes that nobody else holds (its contents are stale), or null.
    std::shared_ptr<raster::Bitmap> take(std::size_t bytes);
    // Keeps a bitmap nobody else holds for reuse; the oldest is let go when the pool is full.
    void give(std::shared_ptr<raster::Bitmap> bitmap);

private:
    static constexpr std::size_t kCapacity = 2;
    static constexpr std::size_t kLargestSpare = std::size_t(128) << 20;
    std::vector<std::shared_ptr<raster::Bitmap>> spare_;
};

class PictureBox {
public:
    explicit PictureBox(std::shared_ptr<BitmapPool> pool = nullptr) : pool_(std::move(pool)) {}

    raster::ColorRef backColor = kPictureBoxBackground;
    bool autoSize = true;

    // The picture as it stands (an empty bitmap when the box is empty).
    const raster::Bitmap& image() const;
    // The picture for drawing into: this box's own copy.
    raster::Bitmap& edit();

    int width() const { return image().width(); }
    int height() const { return image().height(); }
    bool isEmpty() const { return image().isNull(); }

    // The picture as shared with other holders (null when the box is empty), for handing it on
    // without a copy; nobody draws into it while it is shared.
    std::shared_ptr<const raster::Bitmap> shared() const { return picture_; }

    // this <- other: this box's picture becomes a copy of other's.
    void assign(const PictureBox& other);
    // Puts a new picture into the box (any depth is brought to 32 bits).
    void setPicture(raster::Bitmap picture);
    void empty();
    // Removes the picture: the box keeps its size and shows only its background colour.
    void removePicture();
    // Gives the box a new size; what was drawn stays where it lies, new area shows the background.
    void resize(int width, int height);

private:
    void release();
    bool ownsPicture() const;
    // A bitmap of this box's size only this box holds, its contents undefined.
    raster::Bitmap& ownBlank();

    std::shared_ptr<BitmapPool> pool_;
    std::shared_ptr<raster::Bitmap> picture_;
    bool blank_ = false; // true while the box shows only its background
};

// Fills a 32-bit bitmap with one colour (reserved bytes 0).
void fillBitmap(raster::Bitmap& bitmap, raster::ColorRef color);

// Whether any pixel of a 32-bit bitmap has a reserved byte other than 0. Commands that rebuild
// every pixel from its colour leave 0 there, so a picture opened with its opacity in that byte
// still carries it only while this holds.
bool reservedBytesInUse(const raster::Bitmap& bitmap);

} // namespace kavi
