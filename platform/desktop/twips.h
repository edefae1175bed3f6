#pragma once
// Twips (1440 to the inch) are the unit of every window, control and printed rectangle.
#include <QRect>
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

} // namespace kavi
