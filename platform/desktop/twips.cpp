// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace kavi {

double QtScreenUnits::logicalDpiX() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchX() : 96.0;
}

double QtScreenUnits::logicalDpiY() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}

} // namespace kavi
