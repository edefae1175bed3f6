// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Physical lengths on paper. A length is held in twips (1440 per inch, 20 per point) as a double,
// so fractional twips stay exact; every conversion between units happens here.
#ifndef Q_MOC_RUN // Qt's moc cannot parse <compare>, and a window header that includes this needs nothing of it
#include <compare>
#endif

namespace kavi {

class Length {
public:
    static constexpr double kTwipsPerInch = 1440;
    static constexpr double kTwipsPerPoint = 20;
    static constexpr double kMillimetresPerInch = 25.4;

    constexpr Length() = default;

    static constexpr Length fromTwips(double twips) { return Length(twips); }
    static constexpr Length fromPoints(double points) { return Length(points * kTwipsPerPoint); }
    static constexpr Length fromInches(double inches) { return Length(inches * kTwipsPerInch); }
    static constexpr Length fromMillimetres(double mm) { return Length(mm * kTwipsPerInch / kMillimetresPerInch); }

    constexpr double twips() const { return twips_; }
    constexpr double points() const { return twips_ / kTwipsPerPoint; }
    constexpr double inches() const { return twips_ / kTwipsPerInch; }
    constexpr double millimetres() const { return twips_ * kMillimetresPerInch / kTwipsPerInch; }

    constexpr Length operator-() const { return Length(-twips_); }
    constexpr Length& operator+=(Length other) {
        twips_ += other.twips_;
        return *this;
    }
    constexpr Length& operator-=(Length other) {
        twips_ -= other.twips_;
        return *this;
    }
    friend constexpr Length operator+(Length a, Length b) { return a += b; }
    friend constexpr Length operator-(Length a, Length b) { return a -= b; }
    friend constexpr Length operator*(Length a, double factor) { return Length(a.twips_ * factor); }
    friend constexpr Length operator*(double factor, Length a) { return a * factor; }
    friend constexpr Length operator/(Length a, double divisor) { return Length(a.twips_ / divisor); }
    // How many times b fits into a.
    friend constexpr double operator/(Length a, Length b) { return a.twips_ / b.twips_; }

    friend constexpr auto operator<=>(Length, Length) = default;

private:
    constexpr explicit Length(double twips) : twips_(twips) {}
    double twips_ = 0;
};

struct LengthPoint {
    Length x, y;
    friend constexpr bool operator==(const LengthPoint&, const LengthPoint&) = default;
};

struct LengthSize {
    Length width, height;

    static constexpr LengthSize fromTwips(double width, double height) {
        return {Length::fromTwips(width), Length::fromTwips(height)};
    }

    // The same sheet or cover turned a quarter turn.
    constexpr LengthSize transposed() const { return {height, width}; }
    friend constexpr bool operator==(const LengthSize&, const LengthSize&) = default;
};

// A rectangle on the page, from the top-left corner of the printable area: x to the right, y down.
struct LengthRect {
    Length left, top, width, height;

    constexpr Length right() const { return left + width; }
    constexpr Length bottom() const { return top + height; }
    constexpr LengthSize size() const { return {width, height}; }
    friend constexpr bool operator==(const LengthRect&, const LengthRect&) = default;
};

} // namespace kavi
