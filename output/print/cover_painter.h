// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One cover painted for the screen (the cover's tab, the layout window) from the same drawing steps
// as its print: white paper, the background, the cover's own picture placed by its fit mode, the
// design's layers, the text boxes and the CD Back's end strips, all cut at the cover's edge.
// With a cache, the cover is composed once at the size it shows and each repaint draws that one
// picture; it is composed again only when something it shows changes.
#include "covers/cover_design.h"
#include "covers/cover_text.h"
#include "covers/fit_mode.h"
#include "output/print/cover_design_drawing.h"
#include "output/print/painter_printer.h"
#include "output/print/print_job.h"

#include <QImage>
#include <QRectF>

#include <optional>
#include <vector>

class QPainter;

namespace kavi {

struct CoverToPaint {
    int kind = 1;
    QImage picture; // the cover's own; none: paper (or the background) only
    FitMode fit = FitMode::Stretch;
    CoverText text;
    CoverDesign design;
    std::vector<DesignPicture> pictures; // the design's further pictures
};

// Whether two covers show the same (pictures compared by their pixels' identity, not their pixels).
bool showsTheSame(const CoverToPaint& a, const CoverToPaint& b);

class CoverPaintCache {
public:
    // The cover composed at `pixels` for a device of that pixel ratio, made again only when what it
    // shows or the size has changed.
    const QImage& composed(const CoverToPaint& cover, QSize pixels, double devicePixelRatio = 1);
    // How many times the cover was composed (for tests of when it is not).
    int compositions() const { return compositions_; }

private:
    ScaledPictures pictures_;
    CoverDrawingCache drawing_;
    std::optional<CoverToPaint> shown_;
    QImage composed_;
    int compositions_ = 0;
};

// Paints the cover stretched to `target` (the caller keeps its proportions).
void paintCover(QPainter& painter, const QRectF& target, const CoverToPaint& cover, CoverPaintCache* cache = nullptr);

} // namespace kavi
