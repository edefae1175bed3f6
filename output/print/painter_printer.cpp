// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/painter_printer.h"

#include "render/cover_text_layout.h"

#include <QLinearGradient>
#include <QPaintDevice>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace kavi {

namespace {

QColor colourOf(std::uint32_t rgb) { return QColor(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)); }

double devicePixelRatio(const QPainter& painter) {
    return painter.device() ? std::max(1.0, painter.device()->devicePixelRatioF()) : 1.0;
}

} // namespace

QImage scaledCopy(const QImage& picture, const QRectF& source, QSize size, int quarterTurns) {
    const bool across = quarterTurns % 2 != 0;
    const QSize upright = across ? size.transposed() : size;
    if (picture.isNull() || source.isEmpty() || upright.isEmpty()) return {};
    QImage copy(upright, picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (copy.isNull()) return copy;
    copy.fill(Qt::transparent);
    {
        // One filtered draw: at screen size it looks as smooth as a slower smooth scaling.
        QPainter painter(&copy);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(QPointF(0, 0), QSizeF(upright)), picture, source);
    }
    if (quarterTurns % 4 != 0) copy = copy.transformed(QTransform().rotate(90.0 * (quarterTurns % 4)));
    return copy;
}

const QImage& ScaledPictures::copyOf(const QImage& picture, const QRectF& source, QSize size, int quarterTurns) {
    const qint64 key = picture.cacheKey();
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return e.key == key && e.source == source && e.size == size && e.quarterTurns == quarterTurns;
    });
    if (found != entries_.end()) {
        std::rotate(found, found + 1, entries_.end());
        return entries_.back().copy;
    }
    if (entries_.size() >= kKept) entries_.erase(entries_.begin());
    entries_.push_back({key, source, size, quarterTurns, scaledCopy(picture, source, size, quarterTurns)});
    return entries_.back().copy;
}

PainterPrinter::PainterPrinter(QPainter& painter, QPointF origin, double pixelsPerInchX, double pixelsPerInchY,
                               ScaledPictures* cache)
    : painter_(painter), origin_(origin), ppiX_(pixelsPerInchX), ppiY_(pixelsPerInchY), cache_(cache) {}

QPointF PainterPrinter::onPainter(LengthPoint p) const {
    return {origin_.x() + p.x.inches() * ppiX_, origin_.y() + p.y.inches() * ppiY_};
}

QRectF PainterPrinter::onPainter(const LengthRect& r) const {
    return {onPainter(LengthPoint{r.left, r.top}), QSizeF(r.width.inches() * ppiX_, r.height.inches() * ppiY_)};
}

// The picture drawn from a copy no larger than it shows on the device (nor than its own pixels).
bool PainterPrinter::drawCopy(const QImage& picture, const QRectF& source, const QRectF& target, int quarterTurns) {
    if (picture.isNull() || source.isEmpty() || target.isEmpty()) return false;
    const double ratio = devicePixelRatio(painter_);
    const bool across = quarterTurns % 2 != 0;
    const double sourceWide = across ? source.height() : source.width();
    const double sourceHigh = across ? source.width() : source.height();
    const QSize size(std::max(1, int(std::ceil(std::min(target.width() * ratio, sourceWide)))),
                     std::max(1, int(std::ceil(std::min(target.height() * ratio, sourceHigh)))));
    QImage made;
    const QImage& copy = cache_ ? cache_->copyOf(picture, source, size, quarterTurns)
                                : (made = scaledCopy(picture, source, size, quarterTurns));
    if (copy.isNull()) return false;
    painter_.save();
    painter_.setRenderHint(QPainter::SmoothPixmapTransform);
    painter_.drawImage(target, copy);
    painter_.restore();
    return true;
}

bool PainterPrinter::drawPicture(const QImage& picture, const LengthRect& at) {
    return drawCopy(picture, QRectF(picture.rect()), onPainter(at), 0);
}

bool PainterPrinter::drawClippedPicture(const QImage& picture, const LengthRect& at, const LengthRect& clip) {
    painter_.save();
    painter_.setClipRect(onPainter(clip), Qt::IntersectClip);
    const bool drawn = drawPicture(picture, at);
    painter_.restore();
    return drawn;
}

bool PainterPrinter::drawTranslucentPicture(const QImage& picture, const LengthRect& at) {
    return drawPicture(picture, at);
}

bool PainterPrinter::drawOutlines(const CoverTextOutlines& text, const QRectF& cover, LengthSize coverSize,
                                  const QRectF& clip) {
    if (text.empty() || cover.isEmpty() || clip.isEmpty() || coverSize.width <= Length() ||
        coverSize.height <= Length())
        return false;
    painter_.save();
    painter_.setClipRect(clip, Qt::IntersectClip);
    painter_.translate(cover.topLeft());
    painter_.scale(cover.width() / coverSize.width.points(), cover.height() / coverSize.height.points());
    paintTextOutlines(painter_, text);
    painter_.restore();
    return true;
}

bool PainterPrinter::drawTextOutlines(const CoverTextOutlines& text, const LengthRect& at, LengthSize coverSize) {
    const QRectF cover = onPainter(at);
    return drawOutlines(text, cover, coverSize, cover);
}

bool PainterPrinter::drawClippedOutlines(const CoverTextOutlines& text, const LengthRect& cover, LengthSize coverSize,
                                         const LengthRect& clip) {
    return drawOutlines(text, onPainter(cover), coverSize, onPainter(clip));
}

bool PainterPrinter::fillArea(const LengthRect& area, const AreaFill& fill) {
    const QRectF rect = onPainter(area);
    if (rect.isEmpty()) return false;
    if (!fill.endColour) {
        painter_.fillRect(rect, colourOf(fill.colour));
        return true;
    }
    QLinearGradient gradient(onPainter(fill.from), onPainter(fill.to));
    gradient.setColorAt(0, colourOf(fill.colour));
    gradient.setColorAt(1, colourOf(*fill.endColour));
    gradient.setSpread(QGradient::PadSpread);
    painter_.fillRect(rect, gradient);
    return true;
}

bool PainterPrinter::drawLaidPicture(const QImage& picture, const QByteArray&, const LaidPicture& laid) {
    const QRectF clip = onPainter(laid.clip);
    if (picture.isNull() || clip.isEmpty()) return false;
    painter_.save();
    painter_.setClipRect(clip, Qt::IntersectClip);
    painter_.setOpacity(painter_.opacity() * std::clamp(laid.opacity, 0.0, 1.0));
    const bool drawn =
        drawCopy(picture, QRectF(picture.rect()), onPainter(laid.box), ((laid.quarterTurns % 4) + 4) % 4);
    painter_.restore();
    return drawn;
}

bool PainterPrinter::drawLine(LengthPoint from, LengthPoint to, Length width) {
    if (width <= Length()) return false;
    painter_.save();
    painter_.setPen(QPen(Qt::black, width.inches() * ppiX_, Qt::SolidLine, Qt::FlatCap));
    painter_.drawLine(onPainter(from), onPainter(to));
    painter_.restore();
    return true;
}

} // namespace kavi
