// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/system/termination_signals.h"

#include <QSocketNotifier>

#include <cerrno>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace kavi {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The pipe of the watcher in place; the handler may only touch these.
volatile sig_atomic_t writeEnd = -1;
int readEnd = -1;

extern "C" void onTerminationSignal(int signalNumber) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds a signal to act on, so a failed write loses nothing.
    if (writeEnd >= 0 && write(writeEnd, &byte, 1) < 0) {}
    errno = savedErrno;
}

void setDisposition(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int s : kSignals) sigaction(s, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {
    if (readEnd >= 0) return; // another watcher is in place
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    readEnd = fds[0];
    writeEnd = fds[1];
    notifier_ = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { readSignals(); });
    setDisposition(onTerminationSignal);
}

TerminationSignals::~TerminationSignals() {
    if (!notifier_) return;
    setDisposition(SIG_DFL);
    delete notifier_;
    const int w = writeEnd;
    writeEnd = -1;
    close(w);
    close(readEnd);
    readEnd = -1;
}

void TerminationSignals::readSignals() {
    unsigned char bytes[16];
    ssize_t n;
    while ((n = read(readEnd, bytes, sizeof bytes)) > 0)
        for (ssize_t i = 0; i < n; ++i)
            if (handler_) handler_(bytes[i]);
}

} // namespace kavi
