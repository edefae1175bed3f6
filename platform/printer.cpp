#include "printer.h"

#include "cups_printers.h"
#include "twips.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QTemporaryFile>

#include <cstdio>

namespace kavi {

namespace {

// Qt's CUPS print engine takes extra job options through this engine property, as a list of
// name, value, name, value ...
constexpr auto kCupsOptionsProperty = QPrintEngine::PrintEnginePropertyKey(0xfe00);
constexpr double kPointsPerInch = 72;

QPageSize pageSizeOf(int paperCode) {
    return QPageSize(paperCode == 5 ? QPageSize::Legal : QPageSize::Letter);
}

} // namespace

Margins turnedForLandscape(const Margins& portrait) {
    return {portrait.bottom, portrait.left, portrait.top, portrait.right};
}

QtPrinterObject::QtPrinterObject(PrinterSystem& printers) : printers_(printers) {}

QtPrinterObject::~QtPrinterObject() {
    if (job_ && painter_ && painter_->isActive()) job_->abort(); // an unfinished job is never sent
    painter_.reset();
    job_.reset();
    if (!partialPdf_.isEmpty()) QFile::remove(partialPdf_);
}

bool QtPrinterObject::setFollowDefault(bool follow) {
    if (follow && deviceNameOfEntry(printers_.defaultPrinterEntry()).isEmpty()) return false;
    followDefault_ = follow;
    return true;
}

bool QtPrinterObject::setPaperSize(int code) {
    if (code != 1 && code != 5) return false;
    paper_ = code;
    return true;
}

bool QtPrinterObject::setOrientation(int code) {
    if (code != 1 && code != 2) return false;
    orientation_ = code;
    return true;
}

void QtPrinterObject::printNextJobToFile(const QString& pdfPath) { pdfPath_ = pdfPath; }

// Sets the job's paper and orientation and works out where the printable area begins. The margins
// are read for the portrait page and turned by hand for landscape, because Qt reports the portrait
// margins for both orientations.
void QtPrinterObject::applyPageSettings() {
    job_->setPageOrientation(QPageLayout::Portrait);
    job_->setPageSize(pageSizeOf(paper_));
    QPageLayout layout = job_->pageLayout();
    layout.setUnits(QPageLayout::Point);
    const QMarginsF m = layout.minimumMargins();
    const Margins portrait{m.left(), m.top(), m.right(), m.bottom()};
    if (orientation_ == 2) {
        job_->setPageOrientation(QPageLayout::Landscape);
        origin_ = turnedForLandscape(portrait);
    } else {
        origin_ = portrait;
    }
}

bool QtPrinterObject::ensureJob() {
    if (job_) return true;
    job_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!pdfPath_.isEmpty()) {
        // Written beside the target and renamed into place at the end, so no half file is left.
        const QFileInfo target(pdfPath_);
        QTemporaryFile partial(target.absolutePath() + "/." + target.fileName() + ".XXXXXX");
        partial.setAutoRemove(false);
        if (!partial.open()) {
            discardJob();
            return false;
        }
        partialPdf_ = partial.fileName();
        partial.close();
        job_->setOutputFormat(QPrinter::PdfFormat);
        job_->setOutputFileName(partialPdf_);
    } else {
        if (followDefault_ || printerName_.isEmpty())
            printerName_ = deviceNameOfEntry(printers_.defaultPrinterEntry());
        if (printerName_.isEmpty()) {
            discardJob();
            return false;
        }
        job_->setPrinterName(printerName_);
        if (job_->outputFormat() != QPrinter::NativeFormat) { // the printer has gone
            discardJob();
            return false;
        }
        job_->printEngine()->setProperty(kCupsOptionsProperty, QStringList{"print-scaling", "none"});
    }
    job_->setDocName(QStringLiteral("Kavi covers"));
    job_->setFullPage(true); // the origin is placed by hand at the printable area's corner
    applyPageSettings();
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(job_.get())) {
        discardJob();
        return false;
    }
    // Without this hint the PDF engine stores pictures as JPEG; the cover keeps its own pixels.
    painter_->setRenderHint(QPainter::LosslessImageRendering);
    painter_->setRenderHint(QPainter::SmoothPixmapTransform);
    return true;
}

void QtPrinterObject::discardJob() {
    painter_.reset();
    job_.reset();
    if (!partialPdf_.isEmpty()) QFile::remove(partialPdf_);
    partialPdf_.clear();
    pdfPath_.clear();
}

bool QtPrinterObject::drawPicture(const QImage& picture, double x, double y, double width, double height) {
    if (picture.isNull() || width <= 0 || height <= 0) return false;
    if (!ensureJob()) return false;
    const double dpi = job_->resolution();
    const auto fromTwips = [dpi](double t) { return t * dpi / kTwipsPerInch; };
    const auto fromPoints = [dpi](double pt) { return pt * dpi / kPointsPerInch; };
    const QRectF target(fromPoints(origin_.left) + fromTwips(x), fromPoints(origin_.top) + fromTwips(y),
                        fromTwips(width), fromTwips(height));
    painter_->drawImage(target, picture);
    return true;
}

bool QtPrinterObject::newPage() {
    if (!ensureJob()) return false;
    applyPageSettings(); // the new page takes the settings made since the last one
    return job_->newPage();
}

bool QtPrinterObject::endDocument() {
    if (!job_) {
        pdfPath_.clear();
        return false; // nothing was drawn: no job to hand over
    }
    const bool ended = painter_->end();
    const bool toFile = !partialPdf_.isEmpty();
    bool ok = ended;
    if (toFile && ended) {
        const QFileInfo old(pdfPath_);
        QFile::setPermissions(partialPdf_, old.exists() ? old.permissions()
                                                        : QFile::ReadOwner | QFile::WriteOwner |
                                                              QFile::ReadGroup | QFile::ReadOther);
        ok = std::rename(QFile::encodeName(partialPdf_).constData(), QFile::encodeName(pdfPath_).constData()) == 0;
        if (ok) partialPdf_.clear();
    }
    discardJob(); // a partial file left by a failure is removed
    return ok;
}

} // namespace kavi
