// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/cover_painter.h"

#include "covers/cover_kinds.h"
#include "covers/picture_fit.h"
#include "output/print/cover_design_drawing.h"

#include <QPaintDevice>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace kavi {

namespace {

// The steps of the cover's print, on the painter with the cover at `target`.
void drawCover(QPainter& painter, const QRectF& target, const CoverToPaint& c, ScaledPictures* pictures,
               CoverDrawingCache* drawing) {
    painter.fillRect(target, Qt::white);
    const LengthSize size = coverKind(c.kind).printSize;
    PainterPrinter printer(painter, target.topLeft(), target.width() / size.width.inches(),
                           target.height() / size.height.inches(), pictures);
    const CoverOnPage cover{c.kind, {Length(), Length(), size.width, size.height}, {}};
    drawCoverBackground(printer, c.design.background, cover.rect());
    if (!c.picture.isNull())
        drawLaidCoverPicture(printer, c.picture, {},
                             fitPicture(cover.rect(), c.picture.width(), c.picture.height(), c.fit), cover.rect());
    drawOverCoverPicture(printer, {c.text, c.design, c.pictures}, cover, drawing);
}

bool validKind(int kind) { return kind >= 1 && kind <= kCoverKindCount; }

} // namespace

bool showsTheSame(const CoverToPaint& a, const CoverToPaint& b) {
    const auto samePixels = [](const QImage& x, const QImage& y) {
        return x.isNull() == y.isNull() && (x.isNull() || x.cacheKey() == y.cacheKey());
    };
    return a.kind == b.kind && samePixels(a.picture, b.picture) && a.fit == b.fit && a.text == b.text &&
        a.design == b.design && a.pictures.size() == b.pictures.size() &&
        std::equal(a.pictures.begin(), a.pictures.end(), b.pictures.begin(),
                   [&](const DesignPicture& x, const DesignPicture& y) { return samePixels(x.pixels, y.pixels); });
}

const QImage& CoverPaintCache::composed(const CoverToPaint& cover, QSize pixels, double devicePixelRatio) {
    if (shown_ && composed_.size() == pixels && composed_.devicePixelRatio() == devicePixelRatio &&
        showsTheSame(*shown_, cover))
        return composed_;
    shown_.reset();
    if (composed_.size() != pixels) composed_ = QImage(pixels, QImage::Format_RGB32);
    if (composed_.isNull() || !validKind(cover.kind)) return composed_;
    composed_.setDevicePixelRatio(1);
    {
        QPainter painter(&composed_);
        drawCover(painter, QRectF(QPointF(0, 0), QSizeF(pixels)), cover, &pictures_, &drawing_);
    }
    composed_.setDevicePixelRatio(devicePixelRatio);
    shown_ = cover;
    ++compositions_;
    return composed_;
}

void paintCover(QPainter& painter, const QRectF& target, const CoverToPaint& cover, CoverPaintCache* cache) {
    if (target.isEmpty() || !validKind(cover.kind)) return;
    if (!cache) {
        painter.save();
        painter.setClipRect(target, Qt::IntersectClip);
        drawCover(painter, target, cover, nullptr, nullptr);
        painter.restore();
        return;
    }
    const double ratio = painter.device() ? std::max(1.0, painter.device()->devicePixelRatioF()) : 1.0;
    const QSize pixels(std::max(1, int(std::lround(target.width() * ratio))),
                       std::max(1, int(std::lround(target.height() * ratio))));
    const QImage& composed = cache->composed(cover, pixels, ratio);
    if (composed.isNull()) return;
    // A plain copy to whole device pixels: no scaling on a repaint.
    const QTransform& onDevice = painter.deviceTransform();
    if (onDevice.type() <= QTransform::TxTranslate) {
        const QPointF corner = onDevice.map(target.topLeft());
        const QPointF snapped(std::round(corner.x()), std::round(corner.y()));
        painter.drawImage(target.topLeft() + (snapped - corner) / ratio, composed);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, composed);
    painter.restore();
}

} // namespace kavi
