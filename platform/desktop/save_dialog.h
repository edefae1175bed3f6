#pragma once
// The common save dialog: title, filters ("Description|*.ext" pairs), chosen filter, file name.
#include <QString>
#include <QStringList>

namespace kavi {

struct SaveDialogRequest {
    QString title;
    QStringList filters;        // each "Description (*.a *.b)"
    int filterIndex = 0;        // zero-based index of the filter shown first
    QString directory;
    QString fileName;
    QString defaultSuffix;      // empty: no suffix is added
    bool confirmOverwrite = true;
};

struct SaveDialogResult {
    bool accepted = false;
    QString fileName;
    int filterIndex = 0;        // zero-based index of the filter chosen
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
