// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The print command and the PDF export for a ticked disc kind (a disc label prints alone), and the refusal
// to print case covers on disc label stock.
#include "output/print/cover_printing.h"
#include "output/print/disc_print_job.h"

namespace kavi {

// The label to the default printer on plain paper or the chosen stock, with the queue's calibration; with
// no printer to take it, says why and offers a PDF file instead.
PrintOutcome printDiscLabel(Platform& platform, const DiscPrintSelection& selection, const QString& pdfFolder);

// The label as a PDF file the user names: centred on plain paper, or the stock's sheets.
PrintOutcome exportDiscPdf(Platform& platform, const DiscPrintSelection& selection, const QString& pdfFolder);

// Case covers are not printed on disc label stock: with a stock chosen and a case kind ticked, says so and
// returns true (nothing is printed).
bool refuseCaseCoversOnStock(MessageBoxes& messages, const CoverDocument& document);

// Print To... sends case covers to a queue of the user's choice; a ticked disc label prints with Print,
// on the stock's sheets. With a disc label ticked, says so and returns true (nothing is printed).
bool refuseDiscLabelForPrintTo(MessageBoxes& messages, const CoverDocument& document);

} // namespace kavi
