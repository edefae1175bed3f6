// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A print job made ready from the page plan: every page laid out once (covers placed on the sheet,
// marks, the queue's calibration) and then sent through the printer object's steps. The print
// command, the preview and the PDF export all send jobs made here, so they cannot disagree.
#include "covers/cover_design.h"
#include "covers/cover_kinds.h"
#include "covers/cover_text.h"
#include "covers/fit_mode.h"
#include "covers/page_render.h"
#include "output/print/print_layout_settings.h"
#include "platform/print/printer.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace kavi {

// A further picture of a cover's design: its pixels (with transparency where it has any) and, for an
// unedited JPEG file, the file's bytes, which a job may carry instead of the pixels.
struct DesignPicture {
    QImage pixels;
    QByteArray originalJpeg;
};

// What the print command reads from the main window: the ten "Print Options" ticks and the
// pictures of the ten slots (each kind at its Kind::index()), with the chosen print layout and
// where each queue's calibration is kept.
struct PrintSelection {
    KindFlags ticked{};
    std::array<QImage, kCoverKindCount> pictures;
    std::array<FitMode, kCoverKindCount> fitModes{}; // how each slot's picture fills its cover; Stretch unless set
    std::array<CoverText, kCoverKindCount> texts; // drawn over each cover's picture, sharp at print resolution
    // For each slot whose picture is an unedited JPEG file, the file's bytes as read at the pick
    // (empty for the others): the job may carry the file instead of the pixels.
    std::array<QByteArray, kCoverKindCount> originalJpegs;
    // Each cover's design (background, further pictures, track lists, end strips); plain unless set.
    std::array<CoverDesign, kCoverKindCount> designs;
    // The further pictures each design's picture layers name by index.
    std::array<std::vector<DesignPicture>, kCoverKindCount> designPictures;
    PrintLayoutSettings layout;
    // The calibration of a queue for pages of that orientation; none when not set.
    std::function<Calibration(const QString& queue, Orientation orientation)> calibrationOf;
    // The correction a PDF file's pages get (kavi-cover's --offset and --scale); none in the window.
    std::optional<Calibration> fileCalibration;
    QString pdfFolder; // where the dialog for a PDF file starts; empty: the dialog's own choice
};

struct PreparedJob {
    PrintJob plan; // the plan without covers that have no picture
    std::vector<RenderedPage> pages; // one per page of the plan, in order
    bool toFile = false; // written as a PDF file: covers centred, no margins, no calibration unless given
    QString printer; // the queue it goes to; empty for a file
    bool printableKnown = true; // false when the printer could not tell its printable area
};

// The captions of the ticked covers whose slot holds no picture, in drawing order.
std::vector<QString> coversWithoutPicture(const PrintSelection& selection);

// Lays the job out for the printer object's next job: a printer, or (toFile) the PDF file it was told to write.
PreparedJob prepareJob(PrinterObject& printer, const PrintSelection& selection, bool toFile);

// Sends the job's printer steps in order, with copies when more than one; a failing step is
// skipped. True when the job was handed over.
bool sendPreparedJob(PrinterObject& printer, const PrintSelection& selection, const PreparedJob& job, int copies = 1);

} // namespace kavi
