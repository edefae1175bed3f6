// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's picture browser: drive, folder and file lists, and picking a file into the
// slot of the tab that is showing.
#include "app/main_window.h"

#include "app/drive_list.h"
#include "app/file_exists.h"
#include "app/file_list.h"
#include "app/folder_list.h"
#include "app/notice_label.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "covers/cover_kinds.h"
#include "platform/imaging/picture_loader.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QMenu>
#include <QTimer>
#include <QToolBar>

namespace kavi {

namespace {

constexpr int kListRefreshMs = 10000;

QString failureNotice(PictureStatus status, const QString& fileName) {
    switch (status) {
    case PictureStatus::CannotOpen: return QStringLiteral("\u201c%1\u201d could not be opened.").arg(fileName);
    case PictureStatus::Incomplete:
        return QStringLiteral("\u201c%1\u201d is incomplete: the file ends before the picture does.").arg(fileName);
    case PictureStatus::TooLarge:
        return QStringLiteral("\u201c%1\u201d is too large to load into memory.").arg(fileName);
    case PictureStatus::NotAPicture:
    case PictureStatus::Loaded: break;
    }
    return QStringLiteral("\u201c%1\u201d is not a readable picture.").arg(fileName);
}

} // namespace

void MainWindow::buildPictureLists() {
    const ScreenUnits& s = platform.screen;
    drvSelect = new DriveList(Frame1);
    drvSelect->setGeometry(s.rect(120, 240, 4125, 315));
    dirSelect = new FolderList(Frame2);
    dirSelect->setGeometry(s.rect(120, 240, 4125, 1665));
    fileSelect = new FileList(Frame3);
    fileSelect->setGeometry(s.rect(120, 280, 4125, 2430));

    connect(drvSelect, &DriveList::driveChanged, this, [this] { drvSelect_Change(); });
    connect(dirSelect, &FolderList::pathChanged, this, [this] { dirSelect_Change(); });
    connect(fileSelect, &FileList::selectionChangedByUser, this, [this] { fileSelect_Click(); });

    // The lists start on the process's current folder.
    const QString start = QDir::currentPath();
    const QSignalBlocker blockDrive(drvSelect);
    const int index = drvSelect->findData(drvSelect->driveOf(start));
    if (index >= 0) drvSelect->setCurrentIndex(index);
    dirSelect->setRoot(drvSelect->drive().isEmpty() ? QStringLiteral("/") : drvSelect->drive());
    if (dirSelect->setPath(start) || dirSelect->setPath(QStringLiteral("/"))) {}

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kListRefreshMs);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(kListRefreshMs);
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2_Timer(); });
}

void MainWindow::drvSelect_Change() {
    const QString drive = drvSelect->drive();
    if (drvSelect->isReady(drive)) {
        dirSelect->setRoot(drive);
        if (dirSelect->setPath(drvSelect->currentFolderOf(drive)) && fileSelect->setPath(dirSelect->path())) return;
    }
    // A drive that cannot be read leaves the folder and file lists on their previous folder, shown
    // from the top of its own drive.
    const QString previousDrive = drvSelect->driveOf(dirSelect->path());
    dirSelect->setRoot(previousDrive.isEmpty() ? QStringLiteral("/") : previousDrive);
    dirSelect->refresh();
    fileSelect->refresh();
}

void MainWindow::dirSelect_Change() {
    drvSelect->rememberFolder(dirSelect->path());
    fileSelect->setPath(dirSelect->path());
    fileSelect->refresh();
    update();
}

void MainWindow::setBusy(bool busy) {
    Toolbar1->setEnabled(!busy);
    File->setEnabled(!busy);
    Edit->setEnabled(!busy);
    help->setEnabled(!busy);
    if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
}

int MainWindow::showingCover() const {
    const QString caption = SSTab1->tabText(SSTab1->currentIndex());
    for (const CoverKind& kind : kCoverKinds)
        if (caption == QString::fromUtf8(kind.tabCaption)) return kind.number;
    return 0; // the Scan tab
}

bool MainWindow::beginPictureLoad() {
    if (loadingPicture_) return false;
    loadingPicture_ = true;
    setBusy(true);
    return true;
}

void MainWindow::endPictureLoad() {
    loadingPicture_ = false;
    setBusy(false);
}

QString MainWindow::stillLoadingNotice(const QString& shownName) {
    return QStringLiteral("A picture is still loading, so \u201c%1\u201d was not loaded.").arg(shownName);
}

QString MainWindow::loadIntoCover(int number, const QString& fullName, const QString& shownName) {
    // Only an ordinary file is opened: reading a named pipe or a device would wait for ever.
    const QFileInfo info(fullName);
    if (info.isDir()) return QStringLiteral("\u201c%1\u201d is a folder, not a picture.").arg(shownName);
    if (info.exists() && !info.isFile())
        return QStringLiteral("\u201c%1\u201d is not an ordinary file, so it was not opened.").arg(shownName);
    // A file that does not load leaves the slot as it was.
    PictureLoad loaded = loadPictureFile(fullName);
    if (loaded.status != PictureStatus::Loaded) return failureNotice(loaded.status, shownName);
    document_.setPickedPicture(Kind(number), std::move(loaded.picture), std::move(loaded.originalJpeg));
    return {};
}

bool MainWindow::loadIntoShowingCover(const QString& fullName, const QString& shownName) {
    const int number = showingCover();
    if (number == 0) return loadIntoShowingDisc(fullName, shownName);
    const QString failure = loadIntoCover(number, fullName, shownName);
    if (!failure.isEmpty()) ShowNotice(failure);
    return true;
}

void MainWindow::fileSelect_Click() {
    const QString entry = fileSelect->selectedEntry();
    if (!beginPictureLoad()) {
        if (!entry.isEmpty()) ShowNotice(stillLoadingNotice(entry));
        return;
    }
    if (!entry.isEmpty()) loadIntoShowingCover(FileList::fullName(fileSelect->path(), entry), entry);
    endPictureLoad();
}

void MainWindow::openPicture(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (!beginPictureLoad()) {
        ShowNotice(stillLoadingNotice(name));
        return;
    }
    if (!loadIntoShowingCover(path, name)) ShowNotice(scanTabNotice(name));
    endPictureLoad();
}

QString MainWindow::scanTabNotice(const QString& shownName) {
    return QStringLiteral("\u201c%1\u201d was not loaded: the Scan tab has no cover.").arg(shownName);
}

// A new tab starts with nothing picked, so the next click on any file, the one still highlighted
// from the previous tab included, is a pick for the tab now showing.
void MainWindow::SSTab1_Click() { fileSelect->unselect(); }

void MainWindow::Timer1_Timer() { fileSelect->refresh(); }

void MainWindow::Timer2_Timer() { dirSelect->refresh(); }

bool MainWindow::FileExists(const QString& FileName) const { return fileExists(FileName); }

} // namespace kavi
