// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/disc_text_outlines.h"

#include "covers/disc_page.h"
#include "covers/disc_sheet_plan.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QTextBoundaryFinder>
#include <QTransform>

#include <algorithm>

namespace kavi {

namespace {

constexpr double kSmallestPoints = 4, kLargestPoints = 72;

FilledOutline filled(const QPainterPath& path, std::uint32_t rgb) {
    FilledOutline outline;
    outline.rgb = rgb;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.type == QPainterPath::CurveToElement && i + 2 < path.elementCount()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
            outline.steps.push_back({OutlineStep::Type::CurveTo, {end.x, end.y}, {e.x, e.y}, {c2.x, c2.y}});
            i += 2;
        } else {
            outline.steps.push_back(
                {e.type == QPainterPath::MoveToElement ? OutlineStep::Type::MoveTo : OutlineStep::Type::LineTo,
                 {e.x, e.y},
                 {},
                 {}});
        }
    }
    return outline;
}

// Lays one run of letters along its side of the circle; returns the radius used (0 for no letters).
Length placeRun(const std::string& utf8, double sizePoints, const DiscText& style, ArcSide side, Length outerRadius,
                Length holeRadius, CoverTextOutlines& out) {
    const QString text = QString::fromStdString(utf8).simplified();
    if (text.isEmpty()) return Length();
    QFont font(QString::fromStdString(style.fontFamily));
    font.setPointSizeF(std::clamp(sizePoints, kSmallestPoints, kLargestPoints));
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF metrics(font);
    const double u = metrics.fontDpi() / 72; // the font's units a point
    const double ascent = metrics.ascent() / u, descent = metrics.descent() / u;
    const double capHeight = metrics.capHeight() / u; // a capital's middle is the letters' middle to a reader

    // The letters as the reader sees them: grapheme clusters, each with its own advance.
    std::vector<QString> letters;
    std::vector<Length> advances;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype start = 0, end = graphemes.toNextBoundary(); end != -1;
         start = end, end = graphemes.toNextBoundary()) {
        letters.push_back(text.mid(start, end - start));
        advances.push_back(Length::fromPoints(metrics.horizontalAdvance(letters.back()) / u));
    }
    const Length radius = discTextRadius(outerRadius, holeRadius, Length::fromPoints(ascent + descent));
    const std::vector<ArcLetter> placed = placeOnArc(advances, radius, side);
    const double centre = outerRadius.points();
    for (std::size_t i = 0; i < placed.size(); ++i) {
        QPainterPath path;
        path.addText(QPointF(0, 0), font, letters[i]);
        if (path.isEmpty()) continue; // a space
        QTransform t;
        t.translate(centre + placed[i].middle.x.points(), centre + placed[i].middle.y.points());
        t.rotate(placed[i].turnDegrees);
        t.translate(-advances[i].points() / 2, capHeight / 2);
        t.scale(1 / u, 1 / u);
        out.fills.push_back(filled(t.map(path), style.rgb));
    }
    // The words for a reader to find, at the run's first letter.
    if (!placed.empty()) {
        Length run;
        for (Length a : advances) run += a;
        OutlineTextLine line;
        line.text = text.toStdU16String();
        line.origin = {centre + placed.front().middle.x.points(), centre + placed.front().middle.y.points()};
        line.sizePoints = font.pointSizeF();
        line.advancePoints = run.points();
        out.lines.push_back(line);
    }
    return radius;
}

} // namespace

DiscTextOutlines discTextOutlines(const DiscText& text, Length outerRadius, Length holeRadius) {
    DiscTextOutlines result;
    if (outerRadius <= Length()) return result;
    result.titleRadius =
        placeRun(text.title, text.titlePoints, text, ArcSide::Top, outerRadius, holeRadius, result.outlines);
    result.titleLetters = int(result.outlines.fills.size());
    result.subtitleRadius =
        placeRun(text.subtitle, text.subtitlePoints, text, ArcSide::Bottom, outerRadius, holeRadius, result.outlines);
    return result;
}

} // namespace kavi
