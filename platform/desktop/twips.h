// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Twips (1440 to the inch) are the unit of every window, control and printed rectangle.
#include <QRect>
#include <QString>
#include <cmath>

namespace kavi {

constexpr int kTwipsPerInch = 1440;

// Twips to device pixels at a resolution in dots per inch, rounded to the nearest pixel.
inline int twipsToPixels(double twips, double dpi) { return int(std::lround(twips * dpi / kTwipsPerInch)); }
inline double pixelsToTwips(double pixels, double dpi) { return pixels * kTwipsPerInch / dpi; }

class ScreenUnits {
public:
    virtual ~ScreenUnits() = default;
    virtual double logicalDpiX() const = 0;
    virtual double logicalDpiY() const = 0;
    int x(double twips) const { return twipsToPixels(twips, logicalDpiX()); }
    int y(double twips) const { return twipsToPixels(twips, logicalDpiY()); }
    QRect rect(double left, double top, double width, double height) const {
        return QRect(x(left), y(top), x(width), y(height));
    }
};

// The primary screen's logical resolution (96 dpi gives 15 twips per pixel).
class QtScreenUnits final : public ScreenUnits {
public:
    double logicalDpiX() const override;
    double logicalDpiY() const override;
};

// Names a control and puts it at a rectangle in twips of its parent; windows lay out every control
// this way. Returns the control, so that it can be kept as it is made.
template <class Control>
Control* placeControl(const ScreenUnits& units, Control* control, const char* name, double left, double top,
                      double width, double height) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(units.rect(left, top, width, height));
    return control;
}

} // namespace kavi
