// SPDX-License-Identifier: GPL-3.0-or-later
// Picture files dragged from a file manager onto the main window: a drop on a cover's picture loads
// into that cover, a drop anywhere else into the cover whose tab shows, the way a pick does.
#include "app/main_window.h"

#include "app/dropped_files.h"
#include "app/notice_label.h"
#include "app/picture_slot.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>

namespace kavi {

namespace {

// Only a list of addresses is taken, and only as a copy: a source offered a move would delete its file.
bool offersFilesToCopy(const QDropEvent& event) {
    return event.mimeData() && event.mimeData()->hasUrls() && (event.possibleActions() & Qt::CopyAction);
}

} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!offersFilesToCopy(*event)) return event->ignore();
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (!offersFilesToCopy(*event)) return event->ignore();
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void MainWindow::dropEvent(QDropEvent* event) {
    event->ignore();
    if (!offersFilesToCopy(*event)) return;
    const DroppedFiles dropped = droppedFiles(*event->mimeData());
    const QStringList& files = dropped.localFiles;
    if (files.isEmpty()) {
        if (!dropped.firstElsewhere.isEmpty())
            ShowNotice(QStringLiteral("\u201c%1\u201d is not a file on this computer, so it was not loaded.")
                           .arg(dropped.firstElsewhere));
        return;
    }
    const QString firstName = QFileInfo(files.first()).fileName();
    const int number = coverAt(event->position().toPoint());
    if (number == 0) return ShowNotice(scanTabNotice(firstName));
    if (!beginPictureLoad()) return ShowNotice(stillLoadingNotice(firstName));
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The drag ends in the file manager first; the picture decodes afterwards, in the busy state.
    QTimer::singleShot(0, this, [this, number, files] { loadDroppedFiles(number, files); });
}

void MainWindow::loadDroppedFiles(int number, const QStringList& files) {
    QString firstFailure;
    bool loaded = false;
    for (const QString& file : files) {
        const QString failure = loadIntoCover(number, file, QFileInfo(file).fileName());
        loaded = failure.isEmpty();
        if (loaded) break;
        if (firstFailure.isEmpty()) firstFailure = failure;
    }
    endPictureLoad();
    // No press in this window came between, so an older notice is taken away here.
    if (loaded) return lblNotice->dismiss();
    if (files.size() == 1) ShowNotice(firstFailure);
    else ShowNotice(QStringLiteral("None of the %1 dropped files loaded. ").arg(files.size()) + firstFailure);
}

int MainWindow::coverAt(const QPoint& at) const {
    for (const QWidget* w = childAt(at); w != nullptr; w = w->parentWidget())
        for (Kind kind : Kind::all())
            if (w == Image(kind.number())) return kind.number();
    return showingCover();
}

} // namespace kavi
