// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The folders Kavi's own open and save dialogs start in: for each kind of file the folder last used
// for it, kept in the settings file's section of its own, else the folder being browsed.
#include <QString>

namespace kavi {

enum class DialogFileKind {
    CoverSets, // "Open Cover Set..." and "Save Cover Set..."
    Pdf, // "Export PDF..." and a print written to a PDF file
    CoverPictures, // "Save Cover Picture As..."
};

// The folder last used for kind (as kept in settingsFile) when it still exists, else browsing.
QString dialogStartFolder(const QString& settingsFile, DialogFileKind kind, const QString& browsing);

// Keeps the folder of a file the user chose in a dialog for kind. A failed write is not told: the
// dialog then starts where it would have anyway.
void rememberDialogFolder(const QString& settingsFile, DialogFileKind kind, const QString& chosenFile);

} // namespace kavi
