// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef KAVI_SHARE_FROM_BIN
#define KAVI_SHARE_FROM_BIN "../share/kavi"
#endif

namespace kavi {
namespace {

// An XDG base folder: the variable when it holds an absolute path, else home joined with fallback.
QString baseFolder(const QProcessEnvironment& environment, const char* variable, const QString& home,
                   const char* fallback) {
    const QString value = environment.value(QString::fromUtf8(variable));
    if (!value.isEmpty() && QDir::isAbsolutePath(value)) return QDir::cleanPath(value);
    return QDir(home).filePath(QString::fromUtf8(fallback));
}

} // namespace

QString installedShareFolder(const QString& executableFolder) {
    return QDir::cleanPath(QDir(executableFolder).filePath(QStringLiteral(KAVI_SHARE_FROM_BIN)));
}

QString userPicturesFolder(const QString& configHome, const QString& home) {
    QFile file(QDir(configHome).filePath(QStringLiteral("user-dirs.dirs")));
    if (!file.open(QIODevice::ReadOnly)) return home;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (!line.startsWith("XDG_PICTURES_DIR=")) continue;
        QString value = QString::fromUtf8(line.mid(int(qstrlen("XDG_PICTURES_DIR=")))).trimmed();
        if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"')) value = value.mid(1, value.size() - 2);
        if (value.startsWith(QStringLiteral("$HOME"))) value = home + value.mid(5);
        if (!QDir::isAbsolutePath(value)) return home;
        value = QDir::cleanPath(value);
        return QFileInfo(value).isDir() ? value : home;
    }
    return home;
}

ProgramFolders programFoldersFor(const QString& executableFolder, const QProcessEnvironment& environment,
                                 const QString& home) {
    ProgramFolders folders;
    const QString share = installedShareFolder(executableFolder);
    folders.installed = QFileInfo(QDir(share).filePath(QString::fromUtf8(kInstalledMarker))).isFile();
    if (!folders.installed) {
        folders.resources = folders.settings = folders.scratch = folders.pickingDefault = executableFolder;
        return folders;
    }
    const QString configHome = baseFolder(environment, "XDG_CONFIG_HOME", home, ".config");
    folders.resources = share;
    folders.settings = QDir(configHome).filePath(QStringLiteral("kavi"));
    folders.scratch = QDir(baseFolder(environment, "XDG_CACHE_HOME", home, ".cache")).filePath(QStringLiteral("kavi"));
    folders.pickingDefault = userPicturesFolder(configHome, home);
    return folders;
}

const ProgramFolders& programFolders() {
    static const ProgramFolders folders = programFoldersFor(QCoreApplication::applicationDirPath(),
                                                            QProcessEnvironment::systemEnvironment(), QDir::homePath());
    return folders;
}

QString programFolder() { return programFolders().pickingDefault; }

QString inProgramFolder(const QString& name) {
    const ProgramFolders& folders = programFolders();
    if (name == QLatin1String("kavi4.ini")) return QDir(folders.settings).filePath(name);
    if (name == QLatin1String("temp.bmp")) {
        QDir().mkpath(folders.scratch);
        return QDir(folders.scratch).filePath(name);
    }
    return QDir(folders.resources).filePath(name);
}

void makeSettingsFolderFor(const QString& file) {
    if (!QCoreApplication::instance()) return;
    const QString settings = programFolders().settings;
    if (QFileInfo(file).absolutePath() == QDir::cleanPath(settings)) QDir().mkpath(settings);
}

} // namespace kavi
