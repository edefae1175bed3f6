// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg/cjpeg.h"

#include "jpeg/block_average.h"
#include "jpeg/byte_output.h"
#include "jpeg/component_transform.h"
#include "jpeg/jpeg_error.h"
#include "jpeg/new_file.h"
#include "jpeg/scan_coder.h"
#include "jpeg/segments.h"

#include "formats/raster/blit.h"
#include "formats/raster/dib_section.h"

#include <algorithm>
#include <memory>
#include <new>
#include <stdexcept>
#include <sys/stat.h>

namespace jpeg {

const char* const cJpeg::kBanner = "Kavi baseline JPEG encoder (cJpeg)\r\n"
                                   "Written by the Kavi developers\r\n"
                                   "Source published with the Kavi source code";

namespace {

constexpr int kMaxDimension = 65535; // the frame header holds 16-bit sizes
constexpr int kNothingSampledNumber = 5;

int ceilDiv(long long a, long long b) { return int((a + b - 1) / b); }

PixelRows rowsOf(const raster::Bitmap& bitmap, int left, int top, int width, int height) {
    PixelRows rows;
    rows.top = bitmap.row(top) + 4 * std::size_t(left);
    rows.stride = bitmap.rowOrder() == raster::RowOrder::TopDown ? std::ptrdiff_t(bitmap.stride())
                                                                 : -std::ptrdiff_t(bitmap.stride());
    rows.width = width;
    rows.height = height;
    return rows;
}

// A 32-bit top-down DIB section selected into its own memory device context.
struct ScratchPicture {
    raster::DeviceContext dc;
    std::unique_ptr<raster::Bitmap> bitmap;

    ScratchPicture() {
        if (raster::SetStretchBltMode(&dc, raster::HALFTONE) == 0) raster::SetStretchBltMode(&dc, raster::COLORONCOLOR);
    }

    bool create(int width, int height) {
        raster::BitmapInfo info;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biBitCount = 32;
        bitmap = raster::CreateDIBSection(&dc, info, raster::DIB_RGB_COLORS, nullptr);
        if (!bitmap) return false;
        raster::SelectObject(&dc, bitmap.get());
        return true;
    }
};

const ColourRow& colourRowOf(int componentId) {
    return componentId == 1 ? kLuminanceRow : componentId == 2 ? kBlueRow : kRedRow;
}

} // namespace

cJpeg::cJpeg() {
    SetSamplingFrequencies(2, 2, 1, 1, 1, 1);
    quality(75);
}

void cJpeg::quality(int vData) {
    if (vData < 1 || vData > 100) return;
    const Table64 luminance = scaledTable(kBaseLuminance, vData);
    const Table64 chrominance = scaledTable(kBaseChrominance, vData);
    const Divisors lumaDivisors = divisorsFor(luminance);
    const Divisors chromaDivisors = divisorsFor(chrominance);
    tables_[0] = luminance;
    tables_[1] = chrominance;
    divisors_[0] = lumaDivisors;
    divisors_[1] = chromaDivisors;
    quality_ = vData;
}

void cJpeg::SetSamplingFrequencies(int H1, int V1, int H2, int V2, int H3, int V3) {
    const auto valid = [](int f) { return f >= 1 && f <= 4; };
    if (!valid(H1) || !valid(V1)) raise(kInvalidSampling);
    if (H2 == 0 && V2 == 0 && H3 == 0 && V3 == 0) {
        layout_ = {{1, 1, 1, 0}};
        return;
    }
    for (int f : {H2, H3, V2, V3})
        if (!valid(f)) raise(kInvalidSampling);
    layout_ = {{1, H1, V1, 0}, {2, H2, V2, 1}, {3, H3, V3, 1}};
}

void cJpeg::Comment(const std::string& text) {
    if (text.size() > kMaxCommentLength) raise(kIllegalCommentLength);
    comment_ = text;
}

int cJpeg::SampleHDC(const raster::DeviceContext* lHDC, int lWidth, int lHeight, int lSrcLeft, int lSrcTop) {
    if (lWidth < 1 || lHeight < 1 || lWidth > kMaxDimension || lHeight > kMaxDimension) return 1;
    const raster::Bitmap* sourceBitmap = lHDC ? lHDC->bitmap() : nullptr;
    if (!sourceBitmap) return 1;
    int hMax = 1, vMax = 1;
    for (const Layout& l : layout_) {
        hMax = std::max(hMax, l.h);
        vMax = std::max(vMax, l.v);
    }

    std::vector<Component> components;
    std::vector<ComponentSymbols> symbols;
    try {
        for (std::size_t i = 0; i < layout_.size(); ++i) {
            Component c;
            c.id = layout_[i].id;
            c.h = layout_[i].h;
            c.v = layout_[i].v;
            c.table = layout_[i].table;
            c.width = ceilDiv((long long)lWidth * c.h, hMax);
            c.height = ceilDiv((long long)lHeight * c.v, vMax);
            c.blocksWide = ceilDiv(c.width, 8);
            c.blocksHigh = ceilDiv(c.height, 8);
            // Reuse the previous store when the block count matches: touching fresh memory costs
            // more than the transform itself on large pictures.
            const std::size_t bytes = c.blockCount() * 64 * sizeof(std::int16_t);
            if (i < sampled_.components.size() && sampled_.components[i].store.size() == bytes)
                c.store = std::move(sampled_.components[i].store);
            else c.store = raster::PixelMemory(bytes);
            components.push_back(std::move(c));
            // The DC list of the previous sampling is reused the same way.
            symbols.emplace_back();
            if (i < sampled_.symbols.size()) symbols.back().dc = std::move(sampled_.symbols[i].dc);
        }
        sampled_ = Sampled{};

        // The source rectangle. A 32-bit source that holds all of it is read in place, which gives
        // the very pixels a plain copy would; otherwise it is copied (BitBlt clips, so pixels
        // outside the source stay black) and the copy is the source.
        const raster::DeviceContext* source = lHDC;
        int left = lSrcLeft, top = lSrcTop;
        ScratchPicture copy;
        const bool inside = lSrcLeft >= 0 && lSrcTop >= 0 && lSrcLeft + (long long)lWidth <= sourceBitmap->width() &&
            lSrcTop + (long long)lHeight <= sourceBitmap->height();
        if (!inside || sourceBitmap->bitsPerPixel() != 32) {
            if (!copy.create(lWidth, lHeight)) return 1;
            // A rectangle wholly outside the source stays black (and far-off offsets never reach
            // the blit's int arithmetic).
            const bool overlaps = lSrcLeft < sourceBitmap->width() && lSrcTop < sourceBitmap->height() &&
                lSrcLeft + (long long)lWidth > 0 && lSrcTop + (long long)lHeight > 0;
            if (overlaps) raster::BitBlt(&copy.dc, 0, 0, lWidth, lHeight, lHDC, lSrcLeft, lSrcTop, raster::SRCCOPY);
            source = &copy.dc;
            left = top = 0;
        }
        const PixelRows wholeSource = rowsOf(*source->bitmap(), left, top, lWidth, lHeight);

        // Subsampled components are drawn by a HALFTONE stretch into a scratch picture as large as
        // the largest of them (padded to whole blocks), each at the scratch's lower-left corner.
        // A whole-number reduction is a plain mean of each block of source pixels, which is what
        // the stretch computes there: the transform makes those means itself, row by row.
        int scratchWidth = 0, scratchHeight = 0;
        for (const Component& c : components)
            if (c.width != lWidth || c.height != lHeight) {
                scratchWidth = std::max(scratchWidth, c.blocksWide * 8);
                scratchHeight = std::max(scratchHeight, c.blocksHigh * 8);
            }
        ScratchPicture scratch;
        bool scratchMade = false;

        // Components read straight from the source are transformed together in one pass over it;
        // each drawn by the stretch is transformed from the scratch as soon as it is drawn.
        std::vector<TransformTarget> fromSource;
        int drawnWidth = 0, drawnHeight = 0; // what the scratch holds
        for (std::size_t i = 0; i < components.size(); ++i) {
            Component& c = components[i];
            TransformTarget target{colourRowOf(c.id),
                                   &divisors_[std::size_t(c.table)],
                                   c.blocksWide,
                                   c.blocksHigh,
                                   reinterpret_cast<std::int16_t*>(c.store.data()),
                                   {},
                                   &symbols[i]};
            if (c.width == lWidth && c.height == lHeight) {
                fromSource.push_back(target);
                continue;
            }
            if (scratch.dc.stretchMode() == raster::HALFTONE)
                target.reduction = wholeReduction(lWidth, lHeight, c.width, c.height);
            if (target.reduction.whole()) {
                fromSource.push_back(target);
                continue;
            }
            if (!scratchMade) {
                if (!scratch.create(scratchWidth, scratchHeight)) return 1;
                scratchMade = true;
            }
            const int regionTop = scratchHeight - c.blocksHigh * 8;
            if (c.width != drawnWidth || c.height != drawnHeight) {
                raster::StretchBlt(&scratch.dc, 0, regionTop, c.width, c.height, source, left, top, lWidth, lHeight,
                                   raster::SRCCOPY);
                drawnWidth = c.width;
                drawnHeight = c.height;
            }
            transformComponents(rowsOf(*scratch.bitmap, 0, regionTop, c.width, c.height), {target});
        }
        transformComponents(wholeSource, fromSource);
    } catch (const std::bad_alloc&) {
        sampled_ = Sampled{};
        return 1;
    } catch (const std::length_error&) {
        sampled_ = Sampled{};
        return 1;
    }

    sampled_.width = lWidth;
    sampled_.height = lHeight;
    sampled_.components = std::move(components);
    sampled_.symbols = std::move(symbols);
    sampled_.tables = {tables_[0], tables_[1]};
    return 0;
}

std::vector<std::uint8_t> cJpeg::EncodeToMemory() const {
    if (sampled_.components.empty()) throw JpegError(kNothingSampledNumber, "Nothing has been sampled to save");
    const std::vector<Component>& components = sampled_.components;
    const std::vector<Scan> scans = groupScans(components);
    const McuGrid grid = mcuGrid(sampled_.width, sampled_.height, components);

    SymbolStatistics stats;
    for (const Scan& scan : scans) countScan(components, sampled_.symbols, scan, grid, stats);

    const int tableCount = components.size() == 3 ? 2 : 1;
    std::array<HuffmanSpec, 2> dcSpecs, acSpecs;
    std::array<HuffmanCodes, 2> dcCodes, acCodes;
    std::uint64_t estimateBits = stats.extraBits;
    for (int t = 0; t < tableCount; ++t) {
        dcSpecs[t] = optimalTable(stats.dc[t]);
        acSpecs[t] = optimalTable(stats.ac[t]);
        dcCodes[t] = codesFor(dcSpecs[t]);
        acCodes[t] = codesFor(acSpecs[t]);
        for (int s = 0; s < 256; ++s)
            estimateBits += stats.dc[t][s] * dcCodes[t].length[s] + stats.ac[t][s] * acCodes[t].length[s];
    }

    // The scans' bits are counted exactly; stuffing adds a byte for each 0xFF, about one in 256.
    // Every byte of the buffer is touched (zeroed) before use, so it is not made larger than that.
    const std::size_t scanBytes = std::size_t(estimateBits / 8);
    ByteOutput out(scanBytes + scanBytes / 64 + 4096 + comment_.size());
    writeStartOfImage(out);
    writeJfifHeader(out);
    if (!comment_.empty()) writeComment(out, comment_);
    writeComment(out, kBanner);
    for (int t = 0; t < tableCount; ++t) writeQuantizationTable(out, t, sampled_.tables[t]);
    writeFrameHeader(out, sampled_.width, sampled_.height, components);
    for (int t = 0; t < tableCount; ++t) {
        writeHuffmanTable(out, 0, t, dcSpecs[t]);
        writeHuffmanTable(out, 1, t, acSpecs[t]);
    }
    const ScanTables tables{{&dcCodes[0], &dcCodes[1]}, {&acCodes[0], &acCodes[1]}};
    for (const Scan& scan : scans) {
        writeScanHeader(out, components, scan);
        writeScan(components, scan, grid, tables, estimateBits, out);
    }
    writeEndOfImage(out);
    return out.take();
}

int cJpeg::SaveFile(const std::string& FileName) {
    if (FileName.empty()) return 1;
    struct stat st;
    if (::lstat(FileName.c_str(), &st) == 0) return 2;
    const std::vector<std::uint8_t> bytes = EncodeToMemory();
    return writeNewFile(FileName, bytes) == NewFileResult::Written ? 0 : 2;
}

} // namespace jpeg
