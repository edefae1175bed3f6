// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where Kavi's windows open, decided before Qt opens the display: with no display at all Kavi says
// so in one line and ends; on a Wayland session it prefers X11 through XWayland (the notice popup
// and the tray need to place their windows, which only X11 allows), unless the user has chosen a
// window system; and a display Qt cannot open ends Kavi with one line, not with Qt's abort.
#include <QString>

#include <functional>
#include <vector>

namespace kavi {

// What the environment and the command line say about the window system.
struct WindowSystemFacts {
    QString display; // DISPLAY
    QString waylandDisplay; // WAYLAND_DISPLAY
    QString sessionType; // XDG_SESSION_TYPE
    QString chosenPlatform; // QT_QPA_PLATFORM
    QString platformOption; // Qt's -platform option on the command line
};

struct WindowSystemChoice {
    bool noDisplay = false; // nowhere to open a window: Kavi says so and ends
    QString platform; // the platform Kavi asks Qt for; empty: Qt's own choice or the user's
};

// The decision. xcbLoadable is asked only when the answer depends on it.
WindowSystemChoice chooseWindowSystem(const WindowSystemFacts& facts, const std::function<bool()>& xcbLoadable);

// The facts of this process's environment, with the -platform option read from its command line.
WindowSystemFacts currentWindowSystemFacts(const QString& platformOption);

// Whether Qt's X11 platform plugin is installed and its libraries load.
bool xcbPlatformLoadable();

// The one line (with its newline) that says there is no display.
QString noDisplayMessage();

// While it lives, Qt's messages are held back; should Qt fail to open the window system (a display
// that does not answer, a plugin that does not load), Kavi ends with one line on stderr and exit
// status 1 instead of Qt's abort. When it ends normally, the held messages go out as they came.
class WindowSystemStartGuard {
public:
    WindowSystemStartGuard();
    ~WindowSystemStartGuard();
    WindowSystemStartGuard(const WindowSystemStartGuard&) = delete;
    WindowSystemStartGuard& operator=(const WindowSystemStartGuard&) = delete;
};

} // namespace kavi
