#pragma once
// Opens a web address, a mail link or a file with the desktop's handler.
#include <QString>

namespace kavi {

constexpr int kShowNormal = 1; // show command for a normal window
constexpr int kShow = 5;       // show command: show the window as it is

class Shell {
public:
    virtual ~Shell() = default;
    // Returns a value above 32 when the handler was started, a smaller error number otherwise.
    virtual int open(const QString& target, int showCommand) = 0;
};

// Starts xdg-open with the target as its one argument; no shell ever sees the text.
class XdgShell final : public Shell {
public:
    int open(const QString& target, int showCommand) override;
};

} // namespace kavi
