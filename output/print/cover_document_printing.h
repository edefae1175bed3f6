// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the print command, the preview and the PDF export take from the cover document, and the
// print layout between the document and the settings file's form of it.
#include "document/cover_document.h"
#include "output/print/print_job.h"
#include "output/print/print_layout_settings.h"

namespace kavi {

PrintLayoutSettings printLayoutSettingsOf(const DocumentPrintLayout& layout);
DocumentPrintLayout documentPrintLayoutOf(const PrintLayoutSettings& settings);

// The ticks, pictures, fits, texts, designs with their further pictures, JPEG files and layout of
// the document. A cover that is not ticked keeps its opened pictures undecoded. The PDF folder and the calibrations are
// the caller's.
PrintSelection printSelectionOf(const CoverDocument& document);

} // namespace kavi
