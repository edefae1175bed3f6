// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Print Options" ticks of the given kinds (1..10), for the covers library's tests.
#include "covers/cover_kinds.h"

#include <vector>

namespace kavi::testing {

inline KindFlags ticks(const std::vector<int>& kinds) {
    KindFlags t{};
    for (int n : kinds) t[std::size_t(n - 1)] = true;
    return t;
}

} // namespace kavi::testing
