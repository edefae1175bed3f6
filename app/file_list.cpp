// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_list.h"

#include "platform/files/directory.h"

#include <QDir>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringListModel>

#include <cstring>
#include <strings.h>

namespace kavi {

FileList::FileList(QWidget* parent) : QListView(parent), model_(new QStringListModel(this)) {
    setObjectName(QStringLiteral("fileSelect"));
    setToolTip(QStringLiteral("Available files."));
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit selectionChangedByUser(); });
}

namespace {

// kPattern: the extension decides, in any case.
bool matchesRawName(const char* name, std::size_t length) {
    const char* dot = static_cast<const char*>(memrchr(name, '.', length));
    if (!dot) return false;
    const char* ext = dot + 1;
    for (const char* e : {"GIF", "JPG", "JPEG", "BMP", "PNG", "TIF", "TIFF"})
        if (strcasecmp(ext, e) == 0) return true;
    return false;
}

} // namespace

bool FileList::matchesPattern(const QString& name) {
    const QByteArray raw = name.toUtf8();
    return matchesRawName(raw.constData(), std::size_t(raw.size()));
}

QString FileList::fullName(const QString& folder, const QString& entry) {
    return folder.endsWith('/') ? folder + entry : folder + '/' + entry;
}

QStringList FileList::readFiles(const QString& folder, bool* ok) const {
    DirectoryListing listing = readDirectory(folder, matchesRawName);
    *ok = listing.ok;
    return std::move(listing.files);
}

bool FileList::setPath(const QString& folder) {
    bool ok = false;
    const QStringList files = readFiles(folder, &ok);
    if (!ok) return false;
    path_ = folder;
    {
        const QSignalBlocker block(selectionModel());
        model_->setStringList(files);
    }
    scrollToTop();
    return true;
}

void FileList::refresh() {
    if (path_.isEmpty()) return;
    bool ok = false;
    QStringList files = readFiles(path_, &ok);
    if (!ok) files.clear(); // the folder is gone: nothing to show until the folder list moves on
    if (files == model_->stringList()) return;
    const QString selected = selectedEntry();
    const int scroll = verticalScrollBar()->value();
    const QSignalBlocker block(selectionModel());
    model_->setStringList(files);
    const int keep = int(files.indexOf(selected));
    if (keep >= 0) {
        const QModelIndex index = model_->index(keep);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    }
    verticalScrollBar()->setValue(scroll);
}

QStringList FileList::entries() const { return model_->stringList(); }

QString FileList::selectedEntry() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : rows.first().data().toString();
}

void FileList::selectRow(int row) {
    selectionModel()->setCurrentIndex(model_->index(row), QItemSelectionModel::ClearAndSelect);
}

void FileList::unselect() {
    {
        const QSignalBlocker block(selectionModel());
        selectionModel()->clearSelection();
    }
    viewport()->update(); // the view itself missed the blocked change
}

} // namespace kavi
