// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/screen_page_printer.h"

#include "output/print/painter_printer.h"
#include "render/cover_text_layout.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kavi {

ScreenPagePrinter::ScreenPagePrinter(const std::vector<RenderedPage>& pages, double pixelsPerInch)
    : pages_(pages), ppi_(pixelsPerInch) {}

bool ScreenPagePrinter::setPaperSize(Paper paper) {
    paper_ = paper;
    return true;
}

bool ScreenPagePrinter::setOrientation(Orientation orientation) {
    orientation_ = orientation;
    return true;
}

PreviewPage& ScreenPagePrinter::current() {
    if (shown_.size() <= page_) shown_.resize(page_ + 1);
    return shown_[page_];
}

LengthPoint ScreenPagePrinter::onSheet(LengthPoint fromCorner) const {
    const LengthRect corner = page_ < pages_.size() ? pages_[page_].printable : LengthRect{};
    return {corner.left + fromCorner.x, corner.top + fromCorner.y};
}

LengthRect ScreenPagePrinter::onSheet(const LengthRect& fromCorner) const {
    const LengthPoint at = onSheet(LengthPoint{fromCorner.left, fromCorner.top});
    return {at.x, at.y, fromCorner.width, fromCorner.height};
}

// The source part of the picture, as large as it shows on the screen at 100%; a smaller part keeps
// its own pixels. One filtered draw: about twice as fast as QImage::scaled's smooth path on a
// 12-megapixel picture, and at screen size the difference does not show.
bool ScreenPagePrinter::addCopy(const QImage& picture, const QRectF& source, const LengthRect& at, bool translucent) {
    if (picture.isNull() || source.isEmpty() || at.width <= Length() || at.height <= Length()) return false;
    const double wide = at.width.inches() * ppi_, high = at.height.inches() * ppi_;
    if (!translucent && source == QRectF(picture.rect()) && picture.width() <= wide && picture.height() <= high &&
        !picture.hasAlphaChannel()) {
        current().pictures.push_back({picture, at});
        return true;
    }
    const QSize size(std::max(1, int(std::ceil(std::min(wide, source.width())))),
                     std::max(1, int(std::ceil(std::min(high, source.height())))));
    QImage copy(size, translucent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (copy.isNull()) return false;
    copy.fill(translucent ? Qt::transparent : Qt::white); // white: the paper under transparent parts
    QPainter painter(&copy);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(size)), picture, source);
    painter.end();
    current().pictures.push_back({std::move(copy), at});
    return true;
}

bool ScreenPagePrinter::drawPicture(const QImage& picture, const LengthRect& at) {
    return addCopy(picture, QRectF(picture.rect()), onSheet(at), false);
}

bool ScreenPagePrinter::drawClippedPicture(const QImage& picture, const LengthRect& at, const LengthRect& clip) {
    if (picture.isNull() || at.width <= Length() || at.height <= Length()) return false;
    // Only the part inside the clip is copied, from the matching part of the picture.
    const LengthRect whole = onSheet(at);
    const LengthPoint clipCorner = onSheet(LengthPoint{});
    const Length left = std::max(whole.left, clipCorner.x + clip.left);
    const Length top = std::max(whole.top, clipCorner.y + clip.top);
    const Length right = std::min(whole.right(), clipCorner.x + clip.left + clip.width);
    const Length bottom = std::min(whole.bottom(), clipCorner.y + clip.top + clip.height);
    if (right <= left || bottom <= top) return false;
    const double sx = picture.width() / whole.width.inches(), sy = picture.height() / whole.height.inches();
    const QRectF source((left - whole.left).inches() * sx, (top - whole.top).inches() * sy,
                        (right - left).inches() * sx, (bottom - top).inches() * sy);
    return addCopy(picture, source, {left, top, right - left, bottom - top}, false);
}

bool ScreenPagePrinter::drawTranslucentPicture(const QImage& picture, const LengthRect& at) {
    return addCopy(picture, QRectF(picture.rect()), onSheet(at), true);
}

bool ScreenPagePrinter::drawTextOutlines(const CoverTextOutlines& text, const LengthRect& cover, LengthSize coverSize) {
    const LengthRect at = onSheet(cover);
    if (text.empty() || coverSize.width <= Length() || coverSize.height <= Length()) return false;
    const QSize size(std::max(1, int(std::ceil(at.width.inches() * ppi_))),
                     std::max(1, int(std::ceil(at.height.inches() * ppi_))));
    QImage copy(size, QImage::Format_ARGB32_Premultiplied);
    if (copy.isNull()) return false;
    copy.fill(Qt::transparent);
    QPainter painter(&copy);
    // The copy is the cover (cut off at its edges); the outlines are in the cover's points.
    painter.scale(size.width() / coverSize.width.points(), size.height() / coverSize.height.points());
    paintTextOutlines(painter, text);
    painter.end();
    current().pictures.push_back({std::move(copy), at});
    return true;
}

bool ScreenPagePrinter::drawLine(LengthPoint from, LengthPoint to, Length width) {
    current().lines.push_back({onSheet(from), onSheet(to), width});
    return true;
}

bool ScreenPagePrinter::newPage() {
    current();
    ++page_;
    return true;
}

namespace {

LengthRect intersection(const LengthRect& a, const LengthRect& b) {
    const Length left = std::max(a.left, b.left), top = std::max(a.top, b.top);
    const Length right = std::min(a.right(), b.right()), bottom = std::min(a.bottom(), b.bottom());
    return {left, top, std::max(Length(), right - left), std::max(Length(), bottom - top)};
}

} // namespace

bool ScreenPagePrinter::addDrawnCopy(const LengthRect& area, const std::function<bool(PrinterObject&)>& draw) {
    if (area.width <= Length() || area.height <= Length()) return false;
    const QSize size(std::max(1, int(std::ceil(area.width.inches() * ppi_))),
                     std::max(1, int(std::ceil(area.height.inches() * ppi_))));
    QImage copy(size, QImage::Format_ARGB32_Premultiplied);
    if (copy.isNull()) return false;
    copy.fill(Qt::transparent);
    // The copy's pixels span the area exactly, so its scale is a little above the screen's.
    const double ppiX = size.width() / area.width.inches(), ppiY = size.height() / area.height.inches();
    QPainter painter(&copy);
    PainterPrinter onCopy(painter, QPointF(-area.left.inches() * ppiX, -area.top.inches() * ppiY), ppiX, ppiY);
    const bool drawn = draw(onCopy);
    painter.end();
    if (drawn) current().pictures.push_back({std::move(copy), onSheet(area)});
    return drawn;
}

bool ScreenPagePrinter::fillArea(const LengthRect& area, const AreaFill& fill) {
    return addDrawnCopy(area, [&](PrinterObject& on) { return on.fillArea(area, fill); });
}

bool ScreenPagePrinter::drawLaidPicture(const QImage& picture, const QByteArray& jpeg, const LaidPicture& laid) {
    if (picture.isNull()) return false;
    return addDrawnCopy(intersection(laid.box, laid.clip),
                        [&](PrinterObject& on) { return on.drawLaidPicture(picture, jpeg, laid); });
}

bool ScreenPagePrinter::drawClippedOutlines(const CoverTextOutlines& text, const LengthRect& cover,
                                            LengthSize coverSize, const LengthRect& clip) {
    if (text.empty()) return false;
    return addDrawnCopy(intersection(cover, clip),
                        [&](PrinterObject& on) { return on.drawClippedOutlines(text, cover, coverSize, clip); });
}

} // namespace kavi
