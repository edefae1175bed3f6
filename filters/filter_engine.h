// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Module4: the filter engine of the Cover Manipulator.
//
//   FilterOutcome ApplyFilter(int number, raster::Bitmap* bitmap, int parameter, int& progress,
//                             const FilterYield& yield = {});
//
// Applies filter `number` (table below) to `bitmap` in place. The bitmap may have any depth; it
// is read into the grid WorkPixels, 32-bit top-down pixels (and into SourcePixels, for the
// routines that read the unchanged copy: 7, 13, 17, 18, 25, 26, 27, 29, 30), the routine runs
// row by row over the grids, and WorkPixels is written back. After every row the routine stores
// its percentage in `progress` (0 to 100) and then calls `yield`; the caller pumps its event loop
// there. Returning AfterYield::Stop from the yield ends the routine after that row: nothing is
// written back and the outcome is Stopped. At the end `progress` holds 100 and the yield is called
// once more. `parameter` is the routine's integer (Sharpen 2, Edge Enhance 1, Diffuse 6,
// Add Noise 50, Contrast +-10, Saturation +-15) or a colour value red + 256 * green + 65536 * blue
// (Contour, Emboss, Engrave, Black & White); the other routines ignore it.
//
//   1 Sharpen      2 Negative    3 Blur        4 Diffuse      5 Smooth     6 Edge Enhance
//   7 Contour      8 Emboss     10 Engrave    12 Gray Scale  13 Relief    17 Contrast
//  18 Black&White 25 Dilate     26 Erode      27 Edge Detect 29 Add Noise 30 Saturation
//
// Any other number runs no routine: the picture is read and written back unchanged.
//
// One engine serves the whole process (ProcessFilterEngine), so one filter runs at a time: a call
// made while another runs (from inside its yield) returns Busy at once and touches nothing, not
// even `progress`. A null bitmap or one
// without pixels returns NoPicture unchanged. A routine that cannot run (not enough memory, a
// parameter that makes a divisor zero) returns Failed with the bitmap unchanged. In every case
// FilterBusy is cleared and the grids are shrunk to 2 x 2 pixels before ApplyFilter returns.
// An exception thrown by the yield itself passes through after the same clean-up.
//
// ApplyFilterInPlace is the same call without the copies, for a caller that keeps the picture as it
// was: `unchanged` holds the bitmap's pixels as they are at the call and does not change during it.
// When both are 32-bit top-down with rows of width * 4 bytes and the same size, the routine works
// in the bitmap's own memory and reads the unchanged pixels from `unchanged`; the results are the
// very bytes ApplyFilter gives. A Stopped or Failed call may then leave the bitmap partly filtered,
// and the caller takes the picture back from `unchanged`. Any other pair takes ApplyFilter's path.
//
// Add Noise and Diffuse draw from one process-wide generator (filter_random.h).
#include "filters/pixel_grid.h"
#include "formats/raster/bitmap.h"

#include <array>
#include <cstdint>
#include <functional>

namespace Module4 {

enum class AfterYield { Continue, Stop };
using FilterYield = std::function<AfterYield()>;

enum class FilterOutcome { Applied, Busy, NoPicture, Stopped, Failed };

using GrayLevels = std::array<std::int32_t, 766>;

// The engine's state: the busy flag, the progress, the two grids and the gray table. Routines get
// the grids through the pass the engine hands them, never from anywhere else.
class FilterEngine {
public:
    FilterOutcome apply(int number, raster::Bitmap* bitmap, int parameter, int& progress,
                        const FilterYield& yield = {});
    FilterOutcome applyInPlace(int number, raster::Bitmap* bitmap, const raster::Bitmap* unchanged, int parameter,
                               int& progress, const FilterYield& yield = {});

    bool busy() const { return busy_; }
    int progress() const { return progress_; }
    const PixelGrid& workPixels() const { return work_; }
    const PixelGrid& sourcePixels() const { return source_; }
    const GrayLevels& grayTable() const { return gray_; }

private:
    struct CallScope;
    FilterOutcome run(int number, raster::Bitmap* bitmap, const raster::Bitmap* unchanged, int parameter, int& progress,
                      const FilterYield& yield);
    bool busy_ = false;
    int progress_ = 0;
    PixelGrid work_;
    PixelGrid source_;
    GrayLevels gray_{};
};

// The one engine of the process, which ApplyFilter and the readers below use.
FilterEngine& ProcessFilterEngine();

FilterOutcome ApplyFilter(int number, raster::Bitmap* bitmap, int parameter, int& progress,
                          const FilterYield& yield = {});
FilterOutcome ApplyFilterInPlace(int number, raster::Bitmap* bitmap, const raster::Bitmap* unchanged, int parameter,
                                 int& progress, const FilterYield& yield = {});

namespace FilterNumber {
constexpr int Sharpen = 1, Negative = 2, Blur = 3, Diffuse = 4, Smooth = 5, EdgeEnhance = 6, Contour = 7, Emboss = 8,
              Engrave = 10, Grayscale = 12, Relief = 13, Contrast = 17, BlackWhite = 18, Dilate = 25, Erode = 26,
              EdgeDetect = 27, AddNoise = 29, Saturation = 30;
}

// The process engine's state, readable between and during calls.
bool FilterBusy();
int FilterProgress();
const PixelGrid& WorkPixels();
const PixelGrid& SourcePixels();
const GrayLevels& GrayTable();

struct ColorParts {
    int red, green, blue;
};
// Red is the low byte of the colour value, green the second, blue the third.
ColorParts SplitColor(std::int32_t color);

// Brings three channel values into 0 to 255 by handing half of each channel's overshoot (or
// shortfall) to the other two, blue first, then green, then red, until all three fit.
void SpillClamp(std::int64_t& blue, std::int64_t& green, std::int64_t& red);

} // namespace Module4
