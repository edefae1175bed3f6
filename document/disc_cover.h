// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A disc label in the open covers: its picture, how the picture fills the ring's square (Fill unless the
// user chooses: a disc is never stretched), the ring's outer and hole diameters, and the curved title and
// subtitle; and the label stock disc labels print on (plain paper unless one is chosen).
#include "covers/disc_geometry.h"
#include "covers/disc_label_stock.h"
#include "covers/disc_text.h"
#include "covers/fit_mode.h"
#include "document/cover_picture.h"

#include <optional>

namespace kavi {

struct DiscCover {
    CoverPicture picture;
    FitMode fit = FitMode::Fill;
    DiscGeometry geometry;
    DiscText text;
};

// Plain paper (no stock), or a stock with the label the first copy goes on (1-based) and the copies.
struct DiscStockChoice {
    std::optional<DiscLabelStock> stock;
    int startLabel = 1;
    int copies = 1;
    bool isPlainPaper() const { return !stock; }
};

inline bool sameStockChoice(const DiscStockChoice& a, const DiscStockChoice& b) {
    const bool sameStock =
        a.stock.has_value() == b.stock.has_value() && (!a.stock || a.stock->name() == b.stock->name());
    return sameStock && a.startLabel == b.startLabel && a.copies == b.copies;
}

} // namespace kavi
