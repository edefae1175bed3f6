// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's cover text and saved cover sets: the "Text..." button of each cover tab, the
// File menu's "Open Cover Set...", "Save Cover Set..." and the layouts' two entries, and the
// question about unsaved covers.
#include "app/main_window.h"

#include "app/cover_text_window.h"
#include "app/dialog_folders.h"
#include "app/folder_list.h"
#include "app/layout_result.h"
#include "app/layouts_menu.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "covers/cover_kinds.h"
#include "coverset/cover_set_file.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>

#include <algorithm>
#include <cstring>

namespace kavi {

namespace {

const QString kFilter = QStringLiteral("Kavi cover sets (*.kavi)");

} // namespace

void MainWindow::buildCoverSetMenu() {
    File->addSeparator()->setObjectName(QStringLiteral("linecoverset"));
    const auto add = [this](QAction*& action, const char* name, const QString& caption, auto handler) {
        action = File->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
    };
    add(OpenCoverSet, "OpenCoverSet", QStringLiteral("&Open Cover Set..."), [this] { OpenCoverSet_Click(); });
    add(SaveCoverSet, "SaveCoverSet", QStringLiteral("Save Cover Se&t..."), [this] { SaveCoverSet_Click(); });
    // New Cover From Layout... and Save As Layout..., owned by the window.
    new LayoutsMenu(
        *File, document_, platform.messages, programLayoutFolders(), [this](const QString& text) { ShowNotice(text); },
        this);
}

void MainWindow::Text_Click(int n) {
    CoverTextWindow window(layoutCoverOf(document_, Kind(n)), platform.saveDialog, this);
    if (window.exec() != QDialog::Accepted) return;
    putLayout(document_, Kind(n), window.text(), window.design(), window.pictures());
}

void MainWindow::setCoverText(int n, const CoverText& text) {
    document_.setText(Kind(n), text, CoverDocument::Unsaved::Keep);
}

CoverSet MainWindow::currentCoverSet() const { return document_.toCoverSet(); }

void MainWindow::applyCoverSet(const CoverSet& set) { document_.applyCoverSet(set); }

bool MainWindow::settleUnsavedWork() {
    if (!hasUnsavedWork()) return true;
    const MsgResult answer = platform.messages.show(
        {QStringLiteral("Your covers have changes that are not saved in a cover set. Save them now?"),
         QStringLiteral("Unsaved Covers"), MsgIcon::Exclamation, MsgButtons::SaveDiscardCancel, MsgDefault::First});
    if (answer == MsgResult::Discard) return true;
    if (answer == MsgResult::Save) return SaveCoverSet_Click();
    return false;
}

void MainWindow::OpenCoverSet_Click() {
    if (!settleUnsavedWork()) return;
    SaveDialogRequest request;
    request.title = QStringLiteral("Open Cover Set");
    request.filters = {kFilter};
    request.directory = dialogStartFolder(settingsFile, DialogFileKind::CoverSets, dirSelect->path());
    request.opensFile = true;
    request.confirmOverwrite = false;
    const SaveDialogResult chosen = platform.saveDialog.ask(request);
    if (!chosen.accepted || chosen.fileName.isEmpty()) return;
    rememberDialogFolder(settingsFile, DialogFileKind::CoverSets, chosen.fileName);
    setBusy(true);
    // The entries are checked and kept as stored; each picture is decoded when first needed.
    CoverSetReading reading = loadCoverSetFile(chosen.fileName);
    setBusy(false);
    const QString name = QFileInfo(chosen.fileName).fileName();
    if (!reading.set) {
        // Nothing of the open covers has changed: the file is read whole before any cover is touched.
        platform.messages.show(
            {coverSetProblemText(reading, name) + QStringLiteral("\n\nThe covers you have open are unchanged."),
             request.title, MsgIcon::Exclamation, MsgButtons::Ok, MsgDefault::First, true});
        return;
    }
    applyCoverSet(*reading.set);
    coverSetPath_ = chosen.fileName;
    ShowNotice(QStringLiteral("Opened the cover set \u201c%1\u201d.").arg(name));
}

bool MainWindow::SaveCoverSet_Click() {
    SaveDialogRequest request;
    request.title = QStringLiteral("Save Cover Set");
    request.filters = {kFilter};
    request.directory = dialogStartFolder(settingsFile, DialogFileKind::CoverSets, dirSelect->path());
    request.fileName = coverSetPath_.isEmpty() ? QStringLiteral("covers.kavi") : QFileInfo(coverSetPath_).fileName();
    request.defaultSuffix = QString::fromLatin1(kCoverSetSuffix);
    const SaveDialogResult chosen = platform.saveDialog.ask(request);
    if (!chosen.accepted || chosen.fileName.isEmpty()) return false;
    rememberDialogFolder(settingsFile, DialogFileKind::CoverSets, chosen.fileName);
    setBusy(true);
    const int error = saveCoverSetFile(chosen.fileName, currentCoverSet());
    setBusy(false);
    const QString name = QFileInfo(chosen.fileName).fileName();
    if (error != 0) {
        platform.messages.show({QStringLiteral("The covers could not be saved to \u201c%1\u201d: %2.")
                                    .arg(chosen.fileName, QString::fromLocal8Bit(std::strerror(error))),
                                request.title, MsgIcon::Critical, MsgButtons::Ok, MsgDefault::First, true});
        return false;
    }
    setUnsavedWork(false);
    coverSetPath_ = chosen.fileName;
    ShowNotice(QStringLiteral("Saved the covers to \u201c%1\u201d.").arg(name));
    return true;
}

} // namespace kavi
