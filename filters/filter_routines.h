// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the engine hands its routines: one pass over a picture (the engine's grids and its
// row-by-row progress reporter), and the routines themselves. Only the engine calls the routines.
#include "filters/filter_engine.h"

#include <stdexcept>

namespace Module4 {

// A routine that cannot run with the parameter it was given.
struct FilterFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One routine's pass over the engine's grids. It reports progress into the engine's
// FilterProgress and the caller's integer and yields after each row.
class FilterPass {
public:
    FilterPass(PixelGrid& work, const PixelGrid& source, GrayLevels& gray, int& engineProgress, int& caller,
               const FilterYield& yield)
        : work(work), source(source), gray(gray), engine_(engineProgress), caller_(caller), yield_(yield),
          height_(work.height()) {}

    PixelGrid& work; // WorkPixels
    const PixelGrid& source; // SourcePixels (2 x 2 for the routines that do not read it)
    GrayLevels& gray; // GrayTable

    // On entry of a routine.
    void start() { engine_ = 0; }
    // After row r (1 = top row, up to H): r * 100 \ H. False when the caller asked to stop.
    bool rowDone(int r) { return report(int(std::int64_t(r) * 100 / height_)); }
    // Stores p in FilterProgress and the caller's integer, then yields.
    bool report(int p) {
        engine_ = p;
        caller_ = p;
        return yield();
    }
    // When the routine is done: 100 to the caller, and one more yield.
    bool finish() {
        caller_ = 100;
        return yield();
    }
    bool stopped() const { return stopped_; }
    int height() const { return height_; }

private:
    bool yield() {
        if (yield_ && yield_() == AfterYield::Stop) stopped_ = true;
        return !stopped_;
    }

    int& engine_;
    int& caller_;
    const FilterYield& yield_;
    int height_;
    bool stopped_ = false;
};

// Kernel filters.
void FilterSharpen(FilterPass& pass, int a);
void FilterBlur(FilterPass& pass);
void FilterSmooth(FilterPass& pass);
void FilterEdgeEnhance(FilterPass& pass, int a);
void FilterContour(FilterPass& pass, int color);
void FilterEmboss(FilterPass& pass, int color);
void FilterEngrave(FilterPass& pass, int color);
void FilterRelief(FilterPass& pass);

// Colour filters.
void FilterNegative(FilterPass& pass);
void FilterGrayscale(FilterPass& pass);
void FilterBlackWhite(FilterPass& pass, int color);
void FilterSaturation(FilterPass& pass, int a);
void FilterAddNoise(FilterPass& pass, int a);
void FilterContrast(FilterPass& pass, int a);

// Morphology and scatter filters.
void FilterDilate(FilterPass& pass);
void FilterErode(FilterPass& pass);
void FilterEdgeDetect(FilterPass& pass);
void FilterDiffuse(FilterPass& pass, int a);

} // namespace Module4
