// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opens a web address, a mail link or a file with the desktop's handler.
#include <QString>

#include <functional>
#include <memory>

namespace kavi {

constexpr int kShowNormal = 1; // show command for a normal window
constexpr int kShow = 5; // show command: show the window as it is

class Shell {
public:
    virtual ~Shell() = default;
    // Called, later and from the event loop, when the handler could not open the target.
    using Failure = std::function<void()>;
    // Returns a value above 32 when the handler was started, a smaller error number otherwise.
    // The caller never waits for the handler; whenFailed (if set) is told when the handler could
    // not be started after all or reports that it failed.
    virtual int open(const QString& target, int showCommand, Failure whenFailed) = 0;
    int open(const QString& target, int showCommand) { return open(target, showCommand, {}); }
};

// Starts xdg-open with the target as its one argument; no shell ever sees the text. xdg-open runs
// on its own while the program goes on; its exit code tells whether the target was opened.
class XdgShell final : public Shell {
public:
    XdgShell();
    ~XdgShell() override;
    using Shell::open;
    int open(const QString& target, int showCommand, Failure whenFailed) override;
    // The number of handlers started that have not finished yet.
    int running() const;

private:
    class Launches;
    std::unique_ptr<Launches> launches_;
};

} // namespace kavi
