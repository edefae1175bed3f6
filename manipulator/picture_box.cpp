// SPDX-License-Identifier: GPL-3.0-or-later
#include "manipulator/picture_box.h"

#include "formats/raster/dib_bits.h"

#include <algorithm>
#include <cstring>

namespace kavi {

void fillBitmap(raster::Bitmap& bitmap, raster::ColorRef color) {
    const std::uint32_t pixel = std::uint32_t(raster::blueOf(color)) | (std::uint32_t(raster::greenOf(color)) << 8) |
        (std::uint32_t(raster::redOf(color)) << 16);
    for (int y = 0; y < bitmap.height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(bitmap.row(y));
        std::fill(row, row + bitmap.width(), pixel);
    }
}

bool reservedBytesInUse(const raster::Bitmap& bitmap) {
    if (bitmap.isNull() || bitmap.bitsPerPixel() != 32) return false;
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* row = bitmap.row(y);
        for (int x = 0; x < bitmap.width(); ++x)
            if (row[std::size_t(x) * 4 + 3] != 0) return true;
    }
    return false;
}

std::shared_ptr<raster::Bitmap> BitmapPool::take(std::size_t bytes) {
    for (auto it = spare_.begin(); it != spare_.end(); ++it) {
        if ((*it)->byteCount() == bytes) {
            auto found = std::move(*it);
            spare_.erase(it);
            return found;
        }
    }
    return nullptr;
}

void BitmapPool::give(std::shared_ptr<raster::Bitmap> bitmap) {
    if (!bitmap || bitmap.use_count() != 1 || bitmap->byteCount() == 0 || bitmap->isBorrowed()) return;
    // A big picture's spare would stay resident beside the buffers in use; such blocks go back.
    if (bitmap->byteCount() > kLargestSpare) return;
    if (spare_.size() == kCapacity) spare_.erase(spare_.begin());
    spare_.push_back(std::move(bitmap));
}

const raster::Bitmap& PictureBox::image() const {
    static const raster::Bitmap none;
    return picture_ ? *picture_ : none;
}

void PictureBox::release() {
    if (pool_ && picture_ && picture_.use_count() == 1) pool_->give(std::move(picture_));
    picture_.reset();
}

// Whether this box alone holds its bitmap and may draw into it: a bitmap over memory held
// elsewhere (the slot's picture) is never drawn into.
bool PictureBox::ownsPicture() const { return picture_ && picture_.use_count() == 1 && !picture_->isBorrowed(); }

raster::Bitmap& PictureBox::ownBlank() {
    if (ownsPicture()) return *picture_;
    const int w = width(), h = height();
    std::shared_ptr<raster::Bitmap> own = pool_ ? pool_->take(std::size_t(w) * 4 * std::size_t(h)) : nullptr;
    if (own) own->reshape(w, h);
    else own = std::make_shared<raster::Bitmap>(w, h, 32);
    picture_ = std::move(own);
    return *picture_;
}

raster::Bitmap& PictureBox::edit() {
    blank_ = false;
    if (!picture_) picture_ = std::make_shared<raster::Bitmap>();
    if (ownsPicture()) return *picture_;
    const std::shared_ptr<raster::Bitmap> shared = picture_;
    raster::Bitmap& own = ownBlank();
    own = *shared; // reuses the pooled memory: same size
    return own;
}

void PictureBox::assign(const PictureBox& other) {
    if (&other == this || other.picture_ == picture_) return;
    release();
    picture_ = other.picture_;
    blank_ = other.blank_;
}

void PictureBox::setPicture(raster::Bitmap picture) {
    release();
    if (picture.bitsPerPixel() != 32 || picture.rowOrder() != raster::RowOrder::TopDown)
        picture = raster::toTopDown32(picture); // the buffers hold every picture in the 32-bit layout
    picture_ = std::make_shared<raster::Bitmap>(std::move(picture));
    blank_ = false;
}

void PictureBox::empty() {
    release();
    blank_ = false;
}

void PictureBox::removePicture() {
    if (!picture_) return;
    fillBitmap(ownBlank(), backColor);
    blank_ = true;
}

void PictureBox::resize(int width, int height) {
    if (width == this->width() && height == this->height()) return;
    if (blank_ && picture_) {
        raster::Bitmap& own = ownBlank();
        if (own.reshape(width, height)) {
            fillBitmap(own, backColor);
            return;
        }
    }
    auto resized = std::make_shared<raster::Bitmap>(width, height, 32);
    fillBitmap(*resized, backColor);
    const raster::Bitmap& old = image();
    const int w = std::min(width, old.width()), h = std::min(height, old.height());
    for (int y = 0; y < h; ++y) std::memcpy(resized->row(y), old.row(y), std::size_t(w) * 4);
    release();
    picture_ = std::move(resized);
}

} // namespace kavi
