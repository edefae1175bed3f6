// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// For the screenshot programs: lets a shown window lay itself out and paint (a few event rounds
// over about 0.4 s) before it is grabbed.
#include <QApplication>
#include <QThread>

namespace kavi::testing {

inline void settleForScreenshot() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

} // namespace kavi::testing
