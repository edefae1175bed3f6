// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/folder_list.h"

#include "platform/files/directory.h"

#include <QDir>
#include <QFileInfo>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>

namespace kavi {

namespace {
constexpr int kIndent = 3; // blanks per level of the tree
}

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("dirSelect"));
    setToolTip(QStringLiteral("Current directory."));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const QString target = item->data(Qt::UserRole).toString();
        if (target != path_) setPath(target);
    });
}

bool FolderList::setPath(const QString& folder) {
    if (folder.isEmpty()) return false;
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable()) return false;
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    if (!readDirectory(clean).ok) return false;
    path_ = clean;
    fill();
    emit pathChanged();
    return true;
}

QStringList FolderList::entriesFor(QStringList* fullPaths) const {
    QStringList labels;
    // The chain from the drive's root down to the current folder.
    QStringList chain;
    for (QString p = path_;; p = QFileInfo(p).path()) {
        chain.prepend(p);
        if (p == root_ || p == QStringLiteral("/") || !p.startsWith(root_)) break;
    }
    int depth = 0;
    for (const QString& p : chain) {
        labels << QString(depth * kIndent, ' ') + (depth == 0 ? p : QFileInfo(p).fileName());
        *fullPaths << p;
        ++depth;
    }
    const DirectoryListing listing = readDirectory(path_);
    for (const QString& name : listing.folders) {
        labels << QString(depth * kIndent, ' ') + name;
        *fullPaths << QDir(path_).filePath(name);
    }
    return labels;
}

void FolderList::fill() {
    QStringList paths;
    const QStringList labels = entriesFor(&paths);
    if (paths == shownPaths_) return;
    const QSignalBlocker block(this);
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    clear();
    for (int i = 0; i < labels.size(); ++i) {
        const bool onChain = paths[i].size() <= path_.size() && path_.startsWith(paths[i]);
        auto* item = new QListWidgetItem(onChain ? open : closed, labels[i]);
        item->setData(Qt::UserRole, paths[i]);
        addItem(item);
        if (paths[i] == path_) setCurrentItem(item);
    }
    shownPaths_ = paths;
}

void FolderList::refresh() {
    if (path_.isEmpty()) return;
    const QString highlighted = currentItem() ? currentItem()->data(Qt::UserRole).toString() : QString();
    const int scroll = verticalScrollBar()->value();
    if (!QFileInfo(path_).isDir()) {
        // The folder was deleted while shown: go up to the nearest folder that still exists.
        QString p = path_;
        while (!QFileInfo(p).isDir() && p != QStringLiteral("/")) p = QFileInfo(p).path();
        setPath(p);
        return;
    }
    QStringList paths;
    entriesFor(&paths);
    if (paths == shownPaths_) return;
    fill();
    const QSignalBlocker block(this);
    const int keep = int(shownPaths_.indexOf(highlighted));
    if (keep >= 0) setCurrentRow(keep);
    verticalScrollBar()->setValue(scroll);
}

} // namespace kavi
