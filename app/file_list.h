// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// fileSelect: the picture files of the current folder, one selectable at a time. The list holds
// plain strings in a model, so folders with tens of thousands of files fill and refresh quickly.
#include <QListView>
#include <QStringList>

class QStringListModel;

namespace kavi {

class FileList : public QListView {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    // Semicolon-separated wildcard patterns, matched without regard to case.
    static constexpr const char* kPattern = "*.GIF;*.JPG;*.JPEG;*.BMP;*.PNG;*.TIF;*.TIFF";

    QString path() const { return path_; }
    // Shows the files of folder. False (nothing changes) when it cannot be read.
    bool setPath(const QString& folder);
    // Re-reads the folder; the selection and scroll position stay where their entries still exist,
    // and no selection change is reported.
    void refresh();

    QStringList entries() const;
    // The selected entry's text, or empty.
    QString selectedEntry() const;
    void selectRow(int row);
    // Leaves no entry selected without reporting a change: nothing is loaded by it.
    void unselect();
    static bool matchesPattern(const QString& name);
    // The folder, a "/" unless it already ends with one, and the entry.
    static QString fullName(const QString& folder, const QString& entry);

signals:
    // The selection changed, by mouse or keyboard.
    void selectionChangedByUser();

private:
    QStringList readFiles(const QString& folder, bool* ok) const;
    QString path_;
    QStringListModel* model_;
};

} // namespace kavi
