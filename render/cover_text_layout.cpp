// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/cover_text_layout.h"

#include "covers/cover_kinds.h"
#include "covers/picture_fit.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
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

// The letters as outlines in the font's own units, with the text box's top-left corner (margin
// included) at the origin; the painter scales them by 1 / unitsPerPoint to points.
QPainterPath outlinesOf(const PlacedText& text, const Measured& m, Length margin) {
    QPainterPath path;
    const QFont font = fontOf(text.style);
    const double u = m.unitsPerPoint;
    for (qsizetype i = 0; i < m.lines.size(); ++i) {
        const double room = m.width - m.widths[std::size_t(i)];
        double x = margin.points();
        if (text.style.align == TextAlign::Centre) x += room / 2;
        if (text.style.align == TextAlign::Right) x += room;
        path.addText(QPointF(x * u, (margin.points() + m.ascent + m.lineSpacing * double(i)) * u), font, m.lines[i]);
    }
    return path;
}

// The ink of the outlines with the effect drawn around them, in points from the box's corner.
QRectF inkOf(const QPainterPath& path, const TextStyle& style, double unitsPerPoint) {
    const QRectF r = path.boundingRect();
    if (r.isEmpty()) return {};
    const QRectF letters(r.left() / unitsPerPoint, r.top() / unitsPerPoint, r.width() / unitsPerPoint,
                         r.height() / unitsPerPoint);
    const double effect = effectPoints(style);
    if (style.effect == TextEffect::Outline) return letters.adjusted(-effect, -effect, effect, effect);
    if (style.effect == TextEffect::Shadow) return letters.united(letters.translated(effect, effect));
    return letters;
}

// A rectangle of a text's own box (along its lines, then across them, from the box's corner) on
// the cover, where the box lies at `box`.
LengthRect onCover(const PlacedText& text, const LengthRect& box, const QRectF& inBox) {
    const auto pts = [](double points) { return Length::fromPoints(points); };
    if (!text.turned)
        return {box.left + pts(inBox.left()), box.top + pts(inBox.top()), pts(inBox.width()), pts(inBox.height())};
    // A quarter turn clockwise: along the lines is down the cover, and across them leftwards.
    return {box.right() - pts(inBox.bottom()), box.top + pts(inBox.left()), pts(inBox.height()), pts(inBox.width())};
}

// The overlay with only the pixels whose middles lie on the cover: the text is cut off at the
// cover's edge the same way in every output. False when nothing of it is left.
bool keepOnCover(TextOverlay& overlay, LengthSize cover) {
    const int w = overlay.image.width(), h = overlay.image.height();
    const Length px = overlay.rect.width / w, py = overlay.rect.height / h;
    const auto first = [](Length from, Length pixel) { return int(std::ceil(from / pixel - 0.5)); };
    const auto last = [](Length to, Length pixel) { return int(std::floor(to / pixel - 0.5)); };
    const int x0 = std::max(0, first(-overlay.rect.left, px));
    const int x1 = std::min(w - 1, last(cover.width - overlay.rect.left, px));
    const int y0 = std::max(0, first(-overlay.rect.top, py));
    const int y1 = std::min(h - 1, last(cover.height - overlay.rect.top, py));
    if (x1 < x0 || y1 < y0) return false;
    if (x0 == 0 && y0 == 0 && x1 == w - 1 && y1 == h - 1) return true;
    overlay.image = overlay.image.copy(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
    overlay.rect = {overlay.rect.left + px * x0, overlay.rect.top + py * y0, px * (x1 - x0 + 1), py * (y1 - y0 + 1)};
    return !overlay.image.isNull();
}

// The steps of a path in the text box's own points, placed on the cover where the box lies at `box`.
FilledOutline outlineOnCover(const PlacedText& text, const LengthRect& box, const QPainterPath& path, double scale,
                             QColor colour) {
    FilledOutline outline;
    outline.rgb = std::uint32_t(colour.rgb()) & 0xFFFFFFu;
    outline.opacity = colour.alphaF();
    const auto at = [&](double x, double y) {
        x *= scale;
        y *= scale;
        if (!text.turned) return OutlinePoint{box.left.points() + x, box.top.points() + y};
        return OutlinePoint{box.right().points() - y, box.top.points() + x};
    };
    outline.steps.reserve(std::size_t(path.elementCount()));
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.type == QPainterPath::CurveToElement && i + 2 < path.elementCount()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
            outline.steps.push_back({OutlineStep::Type::CurveTo, at(end.x, end.y), at(e.x, e.y), at(c2.x, c2.y)});
            i += 2;
        } else {
            const auto type =
                e.type == QPainterPath::MoveToElement ? OutlineStep::Type::MoveTo : OutlineStep::Type::LineTo;
            outline.steps.push_back({type, at(e.x, e.y), {}, {}});
        }
    }
    return outline;
}

} // namespace

LengthRect measuredTextBox(const PlacedText& text) {
    return textBoxOnCover(text, measure(text).size(), marginOf(text.style));
}

LengthRect inkTextBox(const PlacedText& text) {
    const Measured m = measure(text);
    const Length margin = marginOf(text.style);
    const QRectF ink = inkOf(outlinesOf(text, m, margin), text.style, m.unitsPerPoint);
    if (ink.isEmpty()) return {};
    return onCover(text, textBoxOnCover(text, m.size(), margin), ink);
}

std::vector<TextOverlay> renderTextOverlays(int kind, const CoverText& text, double dotsPerInch) {
    std::vector<TextOverlay> overlays;
    const LengthSize coverSize = coverKind(kind).printSize;
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
            const QPainterPath path = outlinesOf(placed, m, margin);
            const double u = m.unitsPerPoint;
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
        if (keepOnCover(overlay, coverSize)) overlays.push_back(std::move(overlay));
    }
    return overlays;
}

CoverTextOutlines coverTextOutlines(int kind, const CoverText& text) {
    return placedTextOutlines(placeCoverText(kind, text));
}

CoverTextOutlines placedTextOutlines(const std::vector<PlacedText>& texts) {
    CoverTextOutlines outlines;
    for (const PlacedText& placed : texts) {
        const Measured m = measure(placed);
        const Length margin = marginOf(placed.style);
        const LengthRect box = textBoxOnCover(placed, m.size(), margin);
        const QPainterPath path = outlinesOf(placed, m, margin);
        if (path.isEmpty()) continue;
        const double u = m.unitsPerPoint, scale = 1 / u;
        const double effect = effectPoints(placed.style) * u;
        const QColor effectColour = colourOf(placed.style.effectColour);
        if (placed.style.effect == TextEffect::Outline) {
            QPainterPathStroker stroker(QPen(effectColour, 2 * effect, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            outlines.fills.push_back(outlineOnCover(placed, box, stroker.createStroke(path), scale, effectColour));
        } else if (placed.style.effect == TextEffect::Shadow) {
            QColor shadow = effectColour;
            shadow.setAlphaF(0.6f);
            outlines.fills.push_back(outlineOnCover(placed, box, path.translated(effect, effect), scale, shadow));
        }
        outlines.fills.push_back(outlineOnCover(placed, box, path, scale, colourOf(placed.style.colour)));
        // The words, along the same baselines as the letters.
        for (qsizetype i = 0; i < m.lines.size(); ++i) {
            if (m.lines[i].trimmed().isEmpty()) continue;
            const double room = m.width - m.widths[std::size_t(i)];
            double x = margin.points();
            if (placed.style.align == TextAlign::Centre) x += room / 2;
            if (placed.style.align == TextAlign::Right) x += room;
            const double y = margin.points() + m.ascent + m.lineSpacing * double(i);
            const OutlinePoint origin = placed.turned ? OutlinePoint{box.right().points() - y, box.top.points() + x}
                                                      : OutlinePoint{box.left.points() + x, box.top.points() + y};
            outlines.lines.push_back({m.lines[i].toStdU16String(), origin, placed.turned,
                                      std::clamp(placed.style.sizePoints, kSmallestTextPoints, kLargestTextPoints),
                                      m.widths[std::size_t(i)]});
        }
    }
    return outlines;
}

} // namespace kavi

namespace kavi {

void paintTextOutlines(QPainter& painter, const CoverTextOutlines& outlines) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (const FilledOutline& fill : outlines.fills) {
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        for (const OutlineStep& step : fill.steps) {
            const QPointF to(step.to.x, step.to.y);
            switch (step.type) {
            case OutlineStep::Type::MoveTo: path.moveTo(to); break;
            case OutlineStep::Type::LineTo: path.lineTo(to); break;
            case OutlineStep::Type::CurveTo:
                path.cubicTo(QPointF(step.control1.x, step.control1.y), QPointF(step.control2.x, step.control2.y), to);
                break;
            }
        }
        QColor colour = colourOf(fill.rgb);
        colour.setAlphaF(float(fill.opacity));
        painter.fillPath(path, colour);
    }
    painter.restore();
}

QImage pictureWithText(const QImage& picture, FitMode fit, QSize size, int kind, const CoverText& text) {
    QImage shown(size, QImage::Format_RGB32);
    if (shown.isNull()) return shown;
    shown.fill(Qt::white); // the paper, which shows through wherever the picture is transparent
    QPainter painter(&shown);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!picture.isNull()) {
        const VisiblePart part = visiblePart(FitBox{0, 0, double(size.width()), double(size.height())}, picture.width(),
                                             picture.height(), fit);
        const FitBox& t = part.target;
        const FitBox& s = part.source;
        if (t.width > 0 && t.height > 0)
            painter.drawImage(QRectF(t.left, t.top, t.width, t.height), picture,
                              QRectF(s.left, s.top, s.width, s.height));
    }
    if (!text.hasText()) return shown;
    // The outlines every output fills, at the screen's own scale, cut off at the cover's edges.
    const LengthSize coverSize = coverKind(kind).printSize;
    painter.setClipRect(shown.rect());
    painter.scale(size.width() / coverSize.width.points(), size.height() / coverSize.height.points());
    paintTextOutlines(painter, coverTextOutlines(kind, text));
    return shown;
}

} // namespace kavi
