// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/disc_ring_canvas.h"

#include "covers/picture_fit.h"
#include "render/cover_text_layout.h"
#include "render/disc_text_outlines.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace kavi {

DiscRingCanvas::DiscRingCanvas(CoverDocument& document, DiscKind kind, QWidget* parent)
    : QWidget(parent), document_(document), kind_(kind) {}

DiscGeometry DiscRingCanvas::shownGeometry() const {
    if (const std::optional<DiscLabelStock>& stock = document_.stockChoice().stock)
        return {stock->outerDiameter(), stock->holeDiameter()};
    return document_.disc(kind_).geometry;
}

void DiscRingCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const DiscGeometry ring = shownGeometry();
    const double perMm = std::min(width(), height()) / (kLargestDisc.millimetres() + 2);
    const QPointF centre(width() / 2.0, height() / 2.0);
    const double outer = ring.outer.millimetres() / 2 * perMm, hole = ring.hole.millimetres() / 2 * perMm;
    const QRectF square(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addEllipse(centre, outer, outer);
    if (hole > 0) path.addEllipse(centre, hole, hole);
    painter.fillPath(path, Qt::white);

    const DiscCover& disc = document_.disc(kind_);
    const QImage& picture = document_.pixels(kind_);
    painter.save();
    painter.setClipPath(path);
    if (!picture.isNull()) {
        const FitBox box = fittedBox({square.left(), square.top(), square.width(), square.height()}, picture.width(),
                                     picture.height(), disc.fit);
        const QSize size(std::max(1, int(box.width + 0.5)), std::max(1, int(box.height + 0.5)));
        if (scaled_.size() != size || scaledKey_ != picture.cacheKey()) {
            scaled_ = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            scaledKey_ = picture.cacheKey();
        }
        painter.drawImage(QPointF(box.left, box.top), scaled_);
    }
    if (disc.text.hasText()) {
        const DiscTextOutlines text = discTextOutlines(disc.text, ring.outer / 2, ring.hole / 2);
        painter.translate(square.topLeft());
        const double perPoint = perMm * 25.4 / 72;
        painter.scale(perPoint, perPoint);
        paintTextOutlines(painter, text.outlines);
    }
    painter.restore();
    painter.setPen(QPen(QColor(0x9a, 0x9f, 0xa6), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

} // namespace kavi
