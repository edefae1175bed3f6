#include "file_list.h"

#include "directory.h"

#include <QDir>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringListModel>

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

bool FileList::matchesPattern(const QString& name) {
    // *.GIF;*.JPG;*.JPEG;*.BMP: the extension decides, in any case.
    const int dot = int(name.lastIndexOf('.'));
    if (dot < 0) return false;
    const QString ext = name.mid(dot + 1);
    for (const char* e : {"GIF", "JPG", "JPEG", "BMP"})
        if (ext.compare(QLatin1String(e), Qt::CaseInsensitive) == 0) return true;
    return false;
}

QString FileList::fullName(const QString& folder, const QString& entry) {
    return folder.endsWith('/') ? folder + entry : folder + '/' + entry;
}

QStringList FileList::readFiles(const QString& folder, bool* ok) const {
    const DirectoryListing listing = readDirectory(folder);
    *ok = listing.ok;
    QStringList out;
    out.reserve(listing.files.size());
    for (const QString& name : listing.files)
        if (matchesPattern(name)) out.append(name);
    return out;
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

} // namespace kavi
