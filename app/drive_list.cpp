// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/drive_list.h"

#include "platform/files/mounts.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>

namespace kavi {

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("drvSelect"));
    setToolTip(QStringLiteral("Current drive."));
    reload();
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit driveChanged(); });
}

void DriveList::reload() {
    const QString current = drive();
    const QSignalBlocker block(this);
    clear();
    for (const MountPoint& m : realFileSystemMounts()) {
        const QString path = QString::fromStdString(m.path);
        addItem(QStringLiteral("%1   [%2]").arg(path, QString::fromStdString(m.fsType)), path);
    }
    const int keep = findData(current);
    if (keep >= 0) setCurrentIndex(keep);
}

void DriveList::showPopup() {
    reload();
    QComboBox::showPopup();
}

bool DriveList::isReady(const QString& mountPoint) const {
    const QFileInfo info(mountPoint);
    return info.isDir() && info.isReadable() && QDir(mountPoint).isReadable();
}

bool DriveList::setDrive(const QString& mountPoint) {
    const int index = findData(mountPoint);
    if (index < 0 || !isReady(mountPoint)) return false;
    if (index == currentIndex()) emit driveChanged();
    else setCurrentIndex(index);
    return true;
}

QString DriveList::driveOf(const QString& path) const {
    QString best;
    for (int i = 0; i < count(); ++i) {
        const QString m = itemData(i).toString();
        const bool holds = m == QStringLiteral("/") ? path.startsWith('/') : (path == m || path.startsWith(m + '/'));
        if (holds && m.size() > best.size()) best = m;
    }
    return best;
}

void DriveList::rememberFolder(const QString& folder) {
    const QString d = driveOf(folder);
    if (!d.isEmpty()) currentFolders_.insert(d, folder);
}

} // namespace kavi
