// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/print/printer.h"

#include "formats/pdf/transparent_pixels.h"
#include "platform/files/atomic_file.h"
#include "platform/print/cups_call.h"
#include "platform/print/cups_printers.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <new>
#include <optional>
#include <utility>

namespace kavi {

namespace {

const QString kJobTitle = QStringLiteral("Kavi covers");

QPageSize pageSizeOf(Paper paper) {
    switch (paper) {
    case Paper::Legal: return QPageSize(QPageSize::Legal);
    case Paper::A4: return QPageSize(QPageSize::A4);
    case Paper::Letter: break;
    }
    return QPageSize(QPageSize::Letter);
}

// The media name CUPS knows the paper by.
const char* mediaOf(Paper paper) {
    switch (paper) {
    case Paper::Legal: return "Legal";
    case Paper::A4: return "A4";
    case Paper::Letter: break;
    }
    return "Letter";
}

// The printable margins of a portrait page of the given paper on the named printer, as its driver
// states them; none when Qt does not know the printer (it has gone since it was chosen). Qt asks
// the print service, so this runs on a thread of its own with a bound on the wait.
std::optional<Margins> askPortraitMargins(const QString& printerName, Paper paper) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(printerName);
    if (printer.outputFormat() != QPrinter::NativeFormat) return std::nullopt;
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageSize(pageSizeOf(paper));
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Point);
    const QMarginsF m = layout.minimumMargins();
    return Margins{m.left(), m.top(), m.right(), m.bottom()};
}

// The same with the wait bounded: none when the service does not answer in time.
std::optional<Margins> portraitMargins(const QString& printerName, Paper paper) {
    return callBounded<std::optional<Margins>>([printerName, paper] { return askPortraitMargins(printerName, paper); })
        .value_or(std::nullopt);
}

// The printable margins of a portrait sheet of its own size on the named printer, bounded as above.
std::optional<Margins> ownSheetMargins(const QString& printerName, LengthSize sheet) {
    return callBounded<std::optional<Margins>>([printerName, sheet]() -> std::optional<Margins> {
               QPrinter printer(QPrinter::HighResolution);
               printer.setPrinterName(printerName);
               if (printer.outputFormat() != QPrinter::NativeFormat) return std::nullopt;
               printer.setPageOrientation(QPageLayout::Portrait);
               printer.setPageSize(QPageSize(QSizeF(sheet.width.points(), sheet.height.points()), QPageSize::Point, {},
                                             QPageSize::ExactMatch));
               QPageLayout layout = printer.pageLayout();
               layout.setUnits(QPageLayout::Point);
               const QMarginsF m = layout.minimumMargins();
               return Margins{m.left(), m.top(), m.right(), m.bottom()};
           })
        .value_or(std::nullopt);
}

// The media CUPS takes for a sheet of its own size, in points.
QByteArray customMedia(LengthSize sheet) {
    return "Custom." + QByteArray::number(sheet.width.points(), 'f', 2) + "x" +
        QByteArray::number(sheet.height.points(), 'f', 2);
}

// The picture as 32-bit opaque pixels. Transparent parts become white, as they look on paper.
QImage opaqueRgb32(const QImage& picture) {
    if (picture.format() == QImage::Format_RGB32) return picture; // shared, not copied
    if (!picture.hasAlphaChannel()) return picture.convertToFormat(QImage::Format_RGB32);
    QImage opaque(picture.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, picture);
    return opaque;
}

} // namespace

Margins turnedForLandscape(const Margins& portrait) {
    return {portrait.bottom, portrait.left, portrait.top, portrait.right};
}

namespace {

// The printable margins of a page as it is drawn. They are read for the portrait page and turned
// by hand for landscape, because Qt reports the portrait margins for both orientations.
std::optional<Margins> pageMargins(const QString& printerName, Paper paper, Orientation orientation) {
    const auto portrait = portraitMargins(printerName, paper);
    if (!portrait) return std::nullopt;
    return orientation == Orientation::Landscape ? turnedForLandscape(*portrait) : *portrait;
}

} // namespace

CupsPrinterObject::CupsPrinterObject(PrinterSystem& printers) : printers_(printers) {}

CupsPrinterObject::~CupsPrinterObject() = default; // an unfinished job is never sent

bool CupsPrinterObject::setFollowDefault(bool follow) {
    if (follow && deviceNameOfEntry(printers_.defaultPrinterEntry()).isEmpty()) return false;
    followDefault_ = follow;
    return true;
}

// The enums name every paper and orientation the printer knows; a value cast from any other code is
// refused, as the printer's codes other than those are.
bool CupsPrinterObject::setPaperSize(Paper paper) {
    if (!paperOfCode(printerCode(paper))) return false;
    paper_ = paper;
    return true;
}

bool CupsPrinterObject::setOrientation(Orientation orientation) {
    if (!orientationOfCode(printerCode(orientation))) return false;
    orientation_ = orientation;
    return true;
}

void CupsPrinterObject::printNextJobToFile(const QString& pdfPath) {
    pdfPath_ = pdfPath;
    nextQueue_.clear();
}

bool CupsPrinterObject::printNextJobToQueue(const QString& queue) {
    if (job_) return false;
    if (!queue.isEmpty()) pdfPath_.clear();
    nextQueue_ = queue;
    return true;
}

QString CupsPrinterObject::nextJobPrinter() {
    if (!pdfPath_.isEmpty()) return {};
    if (!nextQueue_.isEmpty()) return nextQueue_;
    if (followDefault_ || printerName_.isEmpty()) return deviceNameOfEntry(printers_.defaultPrinterEntry());
    return printerName_;
}

std::optional<LengthRect> CupsPrinterObject::printableArea(Paper paper, Orientation orientation) {
    const LengthSize sheet = sheetSize(paper, orientation);
    if (!pdfPath_.isEmpty()) return LengthRect{Length(), Length(), sheet.width, sheet.height};
    const QString printer = nextJobPrinter();
    if (printer.isEmpty()) return std::nullopt;
    const auto margins = pageMargins(printer, paper, orientation);
    if (!margins) return std::nullopt;
    const Margins& m = *margins;
    return LengthRect{Length::fromPoints(m.left), Length::fromPoints(m.top),
                      sheet.width - Length::fromPoints(m.left + m.right),
                      sheet.height - Length::fromPoints(m.top + m.bottom)};
}

void CupsPrinterObject::setCopies(int copies) { copies_ = std::max(1, copies); }

// Starts a page with the paper and orientation set now, and works out where its printable area
// begins. A PDF file has no margins.
bool CupsPrinterObject::beginPage() {
    origin_ = {};
    if (jobPdfPath_.isEmpty()) {
        const auto margins =
            ownSheet_ ? ownSheetMargins(printerName_, *ownSheet_) : pageMargins(printerName_, paper_, orientation_);
        if (!margins) return false;
        origin_ = *margins;
    }
    const LengthSize sheet = ownSheet_.value_or(sheetSize(paper_, orientation_));
    job_->beginPage(sheet.width.points(), sheet.height.points());
    return true;
}

bool CupsPrinterObject::ensureJob() {
    if (job_) return true;
    job_ = std::make_unique<pdf::Document>();
    if (!pdfPath_.isEmpty()) {
        jobPdfPath_ = pdfPath_;
        pdfPath_.clear();
        if (!QFileInfo(QFileInfo(jobPdfPath_).absolutePath()).isDir()) { // nowhere to write it
            discardJob();
            return false;
        }
    } else {
        if (!nextQueue_.isEmpty()) {
            printerBeforeQueue_ = printerName_;
            printerName_ = nextQueue_;
            nextQueue_.clear();
        } else if (followDefault_ || printerName_.isEmpty()) {
            printerName_ = deviceNameOfEntry(printers_.defaultPrinterEntry());
        }
        if (printerName_.isEmpty()) {
            discardJob();
            return false;
        }
        // The paper, and no scaling: the cover is already at real size.
        jobOptions_ = {{"media", ownSheet_ ? customMedia(*ownSheet_) : QByteArray(mediaOf(paper_))},
                       {"print-scaling", "none"}};
        // A landscape job says so in the standard attribute (4: landscape; portrait sends nothing).
        // The PDF's pages are already landscape-shaped; CUPS's PDF filter then marks the page as
        // turned onto the portrait sheet once, as it would on its own, and never turns it again.
        if (orientation_ == Orientation::Landscape && !ownSheet_) jobOptions_.push_back({"orientation-requested", "4"});
        if (copies_ > 1) jobOptions_.push_back({"copies", QByteArray::number(copies_)});
    }
    if (!beginPage()) {
        discardJob();
        return false;
    }
    return true;
}

void CupsPrinterObject::discardJob() {
    if (printerBeforeQueue_) printerName_ = *std::exchange(printerBeforeQueue_, std::nullopt);
    job_.reset();
    pictures_.clear();
    jpegs_.clear();
    jobPdfPath_.clear();
    jobOptions_.clear();
}

pdf::Document::ClipRect CupsPrinterObject::onPage(const LengthRect& r) const {
    return {origin_.left + r.left.points(), origin_.top + r.top.points(), r.width.points(), r.height.points()};
}

bool CupsPrinterObject::drawPicture(const QImage& picture, const LengthRect& at) {
    return placePicture(picture, at, std::nullopt);
}

bool CupsPrinterObject::drawClippedPicture(const QImage& picture, const LengthRect& at, const LengthRect& clip) {
    return placePicture(picture, at, clip);
}

bool CupsPrinterObject::placePicture(const QImage& picture, const LengthRect& at,
                                     const std::optional<LengthRect>& clip) {
    if (picture.isNull() || at.width <= Length() || at.height <= Length()) return false;
    if (clip && (clip->width <= Length() || clip->height <= Length())) return false;
    if (!ensureJob()) return false;
    pictures_.push_back(opaqueRgb32(picture));
    const QImage& pixels = pictures_.back();
    const pdf::BgrxPixels bgrx{pixels.constBits(), pixels.width(), pixels.height(), pixels.bytesPerLine()};
    const pdf::Document::ClipRect r = onPage(at);
    if (clip) job_->drawPicture(bgrx, r.x, r.y, r.width, r.height, onPage(*clip));
    else job_->drawPicture(bgrx, r.x, r.y, r.width, r.height);
    return true;
}

bool CupsPrinterObject::drawTranslucentPicture(const QImage& picture, const LengthRect& at) {
    if (picture.isNull() || at.width <= Length() || at.height <= Length()) return false;
    if (!ensureJob()) return false;
    pictures_.push_back(picture.convertToFormat(QImage::Format_ARGB32)); // coverage in the fourth byte
    const QImage& pixels = pictures_.back();
    const pdf::Document::ClipRect r = onPage(at);
    job_->drawTranslucentPicture({pixels.constBits(), pixels.width(), pixels.height(), pixels.bytesPerLine()}, r.x, r.y,
                                 r.width, r.height);
    return true;
}

bool CupsPrinterObject::drawJpegPicture(const QImage& picture, const QByteArray& jpeg, const LengthRect& at) {
    if (picture.isNull() || at.width <= Length() || at.height <= Length()) return false;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(jpeg.constData());
    const std::optional<raster::JpegFrame> frame = raster::readJpegFrame(bytes, std::size_t(jpeg.size()));
    if (!frame || !raster::isPortableJpeg(*frame)) return drawPicture(picture, at);
    if (!ensureJob()) return false;
    jpegs_.push_back(jpeg); // shares the bytes: the pointer below stays valid while the job holds them
    const pdf::Document::ClipRect r = onPage(at);
    return job_->drawJpeg(bytes, std::size_t(jpeg.size()), r.x, r.y, r.width, r.height);
}

bool CupsPrinterObject::drawTextOutlines(const CoverTextOutlines& text, const LengthRect& cover, LengthSize coverSize) {
    if (text.empty() || cover.width <= Length() || cover.height <= Length() || coverSize.width <= Length() ||
        coverSize.height <= Length())
        return false;
    if (!ensureJob()) return false;
    const pdf::Document::ClipRect r = onPage(cover);
    job_->drawTextOutlines(text, {r.x, r.y, r.width / coverSize.width.points(), r.height / coverSize.height.points()},
                           r);
    return true;
}

bool CupsPrinterObject::drawLine(LengthPoint from, LengthPoint to, Length width) {
    if (width <= Length() || !ensureJob()) return false;
    job_->drawLine(origin_.left + from.x.points(), origin_.top + from.y.points(), origin_.left + to.x.points(),
                   origin_.top + to.y.points(), width.points());
    return true;
}

bool CupsPrinterObject::newPage() {
    if (!ensureJob()) return false;
    return beginPage(); // the new page takes the settings made since the last one
}

// Writes the job to its file (atomically, so a failure leaves no half file) or hands it to CUPS.
bool CupsPrinterObject::sendJob() {
    try {
        if (!jobPdfPath_.isEmpty()) {
            QByteArray bytes;
            if (!job_->write([&bytes](const void* data, std::size_t size) {
                    bytes.append(static_cast<const char*>(data), qsizetype(size));
                    return true;
                }))
                return false;
            return writeFileAtomically(jobPdfPath_, bytes);
        }
        // Sent from a thread of its own, the windows painting meanwhile; the connection's
        // time-outs bound the wait.
        bool sent = false;
        runResponsive([this, &sent] {
            sent = printPdfJob(printerName_, kJobTitle, jobOptions_,
                               [this](const pdf::Sink& sink) { return job_->write(sink); });
        });
        return sent;
    } catch (const std::bad_alloc&) {
        return false; // too little memory for the job: nothing is printed or written
    }
}

bool CupsPrinterObject::endDocument() {
    if (!job_) {
        pdfPath_.clear();
        nextQueue_.clear();
        return false; // nothing was drawn: no job to hand over
    }
    const bool sent = sendJob();
    discardJob();
    copies_ = 1;
    ownSheet_.reset();
    return sent;
}

bool CupsPrinterObject::drawPictureInRing(const QImage& picture, const QByteArray& jpeg, const LengthRect& at,
                                          const RingOnSheet& ring) {
    if (picture.isNull() || at.width <= Length() || at.height <= Length() || ring.outerRadius <= Length()) return false;
    if (!ensureJob()) return false;
    const pdf::Document::ClipRect r = onPage(at);
    pdf::Document::ClipRing clip{origin_.left + ring.centre.x.points(), origin_.top + ring.centre.y.points(),
                                 ring.outerRadius.points(), ring.holeRadius.points(), std::nullopt};
    if (const std::optional<LengthRect> cut = ring.cutBox()) clip.cut = onPage(*cut);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(jpeg.constData());
    if (!jpeg.isEmpty()) {
        const std::optional<raster::JpegFrame> frame = raster::readJpegFrame(bytes, std::size_t(jpeg.size()));
        if (frame && raster::isPortableJpeg(*frame)) {
            jpegs_.push_back(jpeg);
            return job_->drawJpegInRing(bytes, std::size_t(jpeg.size()), r.x, r.y, r.width, r.height, clip);
        }
    }
    pictures_.push_back(opaqueRgb32(picture));
    const QImage& pixels = pictures_.back();
    job_->drawPictureInRing({pixels.constBits(), pixels.width(), pixels.height(), pixels.bytesPerLine()}, r.x, r.y,
                            r.width, r.height, clip);
    return true;
}

bool CupsPrinterObject::setOwnSheetSize(std::optional<LengthSize> sheet) {
    if (sheet && (sheet->width <= Length() || sheet->height <= Length())) return false;
    ownSheet_ = sheet;
    return true;
}

std::optional<LengthRect> CupsPrinterObject::printableAreaOfSheet(LengthSize sheet) {
    if (!pdfPath_.isEmpty()) return LengthRect{Length(), Length(), sheet.width, sheet.height};
    const QString printer = nextJobPrinter();
    if (printer.isEmpty()) return std::nullopt;
    const auto margins = ownSheetMargins(printer, sheet);
    if (!margins) return std::nullopt;
    return LengthRect{Length::fromPoints(margins->left), Length::fromPoints(margins->top),
                      sheet.width - Length::fromPoints(margins->left + margins->right),
                      sheet.height - Length::fromPoints(margins->top + margins->bottom)};
}

namespace {

bool isEmpty(const LengthRect& r) { return r.width <= Length() || r.height <= Length(); }

} // namespace

bool CupsPrinterObject::fillArea(const LengthRect& area, const AreaFill& fill) {
    if (isEmpty(area) || !ensureJob()) return false;
    const pdf::Document::ClipRect rect{origin_.left + area.left.points(), origin_.top + area.top.points(),
                                       area.width.points(), area.height.points()};
    if (!fill.endColour) {
        job_->fillRectangle(rect, fill.colour);
        return true;
    }
    job_->fillGradient(rect,
                       {origin_.left + fill.from.x.points(), origin_.top + fill.from.y.points(),
                        origin_.left + fill.to.x.points(), origin_.top + fill.to.y.points(), fill.colour,
                        *fill.endColour});
    return true;
}

bool CupsPrinterObject::drawLaidPicture(const QImage& picture, const QByteArray& jpeg, const LaidPicture& laid) {
    if (picture.isNull() || isEmpty(laid.box) || isEmpty(laid.clip)) return false;
    if (!ensureJob()) return false;
    const double left = origin_.left + laid.box.left.points(), top = origin_.top + laid.box.top.points();
    const double w = laid.box.width.points(), h = laid.box.height.points();
    const pdf::Document::Look look{pdf::Document::ClipRect{origin_.left + laid.clip.left.points(),
                                                           origin_.top + laid.clip.top.points(),
                                                           laid.clip.width.points(), laid.clip.height.points()},
                                   laid.quarterTurns, laid.opacity};
    if (!jpeg.isEmpty()) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(jpeg.constData());
        const std::optional<raster::JpegFrame> frame = raster::readJpegFrame(bytes, std::size_t(jpeg.size()));
        if (frame && raster::isPortableJpeg(*frame)) {
            jpegs_.push_back(jpeg); // shares the bytes: they stay valid while the job holds them
            return job_->drawJpeg(bytes, std::size_t(jpeg.size()), left, top, w, h, look);
        }
    }
    const bool translucent = picture.hasAlphaChannel();
    if (translucent) {
        QImage pixels = picture.convertToFormat(QImage::Format_ARGB32); // coverage in the fourth byte
        if (pixels.isNull()) return false;
        pdf::spreadColourUnderTransparency(pixels.bits(), pixels.width(), pixels.height(), pixels.bytesPerLine());
        pictures_.push_back(std::move(pixels));
    } else {
        pictures_.push_back(opaqueRgb32(picture));
    }
    const QImage& pixels = pictures_.back();
    job_->drawPicture({pixels.constBits(), pixels.width(), pixels.height(), pixels.bytesPerLine()}, left, top, w, h,
                      look, translucent);
    return true;
}

bool CupsPrinterObject::drawClippedOutlines(const CoverTextOutlines& text, const LengthRect& cover,
                                            LengthSize coverSize, const LengthRect& clip) {
    if (text.empty() || isEmpty(cover) || isEmpty(clip) || coverSize.width <= Length() || coverSize.height <= Length())
        return false;
    if (!ensureJob()) return false;
    const double left = origin_.left + cover.left.points(), top = origin_.top + cover.top.points();
    job_->drawTextOutlines(
        text,
        {left, top, cover.width.points() / coverSize.width.points(), cover.height.points() / coverSize.height.points()},
        {origin_.left + clip.left.points(), origin_.top + clip.top.points(), clip.width.points(),
         clip.height.points()});
    return true;
}

} // namespace kavi
