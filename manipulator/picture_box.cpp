#include "picture_box.h"

#include "raster/dib_bits.h"

#include <algorithm>
#include <cstring>

namespace kavi {

void fillBitmap(raster::Bitmap& bitmap, raster::ColorRef color) {
    const std::uint32_t pixel =
        std::uint32_t(raster::blueOf(color)) | (std::uint32_t(raster::greenOf(color)) << 8) |
        (std::uint32_t(raster::redOf(color)) << 16);
    for (int y = 0; y < bitmap.height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(bitmap.row(y));
        std::fill(row, row + bitmap.width(), pixel);
    }
}

void PictureBox::assign(const raster::Bitmap& picture) {
    if (picture.bitsPerPixel() == 32 && picture.rowOrder() == raster::RowOrder::TopDown) {
        if (&picture != &image) image = picture;
    } else {
        image = raster::toTopDown32(picture); // the buffers hold every picture in the 32-bit layout
    }
    blank_ = false;
}

void PictureBox::removePicture() {
    fillBitmap(image, backColor);
    blank_ = true;
}

void PictureBox::resize(int width, int height) {
    if (width == image.width() && height == image.height()) return;
    if (blank_ && image.reshape(width, height)) {
        fillBitmap(image, backColor);
        return;
    }
    raster::Bitmap resized(width, height, 32);
    fillBitmap(resized, backColor);
    const int w = std::min(width, image.width()), h = std::min(height, image.height());
    for (int y = 0; y < h; ++y) std::memcpy(resized.row(y), image.row(y), std::size_t(w) * 4);
    image = std::move(resized);
}

} // namespace kavi
