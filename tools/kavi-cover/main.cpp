// SPDX-License-Identifier: GPL-3.0-or-later
// kavi-cover: the covers of a set of kinds as a PDF file at real size, or sent to a printer,
// without a window. The pages are the ones the print command makes for the same kinds ticked (see
// cover_arguments.h for the command line). Any failure prints one line, gives a non-zero status
// and writes nothing.
#include "coverset/cover_set_file.h"
#include "document/cover_document.h"
#include "output/print/cover_document_printing.h"
#include "tools/kavi-cover/cover_arguments.h"
#include "tools/kavi-cover/disc_output.h"
#include "tools/kavi-cover/exit_status.h"
#include "tools/kavi-cover/named_queue.h"
#include "tools/kavi-cover/request_layout.h"

#include "output/print/print_job.h"
#include "platform/files/label_templates.h"
#include "platform/files/program_folder.h"
#include "platform/imaging/picture_loader.h"
#include "platform/print/cups_printers.h"
#include "platform/print/printer.h"

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
    // A layout given on the command line goes into the set; without one the set keeps none.
    if (request.paperGiven || request.cutMarks || request.placement || request.hdAndBluRaySheet || request.dsSheet ||
        request.together || request.bleed) {
        const PrintLayoutSettings layout = layoutOfRequest(request, {});
        set.printLayout = CoverSetPrintLayout{layout.paper, layout.cutMarks, layout.choices};
    }
    for (const PictureArgument& cover : request.covers) {
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
int printCovers(const CoverMakerRequest& request, PrintSelection selection) {
    CupsPrinters system;
    NamedQueuePrinters named(system, QString::fromStdString(request.queue));
    PrinterSystem& printers = request.queue.empty() ? static_cast<PrinterSystem&>(system) : named;
    CupsPrinterObject printer(printers);
    if (!printer.setFollowDefault(true)) return fail(kFailure, whyNoPrinter(printers, request.queue));

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

// Writes the covers as a PDF file through the same printer object and job as the window's Export
// PDF, so the same covers give the same bytes; --offset and --scale correct the pages.
int writeCoversPdf(const CoverMakerRequest& request, PrintSelection selection) {
    selection.fileCalibration = request.calibration.value_or(Calibration{});
    CupsPrinters system;
    CupsPrinterObject printer(system);
    const QString file = QString::fromStdString(request.outputPdf);
    printer.printNextJobToFile(file);
    const PreparedJob job = prepareJob(printer, selection, true);
    if (job.pages.empty()) return fail(kFailure, "none of the ticked covers has a picture");
    for (const RenderedPage& page : job.pages) noteOverhangs(page.overhangs, "paper");
    if (!sendPreparedJob(printer, selection, job)) return fail(kFailure, "cannot write \"" + request.outputPdf + "\"");
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
        std::fputs(coverMakerFullUsage().c_str(), stdout);
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
        // The covers as a document, the way the window holds them, and what its print command reads
        // from it: pictures, fit modes, texts, and the JPEG files' own bytes for unedited JPEG pictures.
        CoverDocument document;
        if (!request.coverSet.empty()) {
            const QString path = QString::fromStdString(request.coverSet);
            const CoverSetReading reading = loadCoverSetFile(path);
            if (!reading.set) return fail(kFailure, coverSetProblemText(reading, path).toStdString());
            document.applyCoverSet(*reading.set);
            request.ticked = document.selection().ticked;
            if (!request.disc.stock.empty() &&
                std::find(request.ticked.begin(), request.ticked.end(), true) != request.ticked.end())
                return fail(kUsageError, discRequestError(request.disc, true));
            if (document.tickedDisc()) return printDiscLabel(request, document);
            if (std::none_of(request.ticked.begin(), request.ticked.end(), [](bool t) { return t; }))
                return fail(kFailure, "the cover set \"" + request.coverSet + "\" has no cover ticked for printing");
        }
        if (!request.saveSet.empty()) return saveCoverSet(request);
        if (request.disc.kind) {
            PictureLoad load = loadPictureFile(QString::fromStdString(request.disc.picture));
            if (load.status != PictureStatus::Loaded)
                return fail(kFailure, "\"" + request.disc.picture + "\" " + reasonOf(load.status));
            document.setPickedPicture(*request.disc.kind, std::move(load.picture), std::move(load.originalJpeg));
            document.setTicked(*request.disc.kind, true);
            return printDiscLabel(request, document);
        }
        for (const PictureArgument& cover : request.covers) {
            PictureLoad load = loadPictureFile(QString::fromStdString(cover.picture));
            if (load.status != PictureStatus::Loaded)
                return fail(kFailure, "\"" + cover.picture + "\" " + reasonOf(load.status));
            document.setPickedPicture(Kind(cover.kind), std::move(load.picture), std::move(load.originalJpeg));
        }
        if (request.fit)
            for (const Kind kind : Kind::all()) document.setFitMode(kind, *request.fit);
        // Only the ticked covers' pictures are decoded.
        PrintSelection selection = printSelectionOf(document);
        selection.ticked = request.ticked;
        selection.layout = layoutOfRequest(request, selection.layout);
        for (const Kind kind : Kind::all()) {
            if (!request.ticked[kind.index()] || !selection.pictures[kind.index()].isNull()) continue;
            // A ticked cover without a picture prints nothing, as in the print command, unless its
            // design has something to print.
            if (!document.picture(kind).hasPicture()) {
                if (document.design(kind).isPlain())
                    std::fprintf(stderr, "kavi-cover: note: the cover set has no picture for %s\n",
                                 coverKind(kind.number()).checkCaption);
            } else
                return fail(
                    kFailure,
                    coverSetProblemText({CoverSetProblem::Damaged, {}, 0, {}}, QString::fromStdString(request.coverSet))
                        .toStdString());
        }
        // A further picture of a ticked cover's design that does not decode stops the run, as the
        // cover's own picture does.
        for (const Kind kind : Kind::all()) {
            if (!request.ticked[kind.index()]) continue;
            for (const DesignPicture& picture : selection.designPictures[kind.index()])
                if (picture.pixels.isNull()) {
                    const std::string reason = std::string("the ") + coverKind(kind.number()).checkCaption +
                        " cover's design: a picture does not decode";
                    return fail(kFailure,
                                coverSetProblemText({CoverSetProblem::Damaged, {}, 0, reason},
                                                    QString::fromStdString(request.coverSet))
                                    .toStdString());
                }
        }
        if (request.print) return printCovers(request, std::move(selection));
        return writeCoversPdf(request, std::move(selection));
    } catch (const std::bad_alloc&) {
        return fail(kFailure, "not enough memory for these pictures");
    }
    return 0;
}
