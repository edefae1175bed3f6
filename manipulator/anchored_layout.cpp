// SPDX-License-Identifier: GPL-3.0-or-later
#include "manipulator/anchored_layout.h"

#include <algorithm>
#include <cmath>

namespace kavi {

namespace {
// Whole pixels of a share, rounded down, so that two halves never take more than the whole.
int share(double part, int pixels) { return int(std::floor(part * pixels)); }
} // namespace

void AnchoredLayout::add(QWidget* control, Follow follow) {
    entries_.push_back({control, control->geometry(), follow});
}

QRect AnchoredLayout::placeFor(QRect atDefault, Follow follow, QSize gained) {
    const int dx = gained.width(), dy = gained.height();
    return QRect(atDefault.x() + share(follow.moveX, dx), atDefault.y() + share(follow.moveY, dy),
                 std::max(0, atDefault.width() + share(follow.growX, dx)),
                 std::max(0, atDefault.height() + share(follow.growY, dy)));
}

void AnchoredLayout::apply(QSize windowSize) const {
    const QSize gained = windowSize - defaultSize_;
    for (const Entry& e : entries_)
        if (e.control) e.control->setGeometry(placeFor(e.atDefault, e.follow, gained));
}

} // namespace kavi
