#pragma once
// What the engine shares with its routines: the module-wide state, the row-by-row progress
// reporter, and the routines themselves. Only the engine calls the routines.
#include "module4.h"

#include <stdexcept>

namespace Module4 {

struct ModuleState {
    bool busy = false;
    int progress = 0;  // FilterProgress
    PixelGrid work;    // WorkPixels
    PixelGrid source;  // SourcePixels
    GrayLevels gray{};
};
ModuleState& moduleState();

// A routine that cannot run with the parameter it was given.
struct FilterFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reports progress into FilterProgress and the caller's integer and yields after each row.
class RowProgress {
public:
    RowProgress(int& caller, const FilterYield& yield, int height)
        : caller_(caller), yield_(yield), height_(height) {}

    // On entry of a routine.
    void start() { moduleState().progress = 0; }
    // After row r (1 = top row, up to H): r * 100 \ H. False when the caller asked to stop.
    bool rowDone(int r) { return report(int(std::int64_t(r) * 100 / height_)); }
    // Stores p in FilterProgress and the caller's integer, then yields.
    bool report(int p) {
        moduleState().progress = p;
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

    int& caller_;
    const FilterYield& yield_;
    int height_;
    bool stopped_ = false;
};

// Kernel filters.
void FilterSharpen(RowProgress& progress, int a);
void FilterBlur(RowProgress& progress);
void FilterSmooth(RowProgress& progress);
void FilterEdgeEnhance(RowProgress& progress, int a);
void FilterContour(RowProgress& progress, int color);
void FilterEmboss(RowProgress& progress, int color);
void FilterEngrave(RowProgress& progress, int color);
void FilterRelief(RowProgress& progress);

// Colour filters.
void FilterNegative(RowProgress& progress);
void FilterGrayscale(RowProgress& progress);
void FilterBlackWhite(RowProgress& progress, int color);
void FilterSaturation(RowProgress& progress, int a);
void FilterAddNoise(RowProgress& progress, int a);
void FilterContrast(RowProgress& progress, int a);

// Morphology and scatter filters.
void FilterDilate(RowProgress& progress);
void FilterErode(RowProgress& progress);
void FilterEdgeDetect(RowProgress& progress);
void FilterDiffuse(RowProgress& progress, int a);

} // namespace Module4
