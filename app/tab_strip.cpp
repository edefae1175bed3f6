// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tab_strip.h"

#include <QStackedWidget>

namespace kavi {

TabStrip::TabStrip(QWidget* parent) : QTabWidget(parent) {}

void TabStrip::place(QWidget* control, const QRect& inStrip) {
    placed_.emplace_back(control, inStrip);
    layoutPlaced();
}

void TabStrip::resizeEvent(QResizeEvent* event) {
    QTabWidget::resizeEvent(event);
    layoutPlaced();
}

void TabStrip::showEvent(QShowEvent* event) {
    QTabWidget::showEvent(event);
    layoutPlaced();
}

void TabStrip::layoutPlaced() {
    // Every page shares the stacked area; its offset inside the strip is the page origin.
    const QStackedWidget* stack = findChild<QStackedWidget*>();
    const QPoint origin = stack ? stack->geometry().topLeft() : QPoint();
    for (auto& [control, rect] : placed_) control->setGeometry(rect.translated(-origin));
}

} // namespace kavi
