// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tab strip SSTab1. Controls on its pages are placed in twips relative to the whole tab
// strip (tab row included), the way its layout is given; the strip maps them onto its pages.
#include <QRect>
#include <QTabWidget>
#include <vector>

namespace kavi {

class TabStrip : public QTabWidget {
    Q_OBJECT
public:
    explicit TabStrip(QWidget* parent = nullptr);
    // Places a control of a page at a rectangle in the strip's own pixel coordinates.
    void place(QWidget* control, const QRect& inStrip);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void layoutPlaced();
    std::vector<std::pair<QWidget*, QRect>> placed_;
};

} // namespace kavi
