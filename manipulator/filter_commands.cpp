// SPDX-License-Identifier: GPL-3.0-or-later
#include "manipulator/filter_commands.h"

#include "filters/filter_engine.h"

namespace kavi {

namespace {
// Colour amounts are red + 256 * green + 65536 * blue.
constexpr int kWhite = 255 + 256 * 255 + 65536 * 255;
constexpr int kTeal = 0 + 256 * 120 + 65536 * 120;
constexpr int kLightGrey = 180 + 256 * 180 + 65536 * 180;
} // namespace

const FilterCommand kFilterCommands[20] = {
    {"normal", "blur", "&Blur", Module4::FilterNumber::Blur, 0},
    {"normal", "diffuse", "&Diffuse", Module4::FilterNumber::Diffuse, 6},
    {"normal", "sharpen", "S&harpen", Module4::FilterNumber::Sharpen, 2},
    {"normal", "smooth", "&Smooth", Module4::FilterNumber::Smooth, 0},
    {"Special", "addnoise", "&Add Noise", Module4::FilterNumber::AddNoise, 50},
    {"Special", "contour", "&Contour", Module4::FilterNumber::Contour, kWhite},
    {"Special", "dilate", "&Dilate", Module4::FilterNumber::Dilate, 0},
    {"Special", "emboss", "&Emboss", Module4::FilterNumber::Emboss, kTeal},
    {"Special", "engrave", "E&ngrave", Module4::FilterNumber::Engrave, kTeal},
    {"Special", "edgedetect", "Ed&ge Detect", Module4::FilterNumber::EdgeDetect, 0},
    {"Special", "edgeenhance", "Edge Enhan&ce", Module4::FilterNumber::EdgeEnhance, 1},
    {"Special", "erode", "Er&ode", Module4::FilterNumber::Erode, 0},
    {"Special", "relief", "&Relief", Module4::FilterNumber::Relief, 0},
    {"colors", "blackandwhite", "&Black && White", Module4::FilterNumber::BlackWhite, kLightGrey},
    {"colors", "grayscale", "Gray Scale", Module4::FilterNumber::Grayscale, 0},
    {"colors", "negative", "&Negative", Module4::FilterNumber::Negative, 0},
    {"colors", "increasecontrast", "Contrast +", Module4::FilterNumber::Contrast, 10},
    {"colors", "decreasecontrast", "Contrast -", Module4::FilterNumber::Contrast, -10},
    {"colors", "increasesaturation", "Saturation +", Module4::FilterNumber::Saturation, 15},
    {"colors", "decreasesaturation", "Saturation -", Module4::FilterNumber::Saturation, -15},
};

std::string plainCaption(const char* caption) {
    std::string plain;
    for (const char* c = caption; *c; ++c) {
        if (*c == '&') {
            if (c[1] != '&') continue;
            ++c;
        }
        plain += *c;
    }
    return plain;
}

} // namespace kavi
