// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A sheet of round disc labels as a label-stock maker describes it: the sheet, the ring of each label
// (outer and hole radius, and for labels cut to a width the cut), and where each label lies on the sheet.
#include "covers/length.h"

#include <optional>
#include <string>
#include <vector>

namespace kavi {

struct DiscLabelStock {
    std::string brand; // "Avery"
    std::string part; // "5931-Disc"
    std::string description; // as the maker words it, for the list
    std::string paperId; // the template's paper name: "US-Letter", "A4", or "Other" for a size of its own
    LengthSize paper; // portrait
    Length outerRadius;
    Length holeRadius;
    // A label cut to a width or height (a business-card disc) is the ring clipped to this box, centred.
    std::optional<Length> cutWidth;
    std::optional<Length> cutHeight;
    // The centre of each label, in label order: left to right, then top to bottom over the whole sheet,
    // from the paper's top-left corner.
    std::vector<LengthPoint> centres;

    // "BRAND PART", the name a user picks the stock by.
    std::string name() const { return brand + " " + part; }
    Length outerDiameter() const { return outerRadius * 2; }
    Length holeDiameter() const { return holeRadius * 2; }
};

} // namespace kavi
