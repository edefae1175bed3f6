// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// drvSelect: the machine's drives, which here are the mount points of real file systems.
#include <QComboBox>
#include <QHash>

namespace kavi {

class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    // Re-reads the mount table, keeping the current drive when it is still mounted.
    void reload();
    QString drive() const { return currentData().toString(); }
    // Selects a listed drive. False when no such drive is listed or it cannot be read (not ready).
    bool setDrive(const QString& mountPoint);
    // The listed drive that holds a path (the longest mount point above it).
    QString driveOf(const QString& path) const;
    bool isReady(const QString& mountPoint) const;

    // The folder last shown on each drive, which the folder list returns to when the drive is chosen.
    QString currentFolderOf(const QString& mountPoint) const { return currentFolders_.value(mountPoint, mountPoint); }
    void rememberFolder(const QString& folder);

    // Opening the list re-reads the mount table, so drives mounted since start-up appear.
    void showPopup() override;

signals:
    // The user or code chose another drive.
    void driveChanged();

private:
    QHash<QString, QString> currentFolders_;
};

} // namespace kavi
