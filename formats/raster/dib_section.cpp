// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/raster/dib_section.h"

#include "formats/raster/dib_bits.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <vector>

namespace raster {

namespace {

bool describable(const BitmapInfoHeader& h) {
    return h.biCompression == BI_RGB && h.biPlanes == 1 && Bitmap::isSupportedDepth(h.biBitCount) && h.biWidth > 0 &&
        h.biHeight != 0 && h.biHeight != INT32_MIN;
}

std::vector<Rgbq> tableOf(const BitmapInfo& info) {
    const int n = colorTableSize(info.bmiHeader);
    return std::vector<Rgbq>(info.bmiColors.begin(), info.bmiColors.begin() + n);
}

// The bitmap row (from the top) of a scan line: scans count from the top of a top-down description
// and from the bottom of a bottom-up one.
int bitmapRow(const BitmapInfoHeader& h, const Bitmap& bitmap, int scan) {
    return h.biHeight < 0 ? scan : bitmap.height() - 1 - scan;
}

} // namespace

int colorTableSize(const BitmapInfoHeader& h) {
    if (h.biBitCount > 8) return 0;
    const int full = 1 << h.biBitCount;
    return h.biClrUsed > 0 && h.biClrUsed < std::uint32_t(full) ? int(h.biClrUsed) : full;
}

std::unique_ptr<Bitmap> CreateDIBSection(const DeviceContext*, const BitmapInfo& info, unsigned usage,
                                         std::uint8_t** bits) {
    if (bits) *bits = nullptr;
    const BitmapInfoHeader& h = info.bmiHeader;
    if (usage != DIB_RGB_COLORS || !describable(h)) return nullptr;
    // The image size of a description is a 32-bit count of bytes; larger bitmaps cannot be described.
    const std::uint64_t bytes =
        std::uint64_t(Bitmap::strideFor(h.biWidth, h.biBitCount)) * std::uint64_t(std::abs(h.biHeight));
    if (bytes == 0 || bytes > 0xFFFFFFFFull) return nullptr;
    std::unique_ptr<Bitmap> bitmap;
    try {
        bitmap = std::make_unique<Bitmap>(h.biWidth, std::abs(h.biHeight), h.biBitCount,
                                          h.biHeight > 0 ? RowOrder::BottomUp : RowOrder::TopDown, tableOf(info));
    } catch (const std::exception&) {
        return nullptr;
    }
    if (bits) *bits = bitmap->bits();
    return bitmap;
}

namespace {

// How many of the scan lines [start, start + lines) both the description and the bitmap have.
int scanCount(const BitmapInfoHeader& h, const Bitmap& bitmap, int start, int lines) {
    if (!describable(h) || h.biWidth != bitmap.width() || start < 0 || lines <= 0) return 0;
    const int height = std::min(std::abs(h.biHeight), bitmap.height());
    return std::max(0, std::min(lines, height - start));
}

// One scan line in the described format, and the same pixels as 32-bit values.
struct ScanLine {
    explicit ScanLine(const BitmapInfo& info)
        : row(info.bmiHeader.biWidth, 1, info.bmiHeader.biBitCount, RowOrder::TopDown, tableOf(info)),
          stride(Bitmap::strideFor(info.bmiHeader.biWidth, info.bmiHeader.biBitCount)),
          pixels(std::size_t(info.bmiHeader.biWidth) * 4) {}
    Bitmap row;
    std::size_t stride;
    std::vector<std::uint8_t> pixels;
};

} // namespace

int GetDIBits(const DeviceContext*, const Bitmap& bitmap, int start, int lines, std::uint8_t* bits, BitmapInfo& info,
              unsigned usage) {
    BitmapInfoHeader& h = info.bmiHeader;
    if (usage != DIB_RGB_COLORS || bitmap.isNull()) return 0;
    if (!bits) {
        const int depth = h.biBitCount ? h.biBitCount : bitmap.bitsPerPixel();
        h.biWidth = bitmap.width();
        h.biHeight = bitmap.height();
        h.biBitCount = std::uint16_t(depth);
        h.biSizeImage = std::uint32_t(Bitmap::strideFor(bitmap.width(), depth) * std::size_t(bitmap.height()));
        return bitmap.height();
    }
    const int n = scanCount(h, bitmap, start, lines);
    if (n == 0) return 0;
    ScanLine line(info);
    ColorMatcher matcher(line.row.colorTable());
    for (int i = 0; i < n; ++i) {
        readPixels32(bitmap, 0, bitmapRow(h, bitmap, start + i), h.biWidth, line.pixels.data());
        writePixels32(line.row, 0, 0, h.biWidth, line.pixels.data(), matcher);
        std::copy_n(line.row.bits(), line.stride, bits + std::size_t(i) * line.stride);
    }
    return n;
}

int SetDIBits(const DeviceContext*, Bitmap& bitmap, int start, int lines, const std::uint8_t* bits,
              const BitmapInfo& info, unsigned usage) {
    const BitmapInfoHeader& h = info.bmiHeader;
    if (usage != DIB_RGB_COLORS || bitmap.isNull() || !bits) return 0;
    const int n = scanCount(h, bitmap, start, lines);
    if (n == 0) return 0;
    ScanLine line(info);
    ColorMatcher matcher(bitmap.colorTable());
    for (int i = 0; i < n; ++i) {
        std::copy_n(bits + std::size_t(i) * line.stride, line.stride, line.row.bits());
        readPixels32(line.row, 0, 0, h.biWidth, line.pixels.data());
        writePixels32(bitmap, 0, bitmapRow(h, bitmap, start + i), h.biWidth, line.pixels.data(), matcher);
    }
    return n;
}

} // namespace raster
