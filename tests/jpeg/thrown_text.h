// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "number description" of the JpegError that f throws, or "nothing thrown".
#include "jpeg/jpeg_error.h"

#include <string>

template <class F>
std::string thrownText(F&& f) {
    try {
        f();
    } catch (const jpeg::JpegError& e) {
        return std::to_string(e.number()) + " " + e.what();
    }
    return "nothing thrown";
}
