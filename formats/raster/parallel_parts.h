// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Spreads the independent parts of a pixel loop over the processor's cores. The calling thread
// takes parts too, so one thread means a plain loop on the caller. Results never depend on the
// thread count: each part writes only its own output.
#include <functional>

namespace raster {

// How many threads the pixel loops may use, the caller included (at least 1). It starts at the
// processor's core count.
int workerThreads();
// Sets that count; 0 goes back to the core count. Tests use 1 for the reference result.
void setWorkerThreads(int count);

// Runs part(i) for every i in [0, parts) and returns when all have ended. The first exception a
// part throws is thrown again here once every part has ended. A call made from inside a part, or
// while another thread's call is running, runs its parts on the calling thread alone.
void runParts(int parts, const std::function<void(int)>& part);

// Runs body(begin, end) over [0, count) cut into about workerThreads() ranges of whole grains.
void runRanges(int count, int grain, const std::function<void(int, int)>& body);

} // namespace raster
