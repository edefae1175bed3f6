// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/track_list_outlines.h"

#include "render/track_list_measure.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QString>

#include <algorithm>

namespace kavi {

namespace {

// The font the measure uses, so the fitted widths are the drawn ones.
QFont listFont(const TextStyle& style, double sizePoints) {
    QFont font(QString::fromStdString(style.family));
    font.setPointSizeF(std::clamp(sizePoints, 1.0, kLargestTextPoints));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// A path in the font's units moved to the cover: (x, y) / unitsPerPoint + offset, in points.
FilledOutline onCover(const QPainterPath& path, double unitsPerPoint, double left, double top, std::uint32_t rgb) {
    FilledOutline outline;
    outline.rgb = rgb & 0xFFFFFFu;
    const auto at = [&](const QPainterPath::Element& e) {
        return OutlinePoint{left + e.x / unitsPerPoint, top + e.y / unitsPerPoint};
    };
    outline.steps.reserve(std::size_t(path.elementCount()));
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.type == QPainterPath::CurveToElement && i + 2 < path.elementCount()) {
            outline.steps.push_back(
                {OutlineStep::Type::CurveTo, at(path.elementAt(i + 2)), at(e), at(path.elementAt(i + 1))});
            i += 2;
        } else {
            const auto type =
                e.type == QPainterPath::MoveToElement ? OutlineStep::Type::MoveTo : OutlineStep::Type::LineTo;
            outline.steps.push_back({type, at(e), {}, {}});
        }
    }
    return outline;
}

} // namespace

TrackListDrawing trackListOutlines(const std::vector<Track>& tracks, const TextStyle& style, const LengthRect& box) {
    TrackListDrawing drawing;
    const std::vector<std::string> lines = trackListLines(tracks);
    if (lines.empty()) return drawing;
    const MeasureTrackLine measure = trackLineMeasure(style);
    drawing.fit = fitTrackList(lines, box, style.sizePoints, measure);
    if (drawing.fit.placed.empty()) return drawing;
    const QFont font = listFont(style, drawing.fit.sizePoints);
    const QFontMetricsF metrics(font);
    const double unitsPerPoint = metrics.fontDpi() / 72, ascent = metrics.ascent() / unitsPerPoint;
    for (const PlacedTrackLine& placed : drawing.fit.placed) {
        const LengthRect& r = placed.rect;
        if (drawing.columns.empty() || drawing.columns.back().clip.left != r.left)
            drawing.columns.push_back({{}, {r.left, box.top, r.width, box.height}});
        TrackListColumn& column = drawing.columns.back();
        const std::string& line = lines[placed.line];
        const QString text = QString::fromStdString(line);
        if (text.trimmed().isEmpty()) continue;
        const double width = measure(line, drawing.fit.sizePoints).width.points(), room = r.width.points() - width;
        double x = r.left.points(); // a cut line starts at the column's start and loses its end
        if (!placed.cut && style.align == TextAlign::Centre) x += room / 2;
        if (!placed.cut && style.align == TextAlign::Right) x += room;
        const double baseline = r.top.points() + ascent;
        QPainterPath path;
        path.addText(QPointF(0, 0), font, text);
        if (!path.isEmpty()) column.outlines.fills.push_back(onCover(path, unitsPerPoint, x, baseline, style.colour));
        column.outlines.lines.push_back({text.toStdU16String(),
                                         {x, baseline},
                                         false,
                                         std::clamp(drawing.fit.sizePoints, 1.0, kLargestTextPoints),
                                         std::min(width, r.width.points())});
    }
    return drawing;
}

const TrackListDrawing& TrackListOutlinesCache::outlinesOf(const std::vector<Track>& tracks, const TextStyle& style,
                                                           const LengthRect& box) {
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return e.box == box && e.style == style && e.tracks == tracks;
    });
    if (found != entries_.end()) {
        std::rotate(found, found + 1, entries_.end());
        return entries_.back().drawing;
    }
    if (entries_.size() >= kKept) entries_.erase(entries_.begin());
    entries_.push_back({tracks, style, box, trackListOutlines(tracks, style, box)});
    return entries_.back().drawing;
}

} // namespace kavi
