// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/print/cups_call.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kavi {

namespace {

using Clock = std::chrono::steady_clock;

// Calls given up on whose thread still waits for the service.
std::atomic<int> hangingCalls{0};

struct CallState {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    bool abandoned = false; // the caller stopped waiting
};

bool onMainThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

std::shared_ptr<CallState> start(std::function<void()> work) {
    auto state = std::make_shared<CallState>();
    std::thread([work = std::move(work), state] {
        try {
            work();
        } catch (...) {
            // A failed call answers as one that found nothing; nothing may escape the thread.
        }
        const std::lock_guard lock(state->mutex);
        state->done = true;
        if (state->abandoned) --hangingCalls;
        state->ended.notify_all();
    }).detach();
    return state;
}

// Waits until the call ends or the deadline passes; true when it ended.
bool await(CallState& state, std::optional<Clock::time_point> deadline) {
    constexpr std::chrono::milliseconds kSlice{20}; // how often the windows get their events
    const bool handleEvents = onMainThread();
    std::unique_lock lock(state.mutex);
    while (!state.done) {
        const Clock::time_point now = Clock::now();
        if (deadline && now >= *deadline) {
            state.abandoned = true;
            ++hangingCalls;
            return false;
        }
        Clock::duration wait = deadline ? *deadline - now : Clock::duration(kSlice);
        if (handleEvents) wait = std::min<Clock::duration>(wait, kSlice);
        state.ended.wait_for(lock, wait, [&state] { return state.done; });
        if (!state.done && handleEvents) {
            lock.unlock();
            // Painting and timers go on; input and socket events (a click, a stop signal) wait
            // for the call to end, so no command runs in the middle of another.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
            lock.lock();
        }
    }
    return true;
}

} // namespace

bool runBounded(std::function<void()> work, std::chrono::milliseconds bound) {
    if (printServiceHanging()) return false;
    const std::shared_ptr<CallState> state = start(std::move(work));
    return await(*state, Clock::now() + bound);
}

void runResponsive(const std::function<void()>& work) {
    const std::shared_ptr<CallState> state = start([&work] { work(); });
    await(*state, std::nullopt);
}

bool printServiceHanging() { return hangingCalls.load() > 0; }

} // namespace kavi
