// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A disc-label job: the ticked disc kind's label laid out once (on plain paper or on the chosen label
// stock, calibrated as the queue's other jobs are) and sent through the printer object's steps, so the
// print command, the preview, the PDF export and kavi-cover draw the same label.
#include "covers/disc_page.h"
#include "document/cover_document.h"
#include "platform/print/printer.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <optional>

namespace kavi {

struct DiscPrintSelection {
    DiscKind kind = DiscKind::Disc;
    QImage picture;
    QByteArray originalJpeg; // the file's bytes while the picture is an unedited JPEG pick; else empty
    FitMode fit = FitMode::Fill;
    DiscGeometry geometry = kDiscLabel; // on plain paper; a stock brings its own ring
    DiscText text;
    DiscStockChoice stock;
    PaperChoice paper = PaperChoice::LetterAndLegal; // plain paper: Letter, or A4
    bool cutMarks = false;
    std::function<Calibration(const QString& queue, Orientation orientation)> calibrationOf;
    std::optional<Calibration> fileCalibration;
};

// The ticked disc kind's label as the document holds it; none when no disc kind is ticked.
std::optional<DiscPrintSelection> discPrintSelectionOf(const CoverDocument& document);

struct PreparedDiscJob {
    DiscJobLayout layout; // the sheets, calibrated; an error when there is nothing to print
    bool toFile = false;
    QString printer; // the queue; empty for a file
    bool printableKnown = true;
};

PreparedDiscJob prepareDiscJob(PrinterObject& printer, const DiscPrintSelection& selection, bool toFile);

// Sends every sheet: the picture inside each used ring, the curved text, the guides. True when the job
// was handed over.
bool sendPreparedDiscJob(PrinterObject& printer, const DiscPrintSelection& selection, const PreparedDiscJob& job);

} // namespace kavi
