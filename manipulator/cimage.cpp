// SPDX-License-Identifier: GPL-3.0-or-later
#include "manipulator/cimage.h"

#include "formats/raster/blit.h"

#include <cmath>
#include <limits>

namespace kavi {

using namespace raster;

namespace {

std::optional<std::int32_t> checked(std::int64_t v) {
    if (v > std::numeric_limits<std::int32_t>::max() || v < std::numeric_limits<std::int32_t>::min())
        return std::nullopt;
    return std::int32_t(v);
}

} // namespace

cImage::~cImage() { clear(); }

std::optional<std::int32_t> cImage::bytesPerScanLine(std::int32_t width, int depth) {
    // The sums are made in 64 bits and refused when they leave the 32-bit range.
    const std::int64_t w = width;
    std::int64_t sum;
    bool fits = true;
    switch (depth) {
    case 1:
        fits = bool(checked(w - 1));
        sum = (w - 1) / 8 + 4;
        break;
    case 4:
        fits = bool(checked(w - 1));
        sum = (w - 1) / 2 + 4;
        break;
    case 8: sum = w + 3; break;
    default:
        fits = bool(checked(3 * w));
        sum = 3 * w + 3;
        break;
    }
    if (!fits || !checked(sum)) return std::nullopt;
    return std::int32_t(sum & ~std::int64_t(3));
}

std::optional<std::int32_t> cImage::BytesPerScanLine() const { return bytesPerScanLine(width(), bitcount()); }

void cImage::clear() {
    if (dc_) {
        SelectObject(dc_.get(), previous_);
        dib_.reset();
        dc_.reset();
    }
    dib_.reset();
    previous_ = nullptr;
    bits_ = nullptr;
}

bool cImage::Create(std::int32_t width, std::int32_t height, std::int16_t depth) {
    clear();
    info_ = BitmapInfo{};
    if (depth != 1 && depth != 4 && depth != 8 && depth != 24) return false;
    const auto rowBytes = bytesPerScanLine(width, depth);
    if (!rowBytes) return false;
    const auto imageSize = checked(std::int64_t(height) * *rowBytes);
    if (!imageSize) return false;
    auto dc = std::make_unique<DeviceContext>();

    BitmapInfoHeader& h = info_.bmiHeader;
    h.biWidth = width;
    h.biHeight = height;
    h.biBitCount = std::uint16_t(depth);
    h.biSizeImage = std::uint32_t(*imageSize);
    if (depth < 24) {
        const int last = (1 << depth) - 1;
        for (int i = 0; i <= last; ++i) {
            const auto v = std::uint8_t(std::nearbyint(double(i) * 255.0 / double(last)));
            info_.bmiColors[std::size_t(i)] = {v, v, v, 0};
        }
    }
    std::uint8_t* bits = nullptr;
    auto dib = CreateDIBSection(dc.get(), info_, DIB_RGB_COLORS, &bits);
    if (!dib) {
        info_ = BitmapInfo{};
        return false;
    }
    dc_ = std::move(dc);
    dib_ = std::move(dib);
    bits_ = bits;
    previous_ = SelectObject(dc_.get(), dib_.get());
    return true;
}

int cImage::setColorTable(int count) {
    const int set = SetDIBColorTable(dc_.get(), 0, count, palette_.data());
    for (int i = 0; i < set; ++i) info_.bmiColors[std::size_t(i)] = palette_[std::size_t(i)];
    return set;
}

bool cImage::CopyStdPicture(const StdPicture& picture, std::int16_t& depth) {
    if (!picture.Handle || picture.Handle->isNull()) return false;
    const Bitmap& source = *picture.Handle;
    const bool depthFromPicture = depth == 0;
    if (depthFromPicture) {
        int own = picture.reportedBitsPerPixel ? picture.reportedBitsPerPixel : source.bitsPerPixel();
        if (own == 16) own = 24;
        depth = std::int16_t(own);
    }
    if (!Create(source.width(), source.height(), depth)) return false;

    // A temporary context holds the picture's bitmap for the transfer.
    DeviceContext temporary;
    Bitmap* old = SelectObject(&temporary, const_cast<Bitmap*>(&source));
    bool ok = true;
    if (depth == 24) {
        ok = BitBlt(dc_.get(), 0, 0, width(), height(), &temporary, 0, 0, SRCCOPY);
    } else {
        if (depthFromPicture) {
            const int read = GetDIBColorTable(&temporary, 0, 1 << depth, palette_.data());
            if (read > 0) setColorTable(read);
        }
        ok = GetDIBits(&temporary, source, 0, height(), bits_, info_, DIB_RGB_COLORS) == height();
    }
    SelectObject(&temporary, old);
    return ok;
}

bool cImage::CopyHDC(const DeviceContext* source, std::int32_t width, std::int32_t height, std::int16_t depth,
                     std::int32_t left, std::int32_t top) {
    int read = 0;
    if (depth == 0) {
        read = GetDIBColorTable(source, 0, 256, palette_.data());
        depth = read >= 1 && read <= 2 ? 1 : read >= 3 && read <= 16 ? 4 : read >= 17 ? 8 : 24;
    }
    if (!Create(width, height, depth)) return false;
    if (read > 0) setColorTable(read);
    return BitBlt(dc_.get(), 0, 0, width, height, source, left, top, SRCCOPY);
}

bool cImage::CopyPalletHDC(const DeviceContext* source) {
    if (!dc_) return false;
    const int wanted = bitcount() <= 8 ? 1 << bitcount() : 256;
    const int read = GetDIBColorTable(source, 0, wanted, palette_.data());
    if (read < 1) return false;
    return setColorTable(read) == read;
}

void cImage::PaintHDC(DeviceContext* destination, std::int32_t left, std::int32_t top, std::uint32_t rop) const {
    if (dc_) BitBlt(destination, left, top, width(), height(), dc_.get(), 0, 0, rop);
}

std::unique_ptr<cImage> cImage::sameKind(std::int32_t width, std::int32_t height) const {
    if (!dc_) return nullptr;
    auto result = std::make_unique<cImage>();
    if (!result->Create(width, height, bitcount())) return nullptr;
    if (bitcount() < 24 && !result->CopyPalletHDC(dc_.get())) return nullptr;
    return result;
}

std::unique_ptr<cImage> cImage::GreyScale() const {
    if (!dc_) return nullptr;
    auto result = std::make_unique<cImage>();
    if (!result->Create(width(), height(), 8)) return nullptr;
    if (!BitBlt(result->dc_.get(), 0, 0, width(), height(), dc_.get(), 0, 0, SRCCOPY)) return nullptr;
    return result;
}

std::unique_ptr<cImage> cImage::Resample(std::int32_t newWidth, std::int32_t newHeight) const {
    auto result = sameKind(newWidth, newHeight);
    if (!result) return nullptr;
    bool ok;
    if (newWidth == width() && newHeight == height()) {
        ok = BitBlt(result->dc_.get(), 0, 0, width(), height(), dc_.get(), 0, 0, SRCCOPY);
    } else {
        if (SetStretchBltMode(result->dc_.get(), HALFTONE) == 0) SetStretchBltMode(result->dc_.get(), COLORONCOLOR);
        ok = StretchBlt(result->dc_.get(), 0, 0, newWidth, newHeight, dc_.get(), 0, 0, width(), height(), SRCCOPY);
    }
    return ok ? std::move(result) : nullptr;
}

std::unique_ptr<cImage> cImage::plgCopy(std::int32_t width, std::int32_t height, const Point (&points)[3]) const {
    auto result = sameKind(width, height);
    if (!result) return nullptr;
    if (!PlgBlt(result->dc_.get(), points, dc_.get(), 0, 0, this->width(), this->height())) return nullptr;
    return result;
}

std::unique_ptr<cImage> cImage::Mirror(bool vertical) const {
    // The corners of the source land on the opposite corners of the same rectangle. The points are
    // the rectangle's exact corners (0, not -1, for the far edge), as in the rotations: our PlgBlt
    // maps pixel centres, and a -1 would make the result one pixel wider, losing one column or row
    // and doubling another.
    const std::int32_t w = width(), h = height();
    if (vertical) {
        const Point flip[3] = {{0, h}, {w, h}, {0, 0}};
        return plgCopy(w, h, flip);
    }
    const Point mirror[3] = {{w, 0}, {0, 0}, {w, h}};
    return plgCopy(w, h, mirror);
}

std::unique_ptr<cImage> cImage::rotate(std::int32_t angle) const {
    angle %= 360;
    if (angle < 0) angle += 360;
    const std::int32_t w = width(), h = height();
    switch (angle) {
    case 90: {
        const Point p[3] = {{0, w}, {0, 0}, {h, w}};
        return plgCopy(h, w, p);
    }
    case 91: {
        const Point p[3] = {{0, h}, {0, 0}, {w, h}};
        return plgCopy(w, h, p);
    }
    case 180: {
        const Point p[3] = {{w, h}, {0, h}, {w, 0}};
        return plgCopy(w, h, p);
    }
    case 270: {
        const Point p[3] = {{h, 0}, {h, w}, {0, 0}};
        return plgCopy(h, w, p);
    }
    default: return nullptr;
    }
}

} // namespace kavi
