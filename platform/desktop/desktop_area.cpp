// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/desktop_area.h"

#include <QGuiApplication>
#include <QScreen>

namespace kavi {

namespace {
const QRect kNoScreen(0, 0, 640, 480);
}

QRect QtDesktopArea::screen() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : kNoScreen;
}

QRect QtDesktopArea::available() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : kNoScreen;
}

} // namespace kavi
