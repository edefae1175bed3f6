// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where windows may go: the whole primary screen and its available area (the screen without
// panels and docks), both in pixels.
#include <QRect>

namespace kavi {

class DesktopArea {
public:
    virtual ~DesktopArea() = default;
    virtual QRect screen() const = 0;
    virtual QRect available() const = 0;
};

// The primary screen; a fixed 640 x 480 when the session has no screen at all.
class QtDesktopArea final : public DesktopArea {
public:
    QRect screen() const override;
    QRect available() const override;
};

} // namespace kavi
