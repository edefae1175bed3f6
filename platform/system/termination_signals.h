// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SIGTERM, SIGINT and SIGHUP as calls on the event loop, so the program can end through its usual
// shut-down (putting the default printer back, writing its settings) when it is asked to stop.
// The signal handler itself only writes the signal's number into a pipe; a socket notifier on the
// pipe's other end makes the call. One watcher at a time per process.
#include <QObject>

#include <functional>

class QSocketNotifier;

namespace kavi {

class TerminationSignals final : public QObject {
public:
    using Handler = std::function<void(int signalNumber)>;
    // Starts watching; the handler runs on this thread's event loop, once for every signal.
    explicit TerminationSignals(Handler handler, QObject* parent = nullptr);
    // The three signals get their default action back.
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe or the handlers could not be set up (the signals then end the process
    // as before).
    bool isWatching() const { return notifier_ != nullptr; }

private:
    void readSignals();

    Handler handler_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace kavi
