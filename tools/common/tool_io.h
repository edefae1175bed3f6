// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the command-line tools share: their --help and --version, strict decimal arguments and
// lossless picture output.
#include "formats/raster/bitmap.h"

#include <QString>

#include <optional>
#include <string>

namespace kavi::tools {

// What the tool's first argument asks for: its help, its version, or a run.
enum class ToolRequest { Run, Help, Version };
// --help or -h, --version as the only argument ask for help or the version; anything else is a run,
// which checks its own arguments.
ToolRequest requestOf(int argc, char** argv);
// Writes the text on the standard output; gives the exit status 0.
int printHelp(const std::string& text);
// Writes "TOOL (Kavi) VERSION" on the standard output; gives the exit status 0.
int printVersion(const char* tool);

// A whole decimal integer with an optional sign and nothing else, within [low, high].
std::optional<long long> decimalArgument(const char* text, long long low, long long high);

// "PNG" or "BMP" for an output path ending in .png or .bmp (any case), nullptr otherwise.
const char* losslessFormatFor(const QString& path);

// Writes the bitmap beside the target and renames it into place, so a failure leaves no
// half-written file. False on any failure.
bool writeLossless(const raster::Bitmap& bitmap, const QString& path, const char* format);

} // namespace kavi::tools
