// SPDX-License-Identifier: GPL-3.0-or-later
#include "filters/filter_routines.h"
#include "formats/raster/dib_bits.h"
#include "formats/raster/parallel_parts.h"

#include <cstring>
#include <new>

namespace Module4 {

FilterEngine& ProcessFilterEngine() {
    static FilterEngine engine;
    return engine;
}

FilterOutcome ApplyFilter(int number, raster::Bitmap* bitmap, int parameter, int& progress, const FilterYield& yield) {
    return ProcessFilterEngine().apply(number, bitmap, parameter, progress, yield);
}

bool FilterBusy() { return ProcessFilterEngine().busy(); }
int FilterProgress() { return ProcessFilterEngine().progress(); }
const PixelGrid& WorkPixels() { return ProcessFilterEngine().workPixels(); }
const PixelGrid& SourcePixels() { return ProcessFilterEngine().sourcePixels(); }
const GrayLevels& GrayTable() { return ProcessFilterEngine().grayTable(); }

ColorParts SplitColor(std::int32_t color) {
    const auto bits = std::uint32_t(color);
    return {int(bits & 255), int((bits >> 8) & 255), int((bits >> 16) & 255)};
}

// Clears the busy flag and gives the grids' memory back however the call ends.
struct FilterEngine::CallScope {
    FilterEngine& engine;
    explicit CallScope(FilterEngine& e) : engine(e) { engine.busy_ = true; }
    ~CallScope() {
        try {
            engine.work_.shrink();
            engine.source_.shrink();
        } catch (const std::bad_alloc&) {
            // Sixteen bytes were not to be had; the grids stay empty, which frees even more.
        }
        engine.busy_ = false;
    }
};

namespace {

// The routines that read the unchanged copy. The others never look at SourcePixels, so for them
// it stays at 2 x 2 and the call saves a whole grid of first-touched memory and one copy.
bool readsSourcePixels(int number) {
    namespace N = FilterNumber;
    switch (number) {
    case N::Contour:
    case N::Relief:
    case N::Contrast:
    case N::BlackWhite:
    case N::Dilate:
    case N::Erode:
    case N::EdgeDetect:
    case N::AddNoise:
    case N::Saturation: return true;
    default: return false;
    }
}

// The bitmap's pixels into the grid and back, a band of rows a thread. Row y of the grid is row y
// of the picture counted from the top, whatever the bitmap's row order.
void readIntoGrid(const raster::Bitmap& bitmap, PixelGrid& grid) {
    raster::runRanges(bitmap.height(), 16, [&](int from, int to) {
        for (int y = from; y < to; ++y) raster::readPixels32(bitmap, 0, y, bitmap.width(), grid.row(y));
    });
}

void writeFromGrid(raster::Bitmap& bitmap, const PixelGrid& grid) {
    raster::runRanges(bitmap.height(), 16, [&](int from, int to) {
        raster::ColorMatcher matcher(bitmap.colorTable()); // the same answers on every thread
        for (int y = from; y < to; ++y) raster::writePixels32(bitmap, 0, y, bitmap.width(), grid.row(y), matcher);
    });
}

void copyGrid(const PixelGrid& from, PixelGrid& to) {
    raster::runRanges(from.height(), 16,
                      [&](int a, int b) { std::memcpy(to.row(a), from.row(a), std::size_t(b - a) * from.rowBytes()); });
}

bool isPlainGrid(const raster::Bitmap& bitmap) {
    return bitmap.bitsPerPixel() == 32 && bitmap.rowOrder() == raster::RowOrder::TopDown &&
        bitmap.stride() == std::size_t(bitmap.width()) * 4;
}

// Whether the routine can work in the bitmap's memory, reading the unchanged pixels from the copy.
bool canWorkInPlace(const raster::Bitmap& bitmap, const raster::Bitmap* unchanged) {
    return unchanged && isPlainGrid(bitmap) && isPlainGrid(*unchanged) && !bitmap.isBorrowed() &&
        unchanged->width() == bitmap.width() && unchanged->height() == bitmap.height() &&
        unchanged->bits() != bitmap.bits();
}

void runRoutine(int number, FilterPass& pass, int parameter) {
    namespace N = FilterNumber;
    switch (number) {
    case N::Sharpen: FilterSharpen(pass, parameter); break;
    case N::Negative: FilterNegative(pass); break;
    case N::Blur: FilterBlur(pass); break;
    case N::Diffuse: FilterDiffuse(pass, parameter); break;
    case N::Smooth: FilterSmooth(pass); break;
    case N::EdgeEnhance: FilterEdgeEnhance(pass, parameter); break;
    case N::Contour: FilterContour(pass, parameter); break;
    case N::Emboss: FilterEmboss(pass, parameter); break;
    case N::Engrave: FilterEngrave(pass, parameter); break;
    case N::Grayscale: FilterGrayscale(pass); break;
    case N::Relief: FilterRelief(pass); break;
    case N::Contrast: FilterContrast(pass, parameter); break;
    case N::BlackWhite: FilterBlackWhite(pass, parameter); break;
    case N::Dilate: FilterDilate(pass); break;
    case N::Erode: FilterErode(pass); break;
    case N::EdgeDetect: FilterEdgeDetect(pass); break;
    case N::AddNoise: FilterAddNoise(pass, parameter); break;
    case N::Saturation: FilterSaturation(pass, parameter); break;
    default: break; // reserved or unknown numbers: the picture goes back unchanged
    }
}

} // namespace

FilterOutcome FilterEngine::apply(int number, raster::Bitmap* bitmap, int parameter, int& progress,
                                  const FilterYield& yield) {
    return run(number, bitmap, nullptr, parameter, progress, yield);
}

FilterOutcome FilterEngine::applyInPlace(int number, raster::Bitmap* bitmap, const raster::Bitmap* unchanged,
                                         int parameter, int& progress, const FilterYield& yield) {
    return run(number, bitmap, unchanged, parameter, progress, yield);
}

FilterOutcome FilterEngine::run(int number, raster::Bitmap* bitmap, const raster::Bitmap* unchanged, int parameter,
                                int& progress, const FilterYield& yield) {
    if (busy_) return FilterOutcome::Busy;
    if (!bitmap || bitmap->isNull()) return FilterOutcome::NoPicture;

    CallScope scope(*this);
    const int w = bitmap->width(), h = bitmap->height();
    // In place, the routine works in the bitmap's own memory and reads the unchanged pixels from
    // the caller's copy, so the call needs no memory of its own the size of the picture.
    const bool inPlace = canWorkInPlace(*bitmap, unchanged);
    try {
        if (inPlace) {
            work_.borrow(bitmap->bits(), w, h);
            if (readsSourcePixels(number)) source_.borrow(const_cast<std::uint8_t*>(unchanged->bits()), w, h);
        } else {
            work_.sizeTo(w, h);
            readIntoGrid(*bitmap, work_);
            if (readsSourcePixels(number)) {
                source_.sizeTo(w, h);
                copyGrid(work_, source_);
            }
        }
        FilterPass pass(work_, source_, gray_, progress_, progress, yield);
        runRoutine(number, pass, parameter);
        if (pass.stopped()) return FilterOutcome::Stopped;
    } catch (const std::bad_alloc&) {
        return FilterOutcome::Failed;
    } catch (const FilterFailure&) {
        return FilterOutcome::Failed;
    }
    if (!inPlace) writeFromGrid(*bitmap, work_);
    return FilterOutcome::Applied;
}

FilterOutcome ApplyFilterInPlace(int number, raster::Bitmap* bitmap, const raster::Bitmap* unchanged, int parameter,
                                 int& progress, const FilterYield& yield) {
    return ProcessFilterEngine().applyInPlace(number, bitmap, unchanged, parameter, progress, yield);
}

} // namespace Module4
