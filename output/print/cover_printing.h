// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The print command and the PDF export: every ticked cover kind at its real size, in one job.
#include "output/print/print_job.h"
#include "platform/platform.h"

#include <QString>

class QPushButton;

namespace kavi {

// What became of a print command or an export, for the notice that confirms it.
struct PrintOutcome {
    bool sent = false;
    int pages = 0;
    QString printer; // the queue the job went to; empty for a file
    QString file; // the PDF file written; empty for a printer
};

// The print command (the "Print" button): names the ticked covers that have no picture (they are
// left out, the others keep their places), warns of covers that reach outside the printer's
// printable area, asks the paper question, then drives the printer object through the steps of
// the page plan. A failing step is skipped. When no printer can be used, says why and offers to
// save the same job as a PDF file.
PrintOutcome printCovers(Platform& platform, const PrintSelection& selection);

// Asks the questions of the print command that come before sending (covers without a picture,
// covers that do not fit, the paper question); true when the user answers OK to all of them.
bool confirmBeforeSending(Platform& platform, const PrintSelection& selection, const PreparedJob& job);

// "Export PDF...": the same pages at real size in a PDF file the user names, covers centred on the
// sheet. Says so when the file could not be written.
PrintOutcome exportCoversPdf(Platform& platform, const PrintSelection& selection);

// Why no printer can take a job: the print service does not answer (queues may well be set up),
// no printer is installed, or none of them is the default.
QString whyNoPrinter(PrinterSystem& printers);

// Tells the user that a job for the named printer did not go out (the queue went away, stopped
// taking jobs, or the print service stopped answering while it was sent).
void sayJobNotSent(MessageBoxes& messages, const QString& printer);

// The confirmation shown once a job went out ("Sent 2 pages to Office."), empty when nothing was sent.
QString outcomeNotice(const PrintOutcome& outcome);

// The print request of the menu and toolbar: presses cmdPrint when it is enabled, otherwise says
// that nothing is selected.
void requestPrint(Platform& platform, QPushButton& cmdPrint);

} // namespace kavi
