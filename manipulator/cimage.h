// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// cImage: one device-independent bitmap (rows bottom-up, 1, 4, 8 or 24 bits) selected into its own
// memory device context, so that its pixels are reachable through drawing calls (hDC) and directly in
// memory (DIBitsPtr). Boolean methods report success; transforms return a new image or none.
#include "formats/raster/bitmap.h"
#include "formats/raster/blit.h"
#include "formats/raster/device_context.h"
#include "formats/raster/dib_section.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace kavi {

// A picture object as the picture loader hands it out: its bitmap (Handle) and the depth the bitmap
// reports for itself, which for a screen-compatible bitmap is the screen's depth (0: the bitmap's own).
struct StdPicture {
    const raster::Bitmap* Handle = nullptr;
    int reportedBitsPerPixel = 0;
};

class cImage {
public:
    cImage() = default;
    ~cImage();
    cImage(const cImage&) = delete;
    cImage& operator=(const cImage&) = delete;

    std::int32_t width() const { return info_.bmiHeader.biWidth; }
    std::int32_t height() const { return info_.bmiHeader.biHeight; }
    std::int16_t bitcount() const { return std::int16_t(info_.bmiHeader.biBitCount); }
    raster::DeviceContext* hDC() const { return dc_.get(); }
    std::uint8_t* DIBitsPtr() const { return bits_; }
    const raster::BitmapInfo& bitmapInfo() const { return info_; }
    // Bytes per pixel row of the current width and depth; none when the sum overflows.
    std::optional<std::int32_t> BytesPerScanLine() const;
    static std::optional<std::int32_t> bytesPerScanLine(std::int32_t width, int depth);

    bool Create(std::int32_t width, std::int32_t height, std::int16_t depth);
    // depth 0 takes the picture's own depth (16 read as 24) and hands it back in depth.
    bool CopyStdPicture(const StdPicture& picture, std::int16_t& depth);
    bool CopyHDC(const raster::DeviceContext* source, std::int32_t width, std::int32_t height, std::int16_t depth,
                 std::int32_t left, std::int32_t top);
    bool CopyPalletHDC(const raster::DeviceContext* source);
    void PaintHDC(raster::DeviceContext* destination, std::int32_t left, std::int32_t top, std::uint32_t rop) const;

    std::unique_ptr<cImage> GreyScale() const;
    std::unique_ptr<cImage> Resample(std::int32_t newWidth, std::int32_t newHeight) const;
    std::unique_ptr<cImage> Mirror(bool vertical) const;
    // 90, 180 and 270 degrees (after reduction modulo 360), and the code 91 for a quarter turn
    // stretched back to this image's width and height. Any other angle gives none.
    std::unique_ptr<cImage> rotate(std::int32_t angle) const;

private:
    void clear();
    // A new image of the given size at this depth with this image's colour table; none on failure.
    std::unique_ptr<cImage> sameKind(std::int32_t width, std::int32_t height) const;
    std::unique_ptr<cImage> plgCopy(std::int32_t width, std::int32_t height, const raster::Point (&points)[3]) const;
    int setColorTable(int count); // copies `count` scratch entries into the bitmap and the header's table

    std::unique_ptr<raster::Bitmap> dib_;
    raster::Bitmap* previous_ = nullptr;
    std::unique_ptr<raster::DeviceContext> dc_;
    std::uint8_t* bits_ = nullptr;
    raster::BitmapInfo info_;
    std::array<raster::Rgbq, 256> palette_{}; // carries colour tables between device contexts
};

} // namespace kavi
