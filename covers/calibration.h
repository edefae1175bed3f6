// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A printer's correction for one page orientation: real printers shift and scale their output by
// a millimetre or two. Every position and length on the page, measured from the sheet's top-left
// corner as the page is drawn, is multiplied by the scale and then moved by the offset (positive
// is right and down).
#include "covers/length.h"
#include "covers/page_geometry.h"

#include <string>

namespace kavi {

struct Calibration {
    double offsetXMillimetres = 0;
    double offsetYMillimetres = 0;
    double scaleXPercent = 100;
    double scaleYPercent = 100;

    // The printers Kavi corrects: their output off by up to this much either way, and printed at
    // this scale (as measured on the calibration page, see calibration_page.h).
    static constexpr double kMaxOffsetMillimetres = 20;
    static constexpr double kMinScalePercent = 90;
    static constexpr double kMaxScalePercent = 110;
    // The corrections that undo every such printer (a printer at 90 % needs 111.1 %, one whose
    // square's corner lands 20 mm late at 90 % needs -25.6 mm), and so the ones Kavi keeps and takes.
    static constexpr double kMaxCorrectionOffsetMillimetres = 26;
    static constexpr double kMinCorrectionScalePercent = 90;
    static constexpr double kMaxCorrectionScalePercent = 112;

    bool isIdentity() const {
        return offsetXMillimetres == 0 && offsetYMillimetres == 0 && scaleXPercent == 100 && scaleYPercent == 100;
    }
    // Empty when every value lies in the ranges of corrections; otherwise a sentence that says which does not.
    std::string problem() const;

    LengthPoint apply(LengthPoint p) const {
        return {p.x * (scaleXPercent / 100) + Length::fromMillimetres(offsetXMillimetres),
                p.y * (scaleYPercent / 100) + Length::fromMillimetres(offsetYMillimetres)};
    }
    LengthRect apply(const LengthRect& r) const {
        const LengthPoint corner = apply(LengthPoint{r.left, r.top});
        return {corner.x, corner.y, r.width * (scaleXPercent / 100), r.height * (scaleYPercent / 100)};
    }

    friend bool operator==(const Calibration&, const Calibration&) = default;
};

} // namespace kavi
