// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/kavi-cover/disc_output.h"
#include "tools/kavi-cover/exit_status.h"

#include "output/print/disc_print_job.h"
#include "output/print/print_layout_settings.h"
#include "platform/files/label_templates.h"
#include "platform/files/program_folder.h"
#include "platform/print/cups_printers.h"
#include "platform/print/printer.h"
#include "tools/kavi-cover/named_queue.h"

#include <QFileInfo>

#include <cstdio>

namespace kavi {

namespace {

// The stock named on the command line, from the template folders; an error line when there is none.
std::optional<DiscLabelStock> findStock(const DiscRequest& disc, std::string& error) {
    QStringList given;
    for (const std::string& folder : disc.templateFolders) given << QString::fromStdString(folder);
    const labels::StockList list = labels::readDiscStocks(labels::templateFolders(given));
    for (const QString& skipped : list.skippedFiles)
        std::fprintf(stderr, "kavi-cover: note: left out %s\n", skipped.toLocal8Bit().constData());
    for (const DiscLabelStock& stock : list.stocks)
        if (stock.name() == disc.stock) return stock;
    error = "unknown label stock \"" + disc.stock + "\" (kavi-cover --stocks lists the stocks found)";
    return std::nullopt;
}

} // namespace

std::string missingTemplateFolder(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders)
        if (!QFileInfo(QString::fromStdString(folder)).isDir()) return "no template folder \"" + folder + "\"";
    return {};
}

int printDiscLabel(const CoverMakerRequest& request, CoverDocument& document) {
    const DiscRequest& disc = request.disc;
    if (const std::string missing = missingTemplateFolder(disc.templateFolders); !missing.empty())
        return fail(kUsageError, missing);
    const DiscKind kind = *document.tickedDisc();
    if (disc.geometry) document.setGeometry(kind, *disc.geometry);
    if (request.fit) document.setFitMode(kind, *request.fit);

    DiscStockChoice choice = document.stockChoice();
    if (!disc.stock.empty()) {
        std::string error;
        choice.stock = findStock(disc, error);
        if (!choice.stock) return fail(kUsageError, error);
    }
    if (!disc.stock.empty() || disc.startLabel != 1) choice.startLabel = disc.startLabel;
    if (disc.copies != 1 || !disc.stock.empty()) choice.copies = disc.copies;
    const int labels = choice.stock ? int(choice.stock->centres.size()) : 1;
    if (choice.startLabel > labels)
        return fail(kUsageError,
                    "--start " + std::to_string(choice.startLabel) + " is past the last label of " +
                        (choice.stock ? choice.stock->name() : std::string("plain paper")) + " (" +
                        std::to_string(labels) + ")");
    document.setStockChoice(choice);

    DiscPrintSelection selection = *discPrintSelectionOf(document);
    selection.paper = request.paper;
    selection.cutMarks = request.cutMarks;

    CupsPrinters system;
    if (!request.print) {
        selection.fileCalibration = request.calibration.value_or(Calibration{});
        CupsPrinterObject printer(system);
        printer.printNextJobToFile(QString::fromStdString(request.outputPdf));
        const PreparedDiscJob job = prepareDiscJob(printer, selection, true);
        if (!job.layout.error.empty()) return fail(kFailure, job.layout.error);
        if (!sendPreparedDiscJob(printer, selection, job))
            return fail(kFailure, "cannot write \"" + request.outputPdf + "\"");
        return 0;
    }
    NamedQueuePrinters named(system, QString::fromStdString(request.queue));
    PrinterSystem& printers = request.queue.empty() ? static_cast<PrinterSystem&>(system) : named;
    CupsPrinterObject printer(printers);
    if (!printer.setFollowDefault(true)) return fail(kFailure, "no printer can take the job");
    if (request.calibration)
        selection.calibrationOf = [c = *request.calibration](const QString&, Orientation) { return c; };
    else
        selection.calibrationOf = [file = inProgramFolder(QStringLiteral("kavi4.ini"))](const QString& queue,
                                                                                        Orientation orientation) {
            return readCalibration(file, queue, orientation);
        };
    const PreparedDiscJob job = prepareDiscJob(printer, selection, false);
    if (!job.layout.error.empty()) return fail(kFailure, job.layout.error);
    if (!job.printableKnown)
        return fail(kFailure, "the printer " + job.printer.toStdString() + " cannot tell its printable area");
    if (!sendPreparedDiscJob(printer, selection, job))
        return fail(kFailure, "the job could not be sent to " + job.printer.toStdString());
    std::printf("sent %zu page%s to %s\n", job.layout.sheets.size(), job.layout.sheets.size() == 1 ? "" : "s",
                job.printer.toStdString().c_str());
    return 0;
}

} // namespace kavi
