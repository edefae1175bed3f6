// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lays out a resizable window whose controls are placed for its default size: each control keeps
// its place at that size and takes given shares of the width and height the window gains (or
// loses) to move and to grow, so the default size shows exactly the default layout.
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <vector>

namespace kavi {

class AnchoredLayout {
public:
    // Shares (0 to 1) of the gained width and height by which a control moves right or down and
    // grows wider or taller.
    struct Follow {
        double moveX = 0, growX = 0, moveY = 0, growY = 0;
    };

    explicit AnchoredLayout(QSize defaultSize) : defaultSize_(defaultSize) {}

    // Follows the control from where it stands now, which is its place at the default size.
    void add(QWidget* control, Follow follow);
    // Places every control for a window of this size.
    void apply(QSize windowSize) const;
    // The place of a control for a window of this size.
    static QRect placeFor(QRect atDefault, Follow follow, QSize gained);

private:
    struct Entry {
        QPointer<QWidget> control;
        QRect atDefault;
        Follow follow;
    };
    QSize defaultSize_;
    std::vector<Entry> entries_;
};

} // namespace kavi
