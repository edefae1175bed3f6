// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// dirSelect: the current drive's folder tree down to the current folder, then its sub-folders.
// Opening an entry (double-click or Enter) makes it the current folder.
#include <QListWidget>

namespace kavi {

class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    QString path() const { return path_; }
    // Makes folder the current one. False (nothing changes) when it is not a readable folder.
    bool setPath(const QString& folder);
    // Re-reads the sub-folders from disk, keeping the highlighted entry and the scroll position.
    void refresh();
    // The drive's root above which the tree is not shown.
    void setRoot(const QString& root) { root_ = root; }

signals:
    void pathChanged();

private:
    void fill();
    QStringList entriesFor(QStringList* fullPaths) const;
    QString path_;
    QString root_ = QStringLiteral("/");
    QStringList shownPaths_;
};

} // namespace kavi
