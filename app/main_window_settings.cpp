// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's settings: current tab, ticks, drive and folder, kept in kavi4.ini.
#include "app/main_window.h"

#include "app/drive_list.h"
#include "app/folder_list.h"
#include "app/tab_strip.h"
#include "covers/cover_kinds.h"
#include "platform/files/profile.h"

namespace kavi {

namespace {
const QString kSection = QStringLiteral("MAIN");
constexpr int kValueBuffer = 2000;
} // namespace

bool MainWindow::readSettings() {
    auto value = [this](const QString& key) {
        return profile::getString(kSection, key, QString(), kValueBuffer, settingsFile);
    };

    const QString tab = value(QStringLiteral("Tab"));
    int tabIndex = 0;
    for (int i = 0; i <= kScanTabIndex + kDiscKindCount; ++i) // 11 and 12: the disc kinds' tabs
        if (tab == QString::number(i)) tabIndex = i;
    SSTab1->setCurrentIndex(tabIndex);

    for (const CoverKind& kind : kCoverKinds)
        document_.setTicked(Kind(kind.number), value(QString::fromUtf8(kind.settingsKey)) == QStringLiteral("1"));

    if (!drvSelect->setDrive(value(QStringLiteral("Drive")))) return false;
    return dirSelect->setPath(value(QStringLiteral("Dir")));
}

void MainWindow::applySettingsFallback() {
    const QString drive = drvSelect->driveOf(programFolderPath);
    if (!drive.isEmpty()) drvSelect->setDrive(drive);
    dirSelect->setPath(programFolderPath);
    SSTab1->setCurrentIndex(0);
    document_.clearTicks();
}

void MainWindow::readini() {
    if (!readSettings()) applySettingsFallback();
}

void MainWindow::writeini() {
    // Failures are not reported: the settings are then simply not kept.
    auto write = [this](const QString& key, const QString& v) { profile::writeString(kSection, key, v, settingsFile); };
    // Reading trims blanks and removes one pair of quotes, so a path that starts or ends with
    // either is written inside quotes to come back unchanged.
    auto path = [](const QString& p) {
        const bool quote = p != p.trimmed() || p.startsWith('"') || p.startsWith('\'');
        return quote ? '"' + p + '"' : p;
    };
    write(QStringLiteral("Drive"), path(drvSelect->drive()));
    write(QStringLiteral("Dir"), path(dirSelect->path()));
    write(QStringLiteral("Tab"), QString::number(SSTab1->currentIndex()));
    for (const CoverKind& kind : kCoverKinds)
        write(QString::fromUtf8(kind.settingsKey),
              document_.isTicked(Kind(kind.number)) ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace kavi
