// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Calls into the print service with a bound on the wait. libcups waits for an answer as long as
// its connection stays open, so a service that stops answering (a stopped cupsd, a server gone
// quiet) would hold the caller for minutes. Each call runs on a thread of its own instead; the
// caller waits a few seconds at most and meanwhile keeps the windows painting.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace kavi {

// How long one question to the print service may take before the service counts as not answering.
inline constexpr std::chrono::milliseconds kPrintServiceBound{3000};

// Runs work on a thread of its own and waits for it at most `bound`. On the program's main thread
// the wait goes on handling posted events and timers (painting among them), so no window freezes;
// user input and socket events (a click, a stop signal) wait, so no second command starts meanwhile. False when the
// work did not end in time: it is left to end on its thread (so it must own everything it uses), and until it has,
// every further call returns false at once, as the service is known not to answer.
bool runBounded(std::function<void()> work, std::chrono::milliseconds bound = kPrintServiceBound);

// Runs work on a thread of its own and waits, as runBounded does, until it ends however long that
// takes: for work that bounds its own waits (a job sent with time-outs on its connection) and uses
// what the caller owns.
void runResponsive(const std::function<void()>& work);

// Whether an earlier call still waits for the print service to answer.
bool printServiceHanging();

// The value work returns, or none when it did not come in time.
template <typename T>
std::optional<T> callBounded(std::function<T()> work, std::chrono::milliseconds bound = kPrintServiceBound) {
    auto result = std::make_shared<std::optional<T>>();
    if (!runBounded([work = std::move(work), result] { *result = work(); }, bound)) return std::nullopt;
    return std::move(*result);
}

} // namespace kavi
