// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A printer object that draws the printer steps straight onto a QPainter: the screen's back-end of
// the cover drawing (the tab, the layout window, the design parts of the preview). A place the
// steps give from the printable corner lands on the painter at origin + its inches times the
// pixels per inch. Pictures are drawn from copies scaled (and turned) to the size they show at,
// kept in a cache when one is given, so that drawing the same cover again costs no scaling.
#include "platform/print/printer.h"

#include <QImage>
#include <QPointF>
#include <QRectF>

#include <cstddef>
#include <vector>

class QPainter;

namespace kavi {

// Scaled copies of pictures, by the picture, the part of it, the size and the quarter turns.
class ScaledPictures {
public:
    // The part `source` of the picture turned by quarter turns clockwise and scaled to `size` pixels,
    // transparent where the picture is.
    const QImage& copyOf(const QImage& picture, const QRectF& source, QSize size, int quarterTurns);

private:
    struct Entry {
        qint64 key;
        QRectF source;
        QSize size;
        int quarterTurns;
        QImage copy;
    };
    static constexpr std::size_t kKept = 16;
    std::vector<Entry> entries_; // the most recently used last
};

// The same, made afresh each time.
QImage scaledCopy(const QImage& picture, const QRectF& source, QSize size, int quarterTurns);

class PainterPrinter final : public PrinterObject {
public:
    PainterPrinter(QPainter& painter, QPointF origin, double pixelsPerInchX, double pixelsPerInchY,
                   ScaledPictures* cache = nullptr);

    bool setFollowDefault(bool) override { return true; }
    bool setPaperSize(Paper) override { return true; }
    bool setOrientation(Orientation) override { return true; }
    Paper paperSize() const override { return Paper::Letter; }
    Orientation orientation() const override { return Orientation::Portrait; }
    bool drawPicture(const QImage& picture, const LengthRect& at) override;
    bool drawClippedPicture(const QImage& picture, const LengthRect& at, const LengthRect& clip) override;
    bool drawTranslucentPicture(const QImage& picture, const LengthRect& at) override;
    bool drawTextOutlines(const CoverTextOutlines& text, const LengthRect& cover, LengthSize coverSize) override;
    bool fillArea(const LengthRect& area, const AreaFill& fill) override;
    bool drawLaidPicture(const QImage& picture, const QByteArray& jpeg, const LaidPicture& laid) override;
    bool drawClippedOutlines(const CoverTextOutlines& text, const LengthRect& cover, LengthSize coverSize,
                             const LengthRect& clip) override;
    bool newPage() override { return true; }
    bool endDocument() override { return true; }
    void printNextJobToFile(const QString&) override {}
    std::optional<LengthRect> printableArea(Paper, Orientation) override { return std::nullopt; }
    QString nextJobPrinter() override { return {}; }
    bool drawLine(LengthPoint from, LengthPoint to, Length width) override;
    void setCopies(int) override {}

    // A place from the printable corner on the painter.
    QRectF onPainter(const LengthRect& r) const;
    QPointF onPainter(LengthPoint p) const;

private:
    bool drawOutlines(const CoverTextOutlines& text, const QRectF& cover, LengthSize coverSize, const QRectF& clip);
    bool drawCopy(const QImage& picture, const QRectF& source, const QRectF& target, int quarterTurns);

    QPainter& painter_;
    QPointF origin_;
    double ppiX_, ppiY_;
    ScaledPictures* cache_;
};

} // namespace kavi
