// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The print choices (placement, the sheet per kind, covers together, the bleed) and the queue Print To...
// chose last, in the settings file's "PRINT LAYOUT" section. A choice at its default is written only
// over a value already there, so a user who never changes one finds the section as it was; a missing
// or damaged value reads as the default.
#include "covers/print_choices.h"

#include <QString>

#include <optional>

namespace kavi {

PrintChoices readPrintChoices(const QString& settingsFile);
// False when the file could not be written.
bool writePrintChoices(const QString& settingsFile, const PrintChoices& choices);

// The words of the settings file, which kavi-cover's options use too: "corner", "centre", "marks".
QString placementWord(Placement placement);
std::optional<Placement> placementOfWord(const QString& word);
// The bleed as the settings file and kavi-cover write it: its millimetres, "0", "2" or "3".
QString bleedWord(Bleed bleed);
std::optional<Bleed> bleedOfWord(const QString& word);

// The queue Print To... sent the last job to; empty when none.
QString readPrintToQueue(const QString& settingsFile);
bool writePrintToQueue(const QString& settingsFile, const QString& queue);

} // namespace kavi
