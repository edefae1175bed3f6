// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The print layout the user chose (paper and cut marks) and each printer queue's calibration, kept
// in the settings file in sections of their own, "PRINT LAYOUT" and "CALIBRATION <queue>", beside
// the main window's section. Nothing is written until the user changes one of them, and a missing
// or damaged value reads as the default, so a settings file without them prints as it always did.
#include "covers/calibration.h"
#include "covers/paper.h"
#include "covers/print_choices.h"

#include <QString>

namespace kavi {

struct PrintLayoutSettings {
    PrintLayoutSettings(PaperChoice paper = PaperChoice::LetterAndLegal, bool cutMarks = false,
                        PrintChoices choices = {})
        : paper(paper), cutMarks(cutMarks), choices(choices) {}
    PaperChoice paper = PaperChoice::LetterAndLegal;
    bool cutMarks = false;
    PrintChoices choices; // placement, the sheet per kind, covers together (print_choices_settings.h)
    friend bool operator==(const PrintLayoutSettings&, const PrintLayoutSettings&) = default;
};

PrintLayoutSettings readPrintLayout(const QString& settingsFile);
// False when the file could not be written.
bool writePrintLayout(const QString& settingsFile, const PrintLayoutSettings& settings);

// The queue's correction for pages of that orientation; none (the identity) when it has none, or
// when any of its four values is damaged or out of range, since half a correction is worse than none.
Calibration readCalibration(const QString& settingsFile, const QString& queue, Orientation orientation);
// Refuses (false) a calibration whose values are out of range, and a queue without a name.
bool writeCalibration(const QString& settingsFile, const QString& queue, Orientation orientation,
                      const Calibration& calibration);

} // namespace kavi
