// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/cover_design_drawing.h"

#include "covers/cover_kinds.h"
#include "covers/cut_marks.h"
#include "render/cover_text_layout.h"

#include <algorithm>
#include <cmath>

namespace kavi {

namespace {

// The part two rectangles share; empty (zero size) when they do not meet.
LengthRect intersection(const LengthRect& a, const LengthRect& b) {
    const Length left = std::max(a.left, b.left), top = std::max(a.top, b.top);
    const Length right = std::min(a.right(), b.right()), bottom = std::min(a.bottom(), b.bottom());
    if (right <= left || bottom <= top) return {left, top, Length(), Length()};
    return {left, top, right - left, bottom - top};
}

bool isEmpty(const LengthRect& r) { return r.width <= Length() || r.height <= Length(); }

void drawTrackList(PrinterObject& printer, const CoverLayer& layer, const CoverOnPage& cover,
                   CoverDrawingCache* cache) {
    TrackListDrawing fitted;
    const TrackListDrawing& drawing = cache ? cache->trackLists.outlinesOf(layer.tracks, layer.style, layer.box)
                                            : (fitted = trackListOutlines(layer.tracks, layer.style, layer.box));
    const LengthSize size = cover.coverSize();
    for (const TrackListColumn& column : drawing.columns) {
        const LengthRect clip = intersection(column.clip, {Length(), Length(), size.width, size.height});
        if (isEmpty(clip) || column.outlines.empty()) continue;
        printer.drawClippedOutlines(column.outlines, cover.rect(), size, cover.toPrinter(clip));
    }
}

// The one text written along both strips, each turned to read from top to bottom and centred on
// its strip, seen only inside it.
void drawEndStrips(PrinterObject& printer, const TextBox& text, const CoverOnPage& cover) {
    if (text.text.empty()) return;
    const LengthSize size = cover.coverSize();
    for (const LengthRect& strip : endStripsOf(cover.kind)) {
        PlacedText placed{text.text, text.style, {strip.left + strip.width / 2, size.height / 2}, true};
        placed.style.align = TextAlign::Centre;
        const CoverTextOutlines outlines = placedTextOutlines({placed});
        if (!outlines.empty()) printer.drawClippedOutlines(outlines, cover.rect(), size, cover.toPrinter(strip));
    }
}

} // namespace

LengthSize CoverOnPage::coverSize() const { return coverKind(kind).printSize; }

LengthRect CoverOnPage::rect() const {
    return {onSheet.left - corner.x, onSheet.top - corner.y, onSheet.width, onSheet.height};
}

LengthRect CoverOnPage::toPrinter(const LengthRect& inCover) const {
    const LengthRect s = coverToSheet(inCover, coverSize(), onSheet);
    return {s.left - corner.x, s.top - corner.y, s.width, s.height};
}

std::optional<AreaFill> backgroundFill(const CoverBackground& background, const LengthRect& area) {
    if (background.fill == BackgroundFill::Paper) return std::nullopt;
    AreaFill fill;
    fill.colour = background.colour & 0xFFFFFFu;
    if (background.fill != BackgroundFill::Gradient) return fill;
    fill.endColour = background.endColour & 0xFFFFFFu;
    // The direction as a step of whole units (45 degrees: one right, one down), turning clockwise.
    const int eighth = int(std::lround(background.angleDegrees / 45.0)) % 8;
    static constexpr int kAcross[8] = {1, 1, 0, -1, -1, -1, 0, 1}, kDown[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    const int dx = kAcross[(eighth + 8) % 8], dy = kDown[(eighth + 8) % 8];
    // The corner that lies furthest back along the direction starts the gradient; the line ends
    // where the corner furthest ahead meets it.
    const LengthPoint start{dx >= 0 ? area.left : area.right(), dy >= 0 ? area.top : area.bottom()};
    const double span = std::abs(dx) * area.width.twips() + std::abs(dy) * area.height.twips();
    const double reach = span / double(dx * dx + dy * dy);
    fill.from = start;
    fill.to = {start.x + Length::fromTwips(dx * reach), start.y + Length::fromTwips(dy * reach)};
    return fill;
}

void drawCoverBackground(PrinterObject& printer, const CoverBackground& background, const LengthRect& area) {
    if (const std::optional<AreaFill> fill = backgroundFill(background, area)) printer.fillArea(area, *fill);
}

bool drawLaidCoverPicture(PrinterObject& printer, const QImage& picture, const QByteArray& jpeg,
                          const PictureOnPage& placed, const LengthRect& cover) {
    return printer.drawLaidPicture(picture, jpeg, {placed.picture, 0, 1, placed.clip.value_or(cover)});
}

void drawCoverTexts(PrinterObject& printer, const CoverText& text, const CoverOnPage& cover, CoverDrawingCache* cache) {
    if (!text.hasText()) return;
    const LengthSize coverSize = cover.coverSize();
    const LengthRect& r = cover.onSheet;
    const auto fromCorner = [&cover](const LengthRect& at) {
        return LengthRect{at.left - cover.corner.x, at.top - cover.corner.y, at.width, at.height};
    };
    CoverTextOutlines shaped;
    if (cache && (cache->kind != cover.kind || cache->text != text)) {
        cache->kind = cover.kind;
        cache->text = text;
        cache->textOutlines = coverTextOutlines(cover.kind, text);
    }
    const CoverTextOutlines& outlines = cache ? cache->textOutlines : (shaped = coverTextOutlines(cover.kind, text));
    if (printer.drawTextOutlines(outlines, fromCorner(r), coverSize)) return;
    for (const TextOverlay& overlay : renderTextOverlays(cover.kind, text, kPrintTextDotsPerInch)) {
        const LengthRect o = coverToSheet(overlay.rect, coverSize, r);
        printer.drawTranslucentPicture(overlay.image, fromCorner(o));
    }
}

void drawOverCoverPicture(PrinterObject& printer, const CoverContent& content, const CoverOnPage& cover,
                          CoverDrawingCache* cache) {
    bool textsDrawn = false;
    const std::size_t layers = std::min(content.design.layers.size(), kMostCoverLayers);
    for (std::size_t i = 0; i < layers; ++i) {
        const CoverLayer& layer = content.design.layers[i];
        switch (layer.type) {
        case LayerType::Picture: {
            if (layer.picture >= content.pictures.size() || !(layer.opacity > 0)) break;
            const DesignPicture& picture = content.pictures[layer.picture];
            printer.drawLaidPicture(picture.pixels, picture.originalJpeg,
                                    {cover.toPrinter(layer.box), ((layer.quarterTurns % 4) + 4) % 4,
                                     std::min(layer.opacity, 1.0), cover.rect()});
            break;
        }
        case LayerType::TrackList: drawTrackList(printer, layer, cover, cache); break;
        case LayerType::Texts:
            if (!textsDrawn) drawCoverTexts(printer, content.text, cover, cache);
            textsDrawn = true;
            break;
        }
    }
    if (!textsDrawn) drawCoverTexts(printer, content.text, cover, cache);
    drawEndStrips(printer, content.design.endStrips, cover);
}

std::vector<LengthRect> endStripsOf(int kind) {
    if (kind != 3) return {};
    const LengthSize size = coverKind(kind).printSize;
    const std::vector<Length> folds = foldsOf(kind, size.width);
    if (folds.size() != 2) return {};
    return {{Length(), Length(), folds[0], size.height}, {folds[1], Length(), size.width - folds[1], size.height}};
}

} // namespace kavi
