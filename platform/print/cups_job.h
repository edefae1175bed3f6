// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Handing a PDF document to a CUPS destination as one print job.
#include "formats/pdf/pdf_document.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace kavi {

using JobOptions = std::vector<std::pair<QByteArray, QByteArray>>;

// Creates the job, lets writeDocument send the document's bytes through the sink it is given and
// closes the job. False, with the job cancelled, when the server cannot be reached, refuses the job
// or stops answering for a few seconds, or when writeDocument fails. A job that cannot be cancelled
// then (the server is gone or silent) is cancelled once the server answers again: at the next job,
// or when cancelLeftoverJobs finds it answering. Call it on a thread that may wait.
bool printPdfJob(const QString& printer, const QString& title, const JobOptions& options,
                 const std::function<bool(const pdf::Sink&)>& writeDocument);

// Cancels the jobs left by sends that broke off, where the server answers now; silent either way.
void cancelLeftoverJobs();

} // namespace kavi
