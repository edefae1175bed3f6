// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_overlay.h"

#include "cover_kinds.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace kavi {

namespace {

// Larger texts than this (in pixels of one side) are not drawn: a mistake, not a cover.
constexpr int kLargestOverlaySide = 20000;

QFont fontOf(const TextStyle& style) {
    QFont font(QString::fromStdString(style.family));
    font.setPointSizeF(std::clamp(style.sizePoints, kSmallestTextPoints, kLargestTextPoints));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting); // sizes scale exactly with the resolution
    return font;
}

QColor colourOf(std::uint32_t rgb) { return QColor(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)); }

// The width of the outline and the shadow's offset, both from the letters' size.
double effectPoints(const TextStyle& style) { return std::max(0.75, style.sizePoints * 0.06); }

// Room around the letters' advance for italics and effects.
Length marginOf(const TextStyle& style) {
    return Length::fromPoints(style.sizePoints * 0.2 +
                              (style.effect == TextEffect::None ? 0 : 2 * effectPoints(style)));
}

struct Measured {
    QStringList lines;
    std::vector<double> widths; // points
    double width = 0, lineSpacing = 0, ascent = 0; // points
    double unitsPerPoint = 1; // of the font's own outlines, which follow the font's resolution
    LengthSize size() const {
        return {Length::fromPoints(width), Length::fromPoints(lineSpacing * double(lines.size()))};
    }
};

Measured measure(const PlacedText& text) {
    const QFontMetricsF metrics(fontOf(text.style));
    Measured m;
    m.unitsPerPoint = metrics.fontDpi() / 72;
    m.lines = QString::fromStdString(text.text).split(QLatin1Char('\n'));
    for (const QString& line : m.lines) {
        m.widths.push_back(metrics.horizontalAdvance(line) / m.unitsPerPoint);
        m.width = std::max(m.width, m.widths.back());
    }
    m.lineSpacing = metrics.lineSpacing() / m.unitsPerPoint;
    m.ascent = metrics.ascent() / m.unitsPerPoint;
    return m;
}

} // namespace

LengthRect measuredTextBox(const PlacedText& text) {
    return textBoxOnCover(text, measure(text).size(), marginOf(text.style));
}

std::vector<TextOverlay> renderTextOverlays(int kind, const CoverText& text, double dotsPerInch) {
    std::vector<TextOverlay> overlays;
    for (const PlacedText& placed : placeCoverText(kind, text)) {
        const Measured m = measure(placed);
        const Length margin = marginOf(placed.style);
        const double scale = dotsPerInch / 72; // pixels per point
        const double alongPoints = m.width + 2 * margin.points(),
                     acrossPoints = m.size().height.points() + 2 * margin.points();
        const int along = int(std::ceil(alongPoints * scale)), across = int(std::ceil(acrossPoints * scale));
        if (along <= 0 || across <= 0 || along > kLargestOverlaySide || across > kLargestOverlaySide) continue;
        QImage image(along, across, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull()) continue;
        image.fill(Qt::transparent);
        {
            // The letters as outlines, filled and stroked the same way at every resolution.
            // The path is in the font's own units; the painter takes them to pixels.
            QPainterPath path;
            const QFont font = fontOf(placed.style);
            const double u = m.unitsPerPoint;
            for (qsizetype i = 0; i < m.lines.size(); ++i) {
                const double room = m.width - m.widths[std::size_t(i)];
                double x = margin.points();
                if (placed.style.align == TextAlign::Centre) x += room / 2;
                if (placed.style.align == TextAlign::Right) x += room;
                path.addText(QPointF(x * u, (margin.points() + m.ascent + m.lineSpacing * double(i)) * u), font,
                             m.lines[i]);
            }
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.scale(scale / u, scale / u);
            const double effect = effectPoints(placed.style) * u;
            const QColor effectColour = colourOf(placed.style.effectColour);
            if (placed.style.effect == TextEffect::Outline) {
                painter.strokePath(path, QPen(effectColour, 2 * effect, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            } else if (placed.style.effect == TextEffect::Shadow) {
                QColor shadow = effectColour;
                shadow.setAlphaF(0.6f);
                painter.fillPath(path.translated(effect, effect), shadow);
            }
            painter.fillPath(path, colourOf(placed.style.colour));
        }
        if (placed.turned) image = image.transformed(QTransform().rotate(90)); // clockwise on a y-down page
        TextOverlay overlay;
        overlay.image = image.convertToFormat(QImage::Format_ARGB32);
        // The box as drawn: whole pixels, so its size follows the image exactly.
        const LengthSize drawn{Length::fromPoints(along / scale - 2 * margin.points()),
                               Length::fromPoints(across / scale - 2 * margin.points())};
        overlay.rect = textBoxOnCover(placed, drawn, margin);
        overlays.push_back(std::move(overlay));
    }
    return overlays;
}

} // namespace kavi

namespace kavi {

void paintTextOverlays(QPainter& painter, const std::vector<TextOverlay>& overlays, LengthSize coverSize,
                       const QRectF& cover) {
    const double sx = cover.width() / coverSize.width.inches(), sy = cover.height() / coverSize.height.inches();
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const TextOverlay& o : overlays)
        painter.drawImage(QRectF(cover.left() + o.rect.left.inches() * sx, cover.top() + o.rect.top.inches() * sy,
                                 o.rect.width.inches() * sx, o.rect.height.inches() * sy),
                          o.image);
    painter.restore();
}

QImage pictureWithText(const QImage& picture, QSize size, int kind, const CoverText& text) {
    QImage shown(size, QImage::Format_RGB32);
    if (shown.isNull()) return shown;
    shown.fill(Qt::white);
    QPainter painter(&shown);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!picture.isNull()) painter.drawImage(QRect(QPoint(0, 0), size), picture);
    if (!text.hasText()) return shown;
    const LengthSize coverSize = coverKind(kind).printSize;
    // Drawn at the screen's own scale, so the letters are as sharp as the screen allows.
    const double dotsPerInch = double(size.width()) / coverSize.width.inches();
    paintTextOverlays(painter, renderTextOverlays(kind, text, dotsPerInch), coverSize, QRectF(QPoint(0, 0), size));
    return shown;
}

} // namespace kavi
