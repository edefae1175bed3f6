// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Cover text laid out once with Qt's text layout and drawn for an output: as vector outlines on the
// cover (print and PDF files, the preview), or as a transparent picture of just its own box at the
// output's resolution (the screen), turned when the text runs along a spine. Every output places
// the texts the same way, so the tab, the preview and the print agree.
#include "covers/cover_text.h"
#include "covers/fit_mode.h"
#include "covers/text_outlines.h"

#include <QImage>
#include <QRectF>

#include <vector>

class QPainter;

namespace kavi {

// The resolution cover text is drawn at as pictures, for printers that take no outlines.
inline constexpr double kPrintTextDotsPerInch = 600;

struct TextOverlay {
    QImage image; // ARGB32, not premultiplied: the letters' colour with their coverage as alpha
    LengthRect rect; // where the image lies on the cover
};

// The kind's texts at that resolution, in drawing order, each cut off at the cover's edges (so no
// output draws past the cut line; the cover text window marks what is cut). A text whose picture
// would not fit in memory, or that lies wholly off the cover, is left out.
std::vector<TextOverlay> renderTextOverlays(int kind, const CoverText& text, double dotsPerInch);

// The kind's texts as vector outlines on the cover, from the same layout as renderTextOverlays, in
// drawing order (an outline or shadow before its letters). They are not cut at the cover's edge:
// an output clips them to the cover.
CoverTextOutlines coverTextOutlines(int kind, const CoverText& text);

// The same for texts already placed on a cover (the CD Back's end strips).
CoverTextOutlines placedTextOutlines(const std::vector<PlacedText>& texts);

// Fills the outlines on a painter whose coordinates are points on the cover.
void paintTextOutlines(QPainter& painter, const CoverTextOutlines& outlines);

// The cover at `size` pixels as a screen shows it: white paper, the picture placed on it by the
// fit mode (its transparent parts showing the paper), and the text drawn over it at that size.
QImage pictureWithText(const QImage& picture, FitMode fit, QSize size, int kind, const CoverText& text);

// The box of one text on the cover, as renderTextOverlays places it (for picking a text to drag).
LengthRect measuredTextBox(const PlacedText& text);
// The box of the text's ink on the cover (the letters' outlines with their outline or shadow), the
// same outlines every output draws; empty for a text without ink. With overhangPastCover it says
// how far a text runs past the cover's edge.
LengthRect inkTextBox(const PlacedText& text);

} // namespace kavi
