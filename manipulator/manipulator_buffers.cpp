// SPDX-License-Identifier: GPL-3.0-or-later
#include "manipulator/manipulator_buffers.h"

#include "manipulator/rotate_effect.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace kavi {

void PaintFlipped(PictureBox& box, int mode) {
    if (box.isEmpty() || (mode != 0 && mode != 1)) return;
    raster::Bitmap& image = box.edit();
    if (mode == 0) {
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(image.row(y));
            std::reverse(row, row + image.width());
        }
    } else {
        const std::size_t bytes = std::size_t(image.width()) * 4;
        for (int top = 0, bottom = image.height() - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(image.row(top), image.row(top) + bytes, image.row(bottom));
    }
}

raster::Bitmap croppedPicture(const raster::Bitmap& picture, const CropRect& rect) {
    const int left = std::max(0, rect.left), top = std::max(0, rect.top);
    const int right = std::min(picture.width(), rect.left + rect.width);
    const int bottom = std::min(picture.height(), rect.top + rect.height);
    if (picture.isNull() || picture.bitsPerPixel() != 32 || right <= left || bottom <= top) return {};
    raster::Bitmap part(right - left, bottom - top, 32);
    const std::size_t bytes = std::size_t(right - left) * 4;
    for (int y = top; y < bottom; ++y) std::copy_n(picture.row(y) + std::size_t(left) * 4, bytes, part.row(y - top));
    return part;
}

void ShiftBrightness(raster::Bitmap& picture, int value) {
    // A pixel read and written back as a colour value loses its reserved byte, as through the device.
    std::array<std::uint32_t, 256> blue{}, green{}, red{};
    for (int i = 0; i < 256; ++i) {
        const auto c = std::uint32_t(std::clamp(i + value, 0, 255));
        blue[std::size_t(i)] = c;
        green[std::size_t(i)] = c << 8;
        red[std::size_t(i)] = c << 16;
    }
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(picture.row(y));
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint32_t p = row[x];
            row[x] = blue[p & 255] | green[(p >> 8) & 255] | red[(p >> 16) & 255];
        }
    }
}

void ManipulatorBuffers::load(raster::Bitmap slotPicture) {
    Original.setPicture(std::move(slotPicture));
    picorig.empty();
    picDest.empty();
    picorig.assign(Original);
    picDest.assign(Original);
    NewImage.empty();
    NewImage.assign(Original);
    Picture1.assign(picDest);
    picundo.assign(NewImage);
}

void ManipulatorBuffers::activate() {
    picorig.assign(Original);
    picDest.assign(Original);
    NewImage.assign(Original);
}

void ManipulatorBuffers::runToolbarCommand(int index, int sliderValue) {
    switch (index) {
    case int(ToolbarCommand::Rotate): rotate(); break;
    case int(ToolbarCommand::Mirror): mirror(); break;
    case int(ToolbarCommand::Flip): flip(); break;
    case int(ToolbarCommand::Brightness): brightness(sliderValue); break;
    case int(ToolbarCommand::Undo): undo(); break;
    default: break;
    }
}

void ManipulatorBuffers::rotate() {
    picundo.assign(NewImage);
    picpaint.assign(picDest);
    mdlEffect::RunEffect(mdlEffect::kRotation, picpaint, picimageeffect, 90.0f, true);
    picDest.assign(picpaint);
    NewImage.assign(picDest);
    // The scratch copy is filled afresh by the next turn; kept, it would hold the picture before
    // the turn resident after the undo picture has let go of it.
    picimageeffect.empty();
}

void ManipulatorBuffers::mirror() {
    picundo.assign(NewImage);
    PaintFlipped(picDest, 0);
    NewImage.assign(picDest);
    releaseCanvas();
}

void ManipulatorBuffers::flip() {
    picundo.assign(NewImage);
    PaintFlipped(picDest, 1);
    NewImage.assign(picDest);
    releaseCanvas();
}

void ManipulatorBuffers::releaseCanvas() { picpaint.assign(NewImage); }

void ManipulatorBuffers::brightness(int value) {
    picundo.assign(NewImage);
    Picture1.assign(picDest);
    if (!Picture1.isEmpty()) ShiftBrightness(Picture1.edit(), value);
    NewImage.assign(Picture1);
    picDest.assign(NewImage);
    releaseCanvas();
}

void ManipulatorBuffers::undo() {
    picDest.assign(picundo);
    NewImage.assign(picundo);
    // The work area is filled afresh by the next filter or brightness command; it lets go of the
    // undone result rather than keep it resident.
    Picture1.assign(picundo);
    releaseCanvas();
}

void ManipulatorBuffers::crop(const CropRect& rect) {
    raster::Bitmap part = croppedPicture(picDest.image(), rect);
    if (part.isNull()) return;
    picundo.assign(NewImage);
    picDest.setPicture(std::move(part));
    NewImage.assign(picDest);
}

void ManipulatorBuffers::beginFilter() {
    picundo.assign(NewImage);
    Picture1.assign(NewImage);
}

void ManipulatorBuffers::endFilter() {
    picDest.assign(Picture1);
    NewImage.assign(picDest);
    releaseCanvas();
}

} // namespace kavi
