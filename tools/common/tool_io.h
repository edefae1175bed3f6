// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the command-line tools share: strict decimal arguments and lossless picture output.
#include "raster/bitmap.h"

#include <QString>

#include <optional>

namespace kavi::tools {

// A whole decimal integer with an optional sign and nothing else, within [low, high].
std::optional<long long> decimalArgument(const char* text, long long low, long long high);

// "PNG" or "BMP" for an output path ending in .png or .bmp (any case), nullptr otherwise.
const char* losslessFormatFor(const QString& path);

// Writes the bitmap beside the target and renames it into place, so a failure leaves no
// half-written file. False on any failure.
bool writeLossless(const raster::Bitmap& bitmap, const QString& path, const char* format);

} // namespace kavi::tools
