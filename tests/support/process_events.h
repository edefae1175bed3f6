// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the event loop until a condition holds. The code under test bounds its own waits, so the
// condition normally comes true long before the deadline; the deadline is there so that a
// regression fails the test instead of hanging the run.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace kavi::testing {

constexpr int kEventWaitDeadlineMs = 120000;

// True when done() came true; false, with a test failure, when the deadline passed first.
inline bool processEventsUntil(const std::function<bool()>& done, int deadlineMs = kEventWaitDeadlineMs) {
    QDeadlineTimer deadline(deadlineMs);
    QTimer wake; // waiting for more events must not outlast the deadline when none come
    wake.start(100);
    while (!done()) {
        if (deadline.hasExpired()) {
            ADD_FAILURE() << "the awaited event did not come within " << deadlineMs << " ms";
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace kavi::testing
