// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A printer object that draws a prepared job's pages for the screen: each picture becomes a copy at
// the size it has on the screen at the given resolution, the text is filled from the same outlines
// the PDF carries, and the marks are kept as lines. The print preview sends its job here through
// the same steps the printer gets, so the two cannot disagree.
#include "covers/page_render.h"
#include "platform/print/printer.h"

#include <QImage>

#include <functional>
#include <vector>

namespace kavi {

// A picture (or a cover's text) at its screen size, and where it lies on the sheet.
struct PreviewPicture {
    QImage copy;
    LengthRect at;
};

struct PreviewLine {
    LengthPoint from, to;
    Length width;
};

// What one page shows, in drawing order.
struct PreviewPage {
    std::vector<PreviewPicture> pictures;
    std::vector<PreviewLine> lines;
};

class ScreenPagePrinter final : public PrinterObject {
public:
    // pages: the job's laid-out pages, whose printable corners the steps count from.
    ScreenPagePrinter(const std::vector<RenderedPage>& pages, double pixelsPerInch);

    std::vector<PreviewPage> takePages() { return std::move(shown_); }

    bool setFollowDefault(bool) override { return true; }
    bool setPaperSize(Paper paper) override;
    bool setOrientation(Orientation orientation) override;
    Paper paperSize() const override { return paper_; }
    Orientation orientation() const override { return orientation_; }
    bool drawPicture(const QImage& picture, const LengthRect& at) override;
    bool drawClippedPicture(const QImage& picture, const LengthRect& at, const LengthRect& clip) override;
    bool drawTranslucentPicture(const QImage& picture, const LengthRect& at) override;
    bool drawTextOutlines(const CoverTextOutlines& text, const LengthRect& cover, LengthSize coverSize) override;
    bool newPage() override;
    bool endDocument() override { return true; }
    void printNextJobToFile(const QString&) override {}
    std::optional<LengthRect> printableArea(Paper, Orientation) override { return std::nullopt; }
    QString nextJobPrinter() override { return {}; }
    bool drawLine(LengthPoint from, LengthPoint to, Length width) override;
    void setCopies(int) override {}
    // A design's parts become copies of just the area they cover, drawn by the screen's painter.
    bool fillArea(const LengthRect& area, const AreaFill& fill) override;
    bool drawLaidPicture(const QImage& picture, const QByteArray& jpeg, const LaidPicture& laid) override;
    bool drawClippedOutlines(const CoverTextOutlines& text, const LengthRect& cover, LengthSize coverSize,
                             const LengthRect& clip) override;

private:
    // A transparent copy of `area` (from the printable corner) at the screen's resolution, with
    // `draw` painting on it from the same corner; kept when it drew something.
    bool addDrawnCopy(const LengthRect& area, const std::function<bool(PrinterObject&)>& draw);
    // A rectangle or point from the current page's printable corner, on the sheet.
    LengthRect onSheet(const LengthRect& fromCorner) const;
    LengthPoint onSheet(LengthPoint fromCorner) const;
    PreviewPage& current();
    bool addCopy(const QImage& picture, const QRectF& source, const LengthRect& at, bool translucent);

    const std::vector<RenderedPage>& pages_;
    double ppi_;
    std::size_t page_ = 0;
    Paper paper_ = Paper::Letter;
    Orientation orientation_ = Orientation::Portrait;
    std::vector<PreviewPage> shown_;
};

} // namespace kavi
