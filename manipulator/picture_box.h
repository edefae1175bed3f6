#pragma once
// A hidden picture buffer of the Cover Manipulator: a persistent 32-bit top-down bitmap that keeps
// what is drawn into it and takes the size of the picture put into it. Its inner size is the
// bitmap's size (the buffers have no border).
#include "raster/bitmap.h"
#include "raster/device_context.h"

namespace kavi {

// The default background of a picture box, shown wherever no picture pixel lies.
constexpr raster::ColorRef kPictureBoxBackground = raster::rgb(240, 240, 240);

class PictureBox {
public:
    raster::Bitmap image;
    raster::ColorRef backColor = kPictureBoxBackground;
    bool autoSize = true;

    int width() const { return image.width(); }
    int height() const { return image.height(); }
    bool isEmpty() const { return image.isNull(); }

    // this <- other: this box's picture becomes a copy of other's (its memory is reused when it fits).
    void assign(const PictureBox& other) { assign(other.image); }
    void assign(const raster::Bitmap& picture);
    void empty() { image = raster::Bitmap(); }
    // Removes the picture: the box keeps its size and shows only its background colour.
    void removePicture();
    // Gives the box a new size; what was drawn stays where it lies, new area shows the background.
    void resize(int width, int height);
    // Records that something was drawn into the image directly.
    void drawn() { blank_ = false; }

private:
    bool blank_ = false; // true while the box shows only its background
};

// Fills a 32-bit bitmap with one colour (reserved bytes 0).
void fillBitmap(raster::Bitmap& bitmap, raster::ColorRef color);

} // namespace kavi
