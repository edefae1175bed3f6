// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Handing a PDF document to a CUPS destination as one print job.
#include "pdf/pdf_document.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace kavi {

using JobOptions = std::vector<std::pair<QByteArray, QByteArray>>;

// Creates the job, lets writeDocument send the document's bytes through the sink it is given and
// closes the job. False, with the job cancelled, when the server cannot be reached, refuses the job
// or stops answering for a minute, or when writeDocument fails.
bool printPdfJob(const QString& printer, const QString& title, const JobOptions& options,
                 const std::function<bool(const pdf::Sink&)>& writeDocument);

} // namespace kavi
