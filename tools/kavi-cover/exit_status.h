// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// kavi-cover's exit statuses and its one-line refusals on stderr.
#include <cstdio>
#include <string>

namespace kavi {

inline constexpr int kUsageError = 2; // a bad command line
inline constexpr int kFailure = 1; // a good command line that could not be carried out

// Writes "kavi-cover: WHY" on stderr and gives back the status to exit with.
inline int fail(int status, const std::string& why) {
    std::fprintf(stderr, "kavi-cover: %s\n", why.c_str());
    return status;
}

} // namespace kavi
