// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/save_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace kavi {

SaveDialogResult QtSaveDialog::ask(const SaveDialogRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setAcceptMode(request.opensFile ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(request.opensFile ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(request.filters);
    if (request.filterIndex >= 0 && request.filterIndex < request.filters.size())
        dialog.selectNameFilter(request.filters.at(request.filterIndex));
    if (!request.directory.isEmpty()) dialog.setDirectory(request.directory);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    SaveDialogResult result;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return result;
    result.accepted = true;
    result.fileName = QDir::toNativeSeparators(dialog.selectedFiles().first());
    result.filterIndex = int(request.filters.indexOf(dialog.selectedNameFilter()));
    if (result.filterIndex < 0) result.filterIndex = 0;
    return result;
}

} // namespace kavi
