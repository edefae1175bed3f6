#include "pixel_grid.h"

#include <utility>

namespace Module4 {

void PixelGrid::sizeTo(int width, int height) {
    // Free the old block first, so that two big pictures never have to fit at once.
    memory_ = raster::PixelMemory();
    width_ = height_ = 0;
    memory_ = raster::PixelMemory(std::size_t(width) * std::size_t(height) * 4);
    width_ = width;
    height_ = height;
}

} // namespace Module4
