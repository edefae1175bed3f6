// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printer object: the application-wide handle on the system printer. Positions and sizes are
// lengths from the top-left corner of the printable area. Paper size and orientation are settings
// that persist from one job to the next. A job starts with the first drawing or new page and is
// handed to the spooler at end document.
#include "covers/disc_page.h"
#include "covers/length.h"
#include "covers/paper.h"
#include "covers/text_outlines.h"
#include "formats/pdf/pdf_document.h"
#include "platform/print/cups_job.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace kavi {

class PrinterSystem;

// A point or rectangle on the sheet as the printer object takes it: measured from the corner of the
// printable area that lies at printable.
constexpr LengthPoint fromPrintableCorner(LengthPoint onSheet, const LengthRect& printable) {
    return {onSheet.x - printable.left, onSheet.y - printable.top};
}
constexpr LengthRect fromPrintableCorner(const LengthRect& onSheet, const LengthRect& printable) {
    return {onSheet.left - printable.left, onSheet.top - printable.top, onSheet.width, onSheet.height};
}

// How a rectangle of a cover's design is filled: one colour, or (with an end colour) a linear
// gradient from `colour` at `from` to `endColour` at `to`, flat beyond them. Points are from the
// printable area's corner, like every place the printer object takes.
struct AreaFill {
    std::uint32_t colour = 0xFFFFFF; // 0xRRGGBB
    std::optional<std::uint32_t> endColour;
    LengthPoint from, to;
};

// How a picture of a cover's design lies on the page: turned by quarter turns clockwise, then
// stretched to its box, drawn with an opacity over what lies under it, and seen only inside the
// clip. Rectangles are from the printable area's corner.
struct LaidPicture {
    LengthRect box;
    int quarterTurns = 0;
    double opacity = 1;
    LengthRect clip;
};

class PrinterObject {
public:
    virtual ~PrinterObject() = default;
    // When set, each job goes to whatever printer is the system default at that moment.
    // Fails when that cannot succeed: no printer is installed, or none is the default.
    virtual bool setFollowDefault(bool follow) = 0;
    // A value cast from a code that is none of the papers (orientations) the enum names is refused,
    // changing nothing, by an object that hands the setting to a printer.
    virtual bool setPaperSize(Paper paper) = 0;
    virtual bool setOrientation(Orientation orientation) = 0;
    virtual Paper paperSize() const = 0;
    virtual Orientation orientation() const = 0;
    // Draws the whole picture stretched into the rectangle; fails for an empty picture.
    virtual bool drawPicture(const QImage& picture, const LengthRect& at) = 0;
    // The same, showing only what falls inside the clip rectangle (from the same corner).
    virtual bool drawClippedPicture(const QImage& picture, const LengthRect& at, const LengthRect& clip) = 0;
    // Draws a picture with transparent parts (cover text) over what is already on the page. An
    // object that cannot show through draws it as an ordinary picture.
    virtual bool drawTranslucentPicture(const QImage& picture, const LengthRect& at) {
        return drawPicture(picture, at);
    }
    // Draws a picture that is exactly the decoded JPEG file jpeg (its bytes as read when it was
    // picked): a printer that can carry the file itself does so; any other, and any file it cannot
    // carry, draws the picture's pixels as drawPicture does.
    virtual bool drawJpegPicture(const QImage& picture, const QByteArray& /*jpeg*/, const LengthRect& at) {
        return drawPicture(picture, at);
    }
    // Draws cover text as vector outlines over the cover lying at the rectangle (from the same
    // corner), whose real size is coverSize, cut off at the cover's edges. False, with nothing
    // drawn, when the printer object cannot draw outlines: the text then comes as pictures.
    virtual bool drawTextOutlines(const CoverTextOutlines& /*text*/, const LengthRect& /*cover*/,
                                  LengthSize /*coverSize*/) {
        return false;
    }
    // Draws the picture (an unedited JPEG file's bytes too, as drawJpegPicture takes them; else empty)
    // stretched into the rectangle, showing only inside the ring of a disc label (from the same
    // corner): nothing outside its outer circle, in its hole or outside its cut box. False, with nothing
    // drawn, where the printer object cannot clip to a ring.
    virtual bool drawPictureInRing(const QImage& /*picture*/, const QByteArray& /*jpeg*/, const LengthRect& /*at*/,
                                   const RingOnSheet& /*ring*/) {
        return false;
    }
    // Fills the rectangle (from the printable corner) over what is drawn before. False, with
    // nothing drawn, where the printer object cannot.
    virtual bool fillArea(const LengthRect& /*area*/, const AreaFill& /*fill*/) { return false; }
    // Draws a picture as a design lays it, its transparent parts showing what lies under it; an
    // unedited JPEG file's bytes (else empty) as drawJpegPicture takes them. False, with nothing
    // drawn, for an empty picture or box, or where the printer object cannot.
    virtual bool drawLaidPicture(const QImage& /*picture*/, const QByteArray& /*jpeg*/, const LaidPicture& /*laid*/) {
        return false;
    }
    // Draws outlines (points on a cover whose real size is coverSize) over the cover lying at
    // `cover`, showing only inside `clip` (both from the printable corner): track lists and end
    // strips, with their words as drawTextOutlines gives them. False, with nothing drawn, where the
    // printer object cannot.
    virtual bool drawClippedOutlines(const CoverTextOutlines& /*text*/, const LengthRect& /*cover*/,
                                     LengthSize /*coverSize*/, const LengthRect& /*clip*/) {
        return false;
    }
    // Pages begun from now on are portrait sheets of this size (label stock for a disc tray) instead of the
    // paper size's, until the job ends; none goes back to the paper size. False where the printer
    // object cannot.
    virtual bool setOwnSheetSize(std::optional<LengthSize> sheet) { return !sheet; }
    // Where the next job's pages of a sheet of that own size can be printed (see printableArea).
    virtual std::optional<LengthRect> printableAreaOfSheet(LengthSize /*sheet*/) { return std::nullopt; }
    virtual bool newPage() = 0;
    virtual bool endDocument() = 0;
    // The next job is written as a PDF file at real size instead of going to a printer.
    virtual void printNextJobToFile(const QString& pdfPath) = 0;
    // The next job goes to the named queue instead of the default printer, that job only, and no
    // default printer changes for it; the queue's printable area applies to it. An empty name
    // sends the next job where it would have gone. False (nothing changes) for a printer object that
    // cannot choose a queue, and while a job is being drawn.
    virtual bool printNextJobToQueue(const QString& /*queue*/) { return false; }

    // Where the next job's pages of that paper and orientation can be printed, on the sheet as the
    // page is drawn; the whole sheet for a PDF file; none when the printer cannot be asked. Asking
    // changes no setting.
    virtual std::optional<LengthRect> printableArea(Paper paper, Orientation orientation) = 0;
    // The queue the next job goes to; empty for a PDF file or when there is none.
    virtual QString nextJobPrinter() = 0;
    // Draws a black line of the given width on the current page, from the printable area's corner.
    virtual bool drawLine(LengthPoint from, LengthPoint to, Length width) = 0;
    // How many copies of the next job the printer makes (1 unless set); it goes back to 1 after the job.
    virtual void setCopies(int copies) = 0;
};

// Printer margins in points, as left, top, right, bottom.
struct Margins {
    double left = 0, top = 0, right = 0, bottom = 0;
};

// The printable margins of a landscape page from those of the same paper in portrait: the page is
// turned a quarter turn, so the landscape top-left corner lies at the portrait bottom-left.
Margins turnedForLandscape(const Margins& portrait);

// Jobs for CUPS, written as PDF by our own writer: each picture goes in at its own pixel size,
// losslessly, stretched onto its rectangle, and every job asks for no scaling. The printable area
// comes from the printer's driver through Qt.
class CupsPrinterObject final : public PrinterObject {
public:
    explicit CupsPrinterObject(PrinterSystem& printers);
    ~CupsPrinterObject() override;
    bool setFollowDefault(bool follow) override;
    bool setPaperSize(Paper paper) override;
    bool setOrientation(Orientation orientation) override;
    Paper paperSize() const override { return paper_; }
    Orientation orientation() const override { return orientation_; }
    bool drawPicture(const QImage& picture, const LengthRect& at) override;
    bool drawClippedPicture(const QImage& picture, const LengthRect& at, const LengthRect& clip) override;
    bool drawTranslucentPicture(const QImage& picture, const LengthRect& at) override;
    // The file's bytes go into the job (DCTDecode) when a PDF reader takes them as they are.
    bool drawJpegPicture(const QImage& picture, const QByteArray& jpeg, const LengthRect& at) override;
    // Outlines and invisible words in the job's PDF.
    bool drawTextOutlines(const CoverTextOutlines& text, const LengthRect& cover, LengthSize coverSize) override;
    bool newPage() override;
    bool endDocument() override;
    void printNextJobToFile(const QString& pdfPath) override;
    bool printNextJobToQueue(const QString& queue) override;
    std::optional<LengthRect> printableArea(Paper paper, Orientation orientation) override;
    QString nextJobPrinter() override;
    bool drawLine(LengthPoint from, LengthPoint to, Length width) override;
    void setCopies(int copies) override;
    // A ring clip in the job's PDF (disc labels).
    bool drawPictureInRing(const QImage& picture, const QByteArray& jpeg, const LengthRect& at,
                           const RingOnSheet& ring) override;
    bool setOwnSheetSize(std::optional<LengthSize> sheet) override;
    std::optional<LengthRect> printableAreaOfSheet(LengthSize sheet) override;
    // A PDF fill or axial shading, pictures with soft masks, turns and opacity, and clipped outlines.
    bool fillArea(const LengthRect& area, const AreaFill& fill) override;
    bool drawLaidPicture(const QImage& picture, const QByteArray& jpeg, const LaidPicture& laid) override;
    bool drawClippedOutlines(const CoverTextOutlines& text, const LengthRect& cover, LengthSize coverSize,
                             const LengthRect& clip) override;

private:
    bool placePicture(const QImage& picture, const LengthRect& at, const std::optional<LengthRect>& clip);
    // A rectangle from the current page's printable corner, in the PDF's points from the sheet's corner.
    pdf::Document::ClipRect onPage(const LengthRect& r) const;
    bool ensureJob();
    bool beginPage();
    bool sendJob();
    void discardJob();

    PrinterSystem& printers_;
    bool followDefault_ = false;
    QString printerName_;
    QString pdfPath_;
    QString nextQueue_; // the queue of the next job when one was named for it
    std::optional<QString> printerBeforeQueue_; // the printer to go back to once the named queue's job ended
    Paper paper_ = Paper::Letter;
    Orientation orientation_ = Orientation::Portrait;
    std::optional<LengthSize> ownSheet_; // a sheet of its own size instead of the paper's
    std::unique_ptr<pdf::Document> job_;
    QString jobPdfPath_; // where the current job goes when it is written to a file
    JobOptions jobOptions_; // the paper and orientation of the job's first page
    std::vector<QImage> pictures_; // the current job's pictures, kept until it is written
    std::vector<QByteArray> jpegs_; // the current job's JPEG files, kept until it is written
    Margins origin_; // printable margins of the current page, turned for its orientation
    int copies_ = 1;
};

} // namespace kavi
