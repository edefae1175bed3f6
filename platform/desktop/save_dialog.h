// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The common save dialog (and its Open form): title, filters ("Description|*.ext" pairs), chosen filter, file name.
#include <QString>
#include <QStringList>

namespace kavi {

struct SaveDialogRequest {
    QString title;
    QStringList filters; // each "Description (*.a *.b)"
    int filterIndex = 0; // zero-based index of the filter shown first
    QString directory;
    QString fileName;
    QString defaultSuffix; // empty: no suffix is added
    bool confirmOverwrite = true;
    bool opensFile = false; // an Open dialog instead: the user picks a file that exists
};

struct SaveDialogResult {
    bool accepted = false;
    QString fileName;
    int filterIndex = 0; // zero-based index of the filter chosen
};

class SaveDialog {
public:
    virtual ~SaveDialog() = default;
    virtual SaveDialogResult ask(const SaveDialogRequest& request) = 0;
};

class QtSaveDialog final : public SaveDialog {
public:
    SaveDialogResult ask(const SaveDialogRequest& request) override;
};

} // namespace kavi
