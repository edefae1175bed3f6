// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// kavi-cover's disc labels: the ticked disc kind of the document (from disc=PICTURE or a cover set)
// printed alone on plain paper or on the stock named, as a PDF file or to a printer.
#include "document/cover_document.h"
#include "tools/kavi-cover/cover_arguments.h"

namespace kavi {

// Runs the disc-label job; the exit status. Failures print one line on stderr and write nothing.
int printDiscLabel(const CoverMakerRequest& request, CoverDocument& document);

// The folders given with --templates, each of which must exist; an error line or empty.
std::string missingTemplateFolder(const std::vector<std::string>& folders);

} // namespace kavi
