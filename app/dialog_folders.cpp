// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialog_folders.h"

#include "platform/files/profile.h"

#include <QFileInfo>

namespace kavi {

namespace {

const QString kSection = QStringLiteral("FOLDERS");
constexpr int kValueBuffer = 2000;

QString keyOf(DialogFileKind kind) {
    switch (kind) {
    case DialogFileKind::CoverSets: return QStringLiteral("CoverSets");
    case DialogFileKind::Pdf: return QStringLiteral("PDF");
    case DialogFileKind::CoverPictures: return QStringLiteral("CoverPictures");
    }
    return {};
}

// Reading trims blanks and removes one pair of quotes, so such a path is written inside quotes.
QString quotedIfNeeded(const QString& path) {
    const bool quote = path != path.trimmed() || path.startsWith('"') || path.startsWith('\'');
    return quote ? '"' + path + '"' : path;
}

} // namespace

QString dialogStartFolder(const QString& settingsFile, DialogFileKind kind, const QString& browsing) {
    const QString last = profile::getString(kSection, keyOf(kind), QString(), kValueBuffer, settingsFile);
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : browsing;
}

void rememberDialogFolder(const QString& settingsFile, DialogFileKind kind, const QString& chosenFile) {
    if (chosenFile.isEmpty()) return;
    const QString folder = QFileInfo(chosenFile).absolutePath();
    if (folder != profile::getString(kSection, keyOf(kind), QString(), kValueBuffer, settingsFile))
        profile::writeString(kSection, keyOf(kind), quotedIfNeeded(folder), settingsFile);
}

} // namespace kavi
