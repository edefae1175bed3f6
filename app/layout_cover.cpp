// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/layout_cover.h"

#include "covers/cover_kinds.h"
#include "covers/picture_fit.h"
#include "covers/track_list.h"
#include "render/cover_text_layout.h"
#include "render/track_list_measure.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

#include <cmath>

namespace kavi {

namespace {

QColor colourOf(std::uint32_t rgb) { return QColor::fromRgb(QRgb(0xFF000000u | rgb)); }

void paintBackground(QPainter& painter, const CoverBackground& background, QSizeF area) {
    const QRectF all(QPointF(0, 0), area);
    if (background.fill == BackgroundFill::Colour) {
        painter.fillRect(all, colourOf(background.colour));
    } else if (background.fill == BackgroundFill::Gradient) {
        // From corner to corner along the angle: the line through the middle at that angle, long
        // enough that both ends meet the area's far corners.
        const double radians = background.angleDegrees * M_PI / 180;
        const QPointF direction(std::cos(radians), std::sin(radians));
        const double reach = (std::abs(direction.x()) * area.width() + std::abs(direction.y()) * area.height()) / 2;
        const QPointF middle = all.center();
        QLinearGradient gradient(middle - direction * reach, middle + direction * reach);
        gradient.setColorAt(0, colourOf(background.colour));
        gradient.setColorAt(1, colourOf(background.endColour));
        painter.fillRect(all, gradient);
    }
}

void paintPictureLayer(QPainter& painter, const CoverLayer& layer, const QImage& pixels) {
    if (pixels.isNull()) return;
    const QRectF box(layer.box.left.points(), layer.box.top.points(), layer.box.width.points(),
                     layer.box.height.points());
    painter.save();
    painter.setOpacity(std::clamp(layer.opacity, 0.0, 1.0));
    painter.translate(box.center());
    const int turns = ((layer.quarterTurns % 4) + 4) % 4;
    painter.rotate(90.0 * turns);
    const QSizeF upright = turns % 2 ? box.size().transposed() : box.size();
    painter.drawImage(QRectF(QPointF(-upright.width() / 2, -upright.height() / 2), upright), pixels);
    painter.restore();
}

void paintTrackListLayer(QPainter& painter, const CoverLayer& layer) {
    const TrackListFit fit = fitTrackListLayer(layer);
    const std::vector<std::string> lines = trackListLines(layer.tracks);
    QFont font(QString::fromStdString(layer.style.family));
    font.setPointSizeF(std::max(fit.sizePoints, 1.0));
    font.setBold(layer.style.bold);
    font.setItalic(layer.style.italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    // The painter works in points; the font's units follow its own resolution.
    const double unitsPerPoint = QFontMetricsF(font).fontDpi() / 72;
    painter.save();
    painter.scale(1 / unitsPerPoint, 1 / unitsPerPoint);
    painter.setFont(font);
    painter.setPen(colourOf(layer.style.colour));
    const int align = layer.style.align == TextAlign::Centre ? Qt::AlignHCenter
        : layer.style.align == TextAlign::Right              ? Qt::AlignRight
                                                             : Qt::AlignLeft;
    for (const PlacedTrackLine& placed : fit.placed) {
        if (placed.line >= lines.size()) continue;
        const QRectF rect(placed.rect.left.points() * unitsPerPoint, placed.rect.top.points() * unitsPerPoint,
                          placed.rect.width.points() * unitsPerPoint, placed.rect.height.points() * unitsPerPoint);
        painter.save();
        painter.setClipRect(rect); // a cut line ends at its column
        painter.drawText(rect, align | Qt::AlignTop | Qt::TextSingleLine, QString::fromStdString(lines[placed.line]));
        painter.restore();
    }
    painter.restore();
}

} // namespace

TrackListFit fitTrackListLayer(const CoverLayer& layer) {
    return fitTrackList(trackListLines(layer.tracks), layer.box, layer.style.sizePoints, trackLineMeasure(layer.style));
}

QImage paintLayoutCover(const LayoutCover& cover, QSize size) {
    if (cover.design.isPlain()) return pictureWithText(cover.picture, cover.fit, size, cover.kind, cover.text);
    QImage shown(size, QImage::Format_RGB32);
    if (shown.isNull()) return shown;
    shown.fill(Qt::white);
    QPainter painter(&shown);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(shown.rect());
    paintBackground(painter, cover.design.background, QSizeF(size));
    if (!cover.picture.isNull()) {
        const VisiblePart part = visiblePart(FitBox{0, 0, double(size.width()), double(size.height())},
                                             cover.picture.width(), cover.picture.height(), cover.fit);
        const FitBox& t = part.target;
        const FitBox& s = part.source;
        if (t.width > 0 && t.height > 0)
            painter.drawImage(QRectF(t.left, t.top, t.width, t.height), cover.picture,
                              QRectF(s.left, s.top, s.width, s.height));
    }
    // Everything else in points on the cover.
    const LengthSize coverSize = coverKind(cover.kind).printSize;
    painter.scale(size.width() / coverSize.width.points(), size.height() / coverSize.height.points());
    bool textsDrawn = false;
    for (const CoverLayer& layer : cover.design.layers) {
        if (layer.type == LayerType::Picture) {
            if (layer.picture < cover.pictures.size())
                paintPictureLayer(painter, layer, cover.pictures[layer.picture].pixels);
        } else if (layer.type == LayerType::TrackList) {
            paintTrackListLayer(painter, layer);
        } else if (!textsDrawn) {
            paintTextOutlines(painter, coverTextOutlines(cover.kind, cover.text));
            textsDrawn = true;
        }
    }
    if (!textsDrawn) paintTextOutlines(painter, coverTextOutlines(cover.kind, cover.text));
    return shown;
}

} // namespace kavi
