// SPDX-License-Identifier: GPL-3.0-or-later
// kavi-cover: the covers of a set of kinds as a PDF file at real size, or sent to a printer,
// without a window. The pages are the ones the print command makes for the same kinds ticked (see
// cover_arguments.h for the command line). Any failure prints one line, gives a non-zero status
// and writes nothing.
#include "cover_arguments.h"
#include "cover_set_file.h"
#include "named_queue.h"

#include "files/atomic_file.h"
#include "files/label_templates.h"
#include "files/program_folder.h"
#include "imaging/picture_loader.h"
#include "imaging/text_overlay.h"
#include "imaging/white_paper.h"
#include "page_plan.h"
#include "page_render.h"
#include "pdf/cover_page.h"
#include "print/cups_printers.h"
#include "print/printer.h"
#include "print_job.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

using namespace kavi;

namespace {

constexpr int kUsageError = 2;
constexpr int kFailure = 1;

int fail(int status, const std::string& why) {
    std::fprintf(stderr, "kavi-cover: %s\n", why.c_str());
    return status;
}

std::string reasonOf(PictureStatus status) {
    switch (status) {
    case PictureStatus::CannotOpen: return "cannot be opened";
    case PictureStatus::NotAPicture: return "is not a readable picture";
    case PictureStatus::Incomplete: return "is incomplete";
    case PictureStatus::TooLarge: return "is too large to load into memory";
    case PictureStatus::Loaded: break;
    }
    return "did not load";
}

// Covers reaching past the paper (a file) or the printable area (a printer) are printed anyway, with a note.
void noteOverhangs(const std::vector<Overhang>& overhangs, const char* where) {
    for (const Overhang& o : overhangs)
        std::fprintf(stderr, "kavi-cover: note: %s reaches %.2f in past the %s edge of the %s\n",
                     coverKind(o.kind).checkCaption, o.amount.inches(), sideName(o.side), where);
}

// Why the printer object cannot take a job: the service, or no printer to send it to.
std::string whyNoPrinter(PrinterSystem& printers, const std::string& queue) {
    const PrintServiceStatus service = printers.printService();
    if (!service.reachable) return "the print service cannot be reached (CUPS at " + service.server.toStdString() + ")";
    if (!queue.empty()) return "there is no printer queue named \"" + queue + "\"";
    if (printers.installedPrinters().empty()) return "no printer is installed";
    return "none of the installed printers is the default; name one with --print=QUEUE";
}

// Saves the covers given as KIND=PICTURE as a cover set, each ticked, with the fit mode given: a
// JPEG file as its own bytes, any other picture as its pixels.
int saveCoverSet(const CoverMakerRequest& request) {
    CoverSet set = CoverSet::empty();
    set.ticked = request.ticked;
    for (const CoverPicture& cover : request.covers) {
        PictureLoad load = loadPictureFile(QString::fromStdString(cover.picture));
        if (load.status != PictureStatus::Loaded)
            return fail(kFailure, "\"" + cover.picture + "\" " + reasonOf(load.status));
        CoverSetCover& saved = set.cover(cover.kind);
        saved.picture = load.originalJpeg.isEmpty()
            ? CoverSetPicture(std::move(load.picture))
            : CoverSetPicture::ofJpegFile(std::move(load.originalJpeg), std::move(load.picture));
        saved.fit = request.fit.value_or(FitMode::Stretch);
    }
    if (const int error = saveCoverSetFile(QString::fromStdString(request.saveSet), set); error != 0)
        return fail(kFailure, "cannot write \"" + request.saveSet + "\": " + std::strerror(error));
    return 0;
}

// Sends the covers to the default printer or the named queue, as the print command lays them out,
// with the queue's calibration from the settings file beside the tool unless the command line gives one.
int printCovers(const CoverMakerRequest& request, const std::array<QImage, kCoverKindCount>& pictures,
                const std::array<FitMode, kCoverKindCount>& fits, const std::array<CoverText, kCoverKindCount>& texts) {
    CupsPrinters system;
    NamedQueuePrinters named(system, QString::fromStdString(request.queue));
    PrinterSystem& printers = request.queue.empty() ? static_cast<PrinterSystem&>(system) : named;
    CupsPrinterObject printer(printers);
    if (!printer.setFollowDefault(true)) return fail(kFailure, whyNoPrinter(printers, request.queue));

    PrintSelection selection;
    selection.ticked = request.ticked;
    for (std::size_t i = 0; i < pictures.size(); ++i) selection.pictures[i] = pictures[i];
    selection.fitModes = fits;
    selection.texts = texts;
    selection.layout = {request.paper, request.cutMarks};
    if (request.calibration)
        selection.calibrationOf = [c = *request.calibration](const QString&, Orientation) { return c; };
    else
        selection.calibrationOf = [file = inProgramFolder(QStringLiteral("kavi4.ini"))](const QString& queue,
                                                                                        Orientation orientation) {
            return readCalibration(file, queue, orientation);
        };

    const PreparedJob job = prepareJob(printer, selection, false);
    if (!job.printableKnown)
        return fail(kFailure, "the printer " + job.printer.toStdString() + " cannot tell its printable area");
    for (const RenderedPage& page : job.pages) noteOverhangs(page.overhangs, "printable area");
    if (!sendPreparedJob(printer, selection, job))
        return fail(kFailure, "the job could not be sent to " + job.printer.toStdString());
    std::printf("sent %zu page%s to %s\n", job.pages.size(), job.pages.size() == 1 ? "" : "s",
                job.printer.toStdString().c_str());
    return 0;
}

// The disc label stocks of the template files, one a line; a damaged file is named on stderr.
int listStocks(const CoverMakerStockList& request) {
    QStringList given;
    for (const std::string& folder : request.templateFolders) {
        if (!QFileInfo(QString::fromStdString(folder)).isDir())
            return fail(kUsageError, "no template folder \"" + folder + "\"");
        given << QString::fromStdString(folder);
    }
    const labels::StockList list = labels::readDiscStocks(labels::templateFolders(given));
    for (const QString& skipped : list.skippedFiles)
        std::fprintf(stderr, "kavi-cover: note: left out %s\n", skipped.toLocal8Bit().constData());
    if (list.stocks.empty())
        std::fputs("kavi-cover: no disc label stocks found: install the label templates (Debian's glabels-data "
                   "package), or put template files in ~/.local/share/kavi/templates or a --templates folder\n",
                   stderr);
    for (const DiscLabelStock& stock : list.stocks)
        std::printf("%s\t%s %.1f x %.1f mm\t%.2f mm\t%.2f mm\t%zu\n", stock.name().c_str(), stock.paperId.c_str(),
                    stock.paper.width.millimetres(), stock.paper.height.millimetres(),
                    stock.outerDiameter().millimetres(), stock.holeDiameter().millimetres(), stock.centres.size());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && arguments[0] == "--version") {
        std::printf("kavi-cover (Kavi) %s\n", KAVI_VERSION);
        return 0;
    }
    const CoverMakerArguments parsed = parseCoverMakerArguments(arguments);
    if (std::holds_alternative<CoverMakerHelp>(parsed)) {
        std::fputs(coverMakerUsage(), stdout);
        return 0;
    }
    if (const auto* stocks = std::get_if<CoverMakerStockList>(&parsed)) return listStocks(*stocks);
    if (const auto* error = std::get_if<std::string>(&parsed)) return fail(kUsageError, *error);
    CoverMakerRequest request = std::get<CoverMakerRequest>(parsed);
    // Qt's image readers find their plug-ins through the application object; cover text needs the
    // fonts of a GUI application, which a tool without a window gets from the offscreen platform.
    std::unique_ptr<QCoreApplication> app;
    if (request.coverSet.empty()) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    try {
        // Pictures as opaque 32-bit pixels, by kind; they stay alive until the document is written.
        std::array<QImage, kCoverKindCount> pictures;
        std::array<CoverText, kCoverKindCount> texts;
        std::array<FitMode, kCoverKindCount> fits;
        fits.fill(FitMode::Stretch);
        if (!request.coverSet.empty()) {
            const QString path = QString::fromStdString(request.coverSet);
            const CoverSetReading reading = loadCoverSetFile(path);
            if (!reading.set) return fail(kFailure, coverSetProblemText(reading, path).toStdString());
            request.ticked = reading.set->ticked;
            if (std::none_of(request.ticked.begin(), request.ticked.end(), [](bool t) { return t; }))
                return fail(kFailure, "the cover set \"" + request.coverSet + "\" has no cover ticked for printing");
            for (int kind = 1; kind <= kCoverKindCount; ++kind) {
                // Only the ticked covers' pictures are decoded.
                const CoverSetPicture& picture = reading.set->cover(kind).picture;
                if (request.ticked[std::size_t(kind - 1)] && !picture.isNull()) {
                    pictures[std::size_t(kind - 1)] = picture.image();
                    if (picture.decodeFailed())
                        return fail(kFailure,
                                    coverSetProblemText({CoverSetProblem::Damaged, {}, 0}, path).toStdString());
                }
                texts[std::size_t(kind - 1)] = reading.set->cover(kind).text;
                fits[std::size_t(kind - 1)] = reading.set->cover(kind).fit;
            }
            // A ticked cover without a picture prints nothing, as in the print command.
            for (int kind = 1; kind <= kCoverKindCount; ++kind)
                if (request.ticked[std::size_t(kind - 1)] && pictures[std::size_t(kind - 1)].isNull())
                    std::fprintf(stderr, "kavi-cover: note: the cover set has no picture for %s\n",
                                 coverKind(kind).checkCaption);
        }
        if (!request.saveSet.empty()) return saveCoverSet(request);
        for (const CoverPicture& cover : request.covers) {
            PictureLoad load = loadPictureFile(QString::fromStdString(cover.picture));
            if (load.status != PictureStatus::Loaded)
                return fail(kFailure, "\"" + cover.picture + "\" " + reasonOf(load.status));
            pictures[std::size_t(cover.kind - 1)] = std::move(load.picture);
        }
        if (request.fit) fits.fill(*request.fit);
        if (request.print) return printCovers(request, pictures, fits, texts);
        // Transparent parts as they look on paper: the PDF carries each picture opaque.
        for (QImage& picture : pictures) picture = onWhitePaper(picture);
        const auto pixelsOf = [&pictures](int kind) {
            const QImage& p = pictures[std::size_t(kind - 1)];
            return pdf::BgrxPixels{p.constBits(), p.width(), p.height(), p.bytesPerLine()};
        };
        // Each cover's text, drawn once at print resolution; kept until the document is written.
        std::array<std::vector<TextOverlay>, kCoverKindCount> overlays;
        for (int kind = 1; kind <= kCoverKindCount; ++kind)
            if (texts[std::size_t(kind - 1)].hasText())
                overlays[std::size_t(kind - 1)] =
                    renderTextOverlays(kind, texts[std::size_t(kind - 1)], kPrintTextDotsPerInch);
        const auto overlaysOf = [&overlays](int kind) {
            std::vector<CoverOverlay> out;
            for (const TextOverlay& o : overlays[std::size_t(kind - 1)])
                out.push_back(
                    {{o.image.constBits(), o.image.width(), o.image.height(), o.image.bytesPerLine()}, o.rect});
            return out;
        };

        PrintJob job = planPrintJob(request.ticked, request.paper);
        for (PlannedPage& page : job.pages)
            std::erase_if(page.covers,
                          [&pictures](const PlacedCover& c) { return pictures[std::size_t(c.kind - 1)].isNull(); });
        std::erase_if(job.pages, [](const PlannedPage& p) { return p.covers.empty(); });
        if (job.pages.empty()) return fail(kFailure, "none of the ticked covers has a picture");
        pdf::Document document;
        for (const PlannedPage& page : job.pages) {
            PageOptions options{Placement::CentredOnSheet,
                                wholeSheet(page),
                                request.cutMarks,
                                request.calibration.value_or(Calibration{}),
                                {}};
            for (std::size_t i = 0; i < pictures.size(); ++i)
                options.pictures[i] = {pictures[i].width(), pictures[i].height(), fits[i]};
            const RenderedPage rendered = renderPage(page, options);
            noteOverhangs(rendered.overhangs, "paper");
            drawRenderedPage(document, rendered, pixelsOf, overlaysOf);
        }

        QByteArray bytes;
        document.write([&bytes](const void* data, std::size_t size) {
            bytes.append(static_cast<const char*>(data), qsizetype(size));
            return true;
        });
        if (!writeFileAtomically(QString::fromStdString(request.outputPdf), bytes))
            return fail(kFailure, "cannot write \"" + request.outputPdf + "\"");
    } catch (const std::bad_alloc&) {
        return fail(kFailure, "not enough memory for these pictures");
    }
    return 0;
}
