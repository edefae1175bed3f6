#include "filter_routines.h"
#include "raster/dib_bits.h"

#include <cstring>
#include <new>

namespace Module4 {

ModuleState& moduleState() {
    static ModuleState state;
    return state;
}

bool FilterBusy() { return moduleState().busy; }
int FilterProgress() { return moduleState().progress; }
const PixelGrid& WorkPixels() { return moduleState().work; }
const PixelGrid& SourcePixels() { return moduleState().source; }
const GrayLevels& GrayTable() { return moduleState().gray; }

ColorParts SplitColor(std::int32_t color) {
    const auto bits = std::uint32_t(color);
    return {int(bits & 255), int((bits >> 8) & 255), int((bits >> 16) & 255)};
}

namespace {

// Clears the busy flag and gives the grids' memory back however the call ends.
struct CallScope {
    ModuleState& state;
    explicit CallScope(ModuleState& s) : state(s) { state.busy = true; }
    ~CallScope() {
        try {
            state.work.shrink();
            state.source.shrink();
        } catch (const std::bad_alloc&) {
            // Sixteen bytes were not to be had; the grids stay empty, which frees even more.
        }
        state.busy = false;
    }
};

void runRoutine(int number, RowProgress& progress, int parameter) {
    namespace N = FilterNumber;
    switch (number) {
    case N::Sharpen: FilterSharpen(progress, parameter); break;
    case N::Negative: FilterNegative(progress); break;
    case N::Blur: FilterBlur(progress); break;
    case N::Diffuse: FilterDiffuse(progress, parameter); break;
    case N::Smooth: FilterSmooth(progress); break;
    case N::EdgeEnhance: FilterEdgeEnhance(progress, parameter); break;
    case N::Contour: FilterContour(progress, parameter); break;
    case N::Emboss: FilterEmboss(progress, parameter); break;
    case N::Engrave: FilterEngrave(progress, parameter); break;
    case N::Grayscale: FilterGrayscale(progress); break;
    case N::Relief: FilterRelief(progress); break;
    case N::Contrast: FilterContrast(progress, parameter); break;
    case N::BlackWhite: FilterBlackWhite(progress, parameter); break;
    case N::Dilate: FilterDilate(progress); break;
    case N::Erode: FilterErode(progress); break;
    case N::EdgeDetect: FilterEdgeDetect(progress); break;
    case N::AddNoise: FilterAddNoise(progress, parameter); break;
    case N::Saturation: FilterSaturation(progress, parameter); break;
    default: break;  // reserved or unknown numbers: the picture goes back unchanged
    }
}

} // namespace

FilterOutcome ApplyFilter(int number, raster::Bitmap* bitmap, int parameter, int& progress,
                          const FilterYield& yield) {
    ModuleState& state = moduleState();
    if (state.busy) return FilterOutcome::Busy;
    if (!bitmap || bitmap->isNull()) return FilterOutcome::NoPicture;

    CallScope scope(state);
    const int w = bitmap->width(), h = bitmap->height();
    RowProgress rows(progress, yield, h);
    try {
        state.work.sizeTo(w, h);
        raster::getDIBits32(*bitmap, state.work.data());
        state.source.sizeTo(w, h);
        std::memcpy(state.source.data(), state.work.data(), state.work.byteCount());
        runRoutine(number, rows, parameter);
    } catch (const std::bad_alloc&) {
        return FilterOutcome::Failed;
    } catch (const FilterFailure&) {
        return FilterOutcome::Failed;
    }
    if (rows.stopped()) return FilterOutcome::Stopped;
    raster::setDIBits32(*bitmap, state.work.data());
    return FilterOutcome::Applied;
}

} // namespace Module4
