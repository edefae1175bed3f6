// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The disc labels of a cover set: per disc kind its picture, fit, ring and curved text; which disc kind is
// ticked (it prints alone); and the label stock they print on, kept whole so the set prints the same
// without the template files.
#include "covers/disc_kinds.h"
#include "covers/disc_label_stock.h"
#include "covers/disc_text.h"
#include "covers/fit_mode.h"
#include "coverset/cover_set_picture.h"

#include <optional>

namespace kavi {

struct CoverSetDisc {
    CoverSetPicture picture; // null when the label has no picture
    FitMode fit = FitMode::Fill;
    DiscGeometry geometry;
    DiscText text;
};

struct CoverSetDiscs {
    PerDiscKind<CoverSetDisc> labels;
    std::optional<DiscKind> ticked;
    std::optional<DiscLabelStock> stock; // none: plain paper
    int startLabel = 1;
    int copies = 1;

    CoverSetDiscs() {
        for (DiscKind kind : allDiscKinds()) labels[kind].geometry = discKind(kind).label;
    }
    // Nothing set: no picture, ring, fit or text other than a new document's, nothing ticked, plain paper.
    bool isUntouched() const {
        for (DiscKind kind : allDiscKinds()) {
            const CoverSetDisc& label = labels[kind];
            if (!label.picture.isNull() || label.fit != FitMode::Fill || !(label.geometry == discKind(kind).label) ||
                !(label.text == DiscText{}))
                return false;
        }
        return !ticked && !stock && startLabel == 1 && copies == 1;
    }
};

} // namespace kavi
