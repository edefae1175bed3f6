// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/print_preview.h"

#include "output/print/print_to.h"
#include "render/cover_text_layout.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStringList>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kavi {

namespace {

const QColor kPaperEdge(150, 150, 150);
const QColor kPrintableOutline(110, 160, 230);
const QColor kDoesNotFit(220, 30, 30);
constexpr int kSheetMargin = 16; // pixels of grey around the sheet in the window

QRectF pixels(const LengthRect& r, double ppi) {
    return {r.left.inches() * ppi, r.top.inches() * ppi, r.width.inches() * ppi, r.height.inches() * ppi};
}

QPointF pixels(const LengthPoint& p, double ppi) { return {p.x.inches() * ppi, p.y.inches() * ppi}; }

QSize sheetPixels(const RenderedPage& page, double ppi) {
    return {int(std::ceil(page.sheet.width.inches() * ppi)), int(std::ceil(page.sheet.height.inches() * ppi))};
}

bool overhangs(const RenderedPage& page, int kind) {
    return std::any_of(page.overhangs.begin(), page.overhangs.end(),
                       [kind](const Overhang& o) { return o.kind == kind; });
}

// A red outline just inside the cover and a label in its corner.
void markDoesNotFit(QPainter& painter, const QRectF& cover) {
    const double pen = 2;
    painter.setPen(QPen(kDoesNotFit, pen));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cover.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2));
    const QString text = QStringLiteral("Does not fit");
    const QFontMetrics metrics(painter.font());
    const QRectF label(cover.left() + pen, cover.top() + pen, metrics.horizontalAdvance(text) + 8,
                       metrics.height() + 4);
    painter.fillRect(label.intersected(cover), kDoesNotFit);
    painter.setPen(Qt::white);
    painter.drawText(label, Qt::AlignCenter, text);
}

// The page with its top-left corner at the painter's origin: the sheet and its edge, the printable
// area, the covers (from their screen copies), the marks, and the covers that do not fit.
void drawPage(QPainter& painter, const RenderedPage& page, const PreviewPage& shown, double ppi, bool printable) {
    const QRectF sheet(0, 0, page.sheet.width.inches() * ppi, page.sheet.height.inches() * ppi);
    painter.fillRect(sheet, Qt::white);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const PreviewPicture& picture : shown.pictures)
        if (!picture.copy.isNull()) painter.drawImage(pixels(picture.at, ppi), picture.copy);
    for (const PreviewLine& line : shown.lines) {
        painter.setPen(QPen(Qt::black, std::max(1.0, line.width.inches() * ppi)));
        painter.drawLine(pixels(line.from, ppi), pixels(line.to, ppi));
    }
    painter.setBrush(Qt::NoBrush);
    if (printable) {
        painter.setPen(QPen(kPrintableOutline, 1, Qt::DashLine));
        painter.drawRect(pixels(page.printable, ppi).adjusted(0, 0, -1, -1));
    }
    painter.setPen(QPen(kPaperEdge, 1));
    painter.drawRect(sheet.adjusted(0, 0, -1, -1));
    for (const PlacedCover& cover : page.covers)
        if (overhangs(page, cover.kind)) markDoesNotFit(painter, pixels(cover.rect, ppi));
}

QString fitNotice(const RenderedPage& page, Placement placement) {
    QStringList lines;
    if (page.marksOutsidePrintable > 0) {
        const int all = int(page.marks.size()) + page.marksOutsidePrintable;
        QString line = QStringLiteral("%1 of the %2 cut marks are left out: they would fall outside the area the "
                                      "printer can print on.")
                           .arg(page.marksOutsidePrintable)
                           .arg(all);
        if (placement == Placement::AtPrintableCorner)
            line += QStringLiteral(" Place covers \"at the printable corner, moved in for cut marks\" to keep them.");
        lines << line;
    }
    for (const Overhang& o : page.overhangs) {
        QString line = QStringLiteral("%1 does not fit the printable area: %2 in (%3 mm) is lost at the %4 edge.")
                           .arg(QString::fromUtf8(coverKind(o.kind).checkCaption))
                           .arg(o.amount.inches(), 0, 'f', 2)
                           .arg(o.amount.millimetres(), 0, 'f', 1)
                           .arg(QString::fromLatin1(sideName(o.side)));
        // With a bleed the loss may be only the bleed, or the bleed and some of the cover.
        if (page.bleed > Length())
            line += o.amount - page.bleed <= kFitTolerance
                ? QStringLiteral(" Only the %1 mm bleed is lost: the cover itself fits.").arg(page.bleed.millimetres())
                : QStringLiteral(" That counts the %1 mm bleed.").arg(page.bleed.millimetres());
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

QString printerNotice(const PreparedJob& job) {
    if (job.toFile)
        return QStringLiteral("No printer can be used now: these are the pages of a PDF file, and Print saves them "
                              "as one.");
    if (!job.printableKnown)
        return QStringLiteral("Printer: %1 (it does not tell its printable area, so none is shown)").arg(job.printer);
    return QStringLiteral("Printer: %1").arg(job.printer);
}

} // namespace

// The current page in the window, at the dialog's zoom, with grey around it.
class PreviewSheet final : public QWidget {
public:
    explicit PreviewSheet(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("sheet")); }
    void setPage(const RenderedPage* page, const PreviewPage* shown, double ppi, bool printable) {
        page_ = page;
        shown_ = shown;
        ppi_ = ppi;
        printable_ = printable;
        const QSize size = page ? sheetPixels(*page, ppi) : QSize();
        setFixedSize(size + QSize(2 * kSheetMargin, 2 * kSheetMargin));
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!page_) return;
        QPainter painter(this);
        painter.translate(kSheetMargin, kSheetMargin);
        painter.fillRect(QRectF(QPointF(3, 3), QSizeF(sheetPixels(*page_, ppi_))), QColor(60, 60, 60)); // shadow
        drawPage(painter, *page_, *shown_, ppi_, printable_);
    }

private:
    const RenderedPage* page_ = nullptr;
    const PreviewPage* shown_ = nullptr;
    double ppi_ = 96;
    bool printable_ = false;
};

PrintPreviewWindow::PrintPreviewWindow(Platform& platform, PrintSelection selection, QWidget* parent)
    : QDialog(parent), platform_(platform), selection_(std::move(selection)) {
    setObjectName(QStringLiteral("PrintPreviewWindow"));
    setWindowTitle(QStringLiteral("Print Preview"));
    setModal(true);

    const double screenPpi = platform_.screen.logicalDpiX();
    zoom_ = screenPpi;
    copyPpi_ = screenPpi * devicePixelRatioF();
    prepare();

    const auto button = [this](QPushButton*& b, const char* name, const QString& caption) {
        b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
    };
    button(cmdPrevious, "cmdPrevious", QStringLiteral("P&revious"));
    button(cmdNext, "cmdNext", QStringLiteral("&Next"));
    button(cmdZoomFit, "cmdZoomFit", QStringLiteral("Zoom to &Fit"));
    button(cmdZoom100, "cmdZoom100", QStringLiteral("&100%"));
    button(cmdPrint, "cmdPrint", QStringLiteral("&Print"));
    button(cmdClose, "cmdClose", QStringLiteral("&Close"));
    lblPage = new QLabel(this);
    lblPage->setObjectName(QStringLiteral("lblPage"));
    lblPage->setAlignment(Qt::AlignCenter);
    lblPage->setMinimumWidth(QFontMetrics(font()).horizontalAdvance(QStringLiteral("Page 00 of 00")));
    spnCopies = new QSpinBox(this);
    spnCopies->setObjectName(QStringLiteral("spnCopies"));
    spnCopies->setRange(1, 99);
    spnCopies->setEnabled(!job_.toFile); // a file is written once
    lblCopies = new QLabel(QStringLiteral("C&opies:"), this);
    lblCopies->setObjectName(QStringLiteral("lblCopies"));
    lblCopies->setBuddy(spnCopies);
    lblPrinter = new QLabel(printerNotice(job_), this);
    lblPrinter->setObjectName(QStringLiteral("lblPrinter"));
    cboPrinter = new QComboBox(this);
    cboPrinter->setObjectName(QStringLiteral("cboPrinter"));
    cboPrinter->addItem(QStringLiteral("Default printer"));
    if (!job_.toFile) queues_ = platform_.printers.installedPrinters();
    for (const InstalledPrinter& p : queues_) {
        const QString state = queueStateText(p.state);
        cboPrinter->addItem(state.isEmpty() ? p.deviceName : p.deviceName + QStringLiteral(" - ") + state);
    }
    cboPrinter->setEnabled(!queues_.empty());
    lblFit = new QLabel(this);
    lblFit->setObjectName(QStringLiteral("lblFit"));
    lblFit->setStyleSheet(QStringLiteral("color: rgb(200, 20, 20);"));

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("scroll"));
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    sheet_ = new PreviewSheet(scroll_);
    scroll_->setWidget(sheet_);
    sheet_->setBackgroundRole(QPalette::Dark); // the grey around the sheet, as the scroll area's
    scroll_->viewport()->installEventFilter(this);

    auto* bar = new QHBoxLayout;
    bar->addWidget(cmdPrevious);
    bar->addWidget(lblPage);
    bar->addWidget(cmdNext);
    bar->addSpacing(16);
    bar->addWidget(cmdZoomFit);
    bar->addWidget(cmdZoom100);
    bar->addStretch();
    bar->addWidget(lblCopies);
    bar->addWidget(spnCopies);
    bar->addWidget(cmdPrint);
    bar->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    auto* printerLine = new QHBoxLayout;
    printerLine->addWidget(lblPrinter, 1);
    printerLine->addWidget(cboPrinter);
    layout->addLayout(printerLine);
    layout->addWidget(scroll_, 1);
    layout->addWidget(lblFit);

    connect(cmdPrevious, &QPushButton::clicked, this, [this] { cmdPrevious_Click(); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { cmdNext_Click(); });
    connect(cmdZoomFit, &QPushButton::clicked, this, [this] { zoomToFit(); });
    connect(cmdZoom100, &QPushButton::clicked, this, [this] { zoomToActualSize(); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(cboPrinter, &QComboBox::activated, this, [this](int index) {
        choosePrinter(index > 0 ? queues_.at(std::size_t(index - 1)).deviceName : QString());
    });

    const ScreenUnits& u = platform_.screen;
    resize(u.x(12900), u.y(10500));
    cmdPrint->setDefault(true);
    updatePage();
}

PrintPreviewWindow::~PrintPreviewWindow() = default;

// The job as Print sends it to the chosen queue, or the default printer (else a PDF file), and
// the job's own steps drawn for the screen: the same pictures, text and marks the printer gets.
void PrintPreviewWindow::prepare() {
    PrinterObject& printer = platform_.printer;
    bool toFile = false;
    if (queue_.isEmpty()) toFile = !printer.setFollowDefault(true);
    else printer.printNextJobToQueue(queue_);
    job_ = prepareJob(printer, selection_, toFile);
    if (!queue_.isEmpty()) printer.printNextJobToQueue({}); // named again when Print sends the job
    ScreenPagePrinter screen(job_.pages, copyPpi_);
    sendPreparedJob(screen, selection_, job_);
    shownPages_ = screen.takePages();
    shownPages_.resize(job_.pages.size());
}

void PrintPreviewWindow::choosePrinter(const QString& queue) {
    const auto found = std::find_if(queues_.begin(), queues_.end(),
                                    [&queue](const InstalledPrinter& p) { return p.deviceName == queue; });
    const auto showChoice = [this] {
        const auto at = std::find_if(queues_.begin(), queues_.end(),
                                     [this](const InstalledPrinter& p) { return p.deviceName == queue_; });
        QSignalBlocker block(cboPrinter);
        cboPrinter->setCurrentIndex(at == queues_.end() ? 0 : int(at - queues_.begin()) + 1);
    };
    if (!queue.isEmpty() && (found == queues_.end() || found->state != QueueState::Ready)) {
        if (found != queues_.end())
            platform_.messages.show(
                {QStringLiteral("%1 cannot print now: it is %2.").arg(queue, queueStateText(found->state)),
                 QStringLiteral("Print Preview"), MsgIcon::Exclamation, MsgButtons::Ok, MsgDefault::First});
        showChoice();
        return;
    }
    queue_ = queue;
    showChoice();
    prepare();
    lblPrinter->setText(printerNotice(job_));
    spnCopies->setEnabled(!job_.toFile);
    page_ = std::min(page_, std::max(0, int(job_.pages.size()) - 1));
    if (fitting_) zoomToFit();
    else updatePage();
}

void PrintPreviewWindow::showPage(int index) {
    if (index < 0 || index >= int(job_.pages.size())) return;
    page_ = index;
    if (fitting_) zoomToFit(); // the next page may be of another paper
    else updatePage();
}

void PrintPreviewWindow::cmdPrevious_Click() { showPage(page_ - 1); }
void PrintPreviewWindow::cmdNext_Click() { showPage(page_ + 1); }

void PrintPreviewWindow::zoomToFit() {
    fitting_ = true;
    if (job_.pages.empty()) return;
    const RenderedPage& page = job_.pages[std::size_t(page_)];
    const QSize room = scroll_->viewport()->size() - QSize(2 * kSheetMargin + 4, 2 * kSheetMargin + 4);
    const double ppi = std::min(room.width() / page.sheet.width.inches(), room.height() / page.sheet.height.inches());
    setZoom(std::max(ppi, 8.0));
}

void PrintPreviewWindow::zoomToActualSize() {
    fitting_ = false;
    setZoom(platform_.screen.logicalDpiX());
}

void PrintPreviewWindow::setZoom(double pixelsPerInch) {
    zoom_ = pixelsPerInch;
    updatePage();
}

void PrintPreviewWindow::updatePage() {
    const int count = int(job_.pages.size());
    lblPage->setText(QStringLiteral("Page %1 of %2").arg(count ? page_ + 1 : 0).arg(count));
    cmdPrevious->setEnabled(page_ > 0);
    cmdNext->setEnabled(page_ + 1 < count);
    cmdPrint->setEnabled(count > 0);
    if (count == 0) {
        sheet_->setPage(nullptr, nullptr, zoom_, false);
        lblFit->clear();
        return;
    }
    const RenderedPage& page = job_.pages[std::size_t(page_)];
    sheet_->setPage(&page, &shownPages_[std::size_t(page_)], zoom_, showsPrintableArea());
    lblFit->setText(fitNotice(page, selection_.layout.choices.placement));
    lblFit->setVisible(!page.overhangs.empty() || page.marksOutsidePrintable > 0);
}

QImage PrintPreviewWindow::pageImage(int index, double pixelsPerInch) const {
    const RenderedPage& page = job_.pages.at(std::size_t(index));
    QImage image(sheetPixels(page, pixelsPerInch), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawPage(painter, page, shownPages_[std::size_t(index)], pixelsPerInch, showsPrintableArea());
    return image;
}

bool PrintPreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize && fitting_) zoomToFit();
    return QDialog::eventFilter(watched, event);
}

void PrintPreviewWindow::cmdPrint_Click() {
    if (job_.pages.empty()) return;
    if (job_.toFile) {
        // The export asks for the file and writes these pages, laid out the same way.
        outcome_ = exportCoversPdf(platform_, selection_);
        if (outcome_.sent) accept();
        return;
    }
    if (!confirmBeforeSending(platform_, selection_, job_)) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!queue_.isEmpty()) platform_.printer.printNextJobToQueue(queue_);
    outcome_.sent = sendPreparedJob(platform_.printer, selection_, job_, spnCopies->value());
    if (!queue_.isEmpty()) platform_.printer.printNextJobToQueue({});
    QApplication::restoreOverrideCursor();
    outcome_.pages = outcome_.sent ? int(job_.pages.size()) : 0;
    outcome_.printer = job_.printer;
    if (!outcome_.sent) {
        sayJobNotSent(platform_.messages, job_.printer); // the preview stays open to try again
        return;
    }
    accept();
}

PrintOutcome showPrintPreview(Platform& platform, const PrintSelection& selection, QWidget* parent) {
    if (planPrintJob(selection.ticked).pages.empty()) {
        platform.messages.show({QStringLiteral("Please select a cover option to print!"),
                                QStringLiteral("No Cover Option Selected!"), MsgIcon::Critical, MsgButtons::Ok,
                                MsgDefault::First});
        return {};
    }
    PrintPreviewWindow preview(platform, selection, parent);
    if (preview.job().pages.empty()) {
        // Every ticked cover lacks a picture: the print command's message says so.
        confirmBeforeSending(platform, selection, preview.job());
        return {};
    }
    preview.exec();
    return preview.outcome();
}

} // namespace kavi
