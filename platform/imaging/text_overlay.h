// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Cover text drawn for an output: each text becomes a transparent picture of just its own box,
// drawn at the output's resolution (600 dots per inch or more for print, screen size on screen),
// turned when the text runs along a spine. Every output places these the same way, so the tab,
// the preview and the print agree.
#include "cover_text.h"

#include <QImage>
#include <QRectF>

#include <vector>

class QPainter;

namespace kavi {

// The resolution cover text is drawn at for print and PDF files.
inline constexpr double kPrintTextDotsPerInch = 600;

struct TextOverlay {
    QImage image; // ARGB32, not premultiplied: the letters' colour with their coverage as alpha
    LengthRect rect; // where the image lies on the cover
};

// The kind's texts at that resolution, in drawing order. A text whose picture would not fit in
// memory is left out.
std::vector<TextOverlay> renderTextOverlays(int kind, const CoverText& text, double dotsPerInch);

// Draws overlays of a cover whose real size is coverSize where the cover shows at `cover` on the
// painter's device (a screen: smoothly scaled).
void paintTextOverlays(QPainter& painter, const std::vector<TextOverlay>& overlays, LengthSize coverSize,
                       const QRectF& cover);

// The cover's picture at `size` pixels with its text drawn over it at that size: what a screen
// shows of the cover. The picture is stretched over the whole size.
QImage pictureWithText(const QImage& picture, QSize size, int kind, const CoverText& text);

// The box of one text on the cover, as renderTextOverlays places it (for picking a text to drag).
LengthRect measuredTextBox(const PlacedText& text);

} // namespace kavi
