// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where Kavi keeps its files. Run from the build folder, everything sits beside the executable:
// the settings file kavi4.ini, the help pages, the alert sound, the About picture and the scan file.
// Installed (told by the marker file that `cmake --install` puts in the install's share folder),
// the read-only resources come from that share folder, the settings from the user's configuration
// folder, the scan file from the user's cache folder, and picking starts in the user's pictures folder.
#include <QProcessEnvironment>
#include <QString>

namespace kavi {

// The marker's name inside the install's share folder.
inline constexpr const char* kInstalledMarker = "kavi-installed";

// The folders of one run, worked out from the executable's folder, the environment and the home folder.
struct ProgramFolders {
    bool installed = false;
    QString resources; // help, sound, About picture
    QString settings; // kavi4.ini and the temporary-printer record beside it (created when first written)
    QString scratch; // the scan file (created when asked for)
    QString pickingDefault; // where picking starts when kavi4.ini names no folder
};

// The share folder an executable in executableFolder would have if it were installed.
QString installedShareFolder(const QString& executableFolder);
ProgramFolders programFoldersFor(const QString& executableFolder, const QProcessEnvironment& environment,
                                 const QString& home);
// The user's pictures folder from user-dirs.dirs in configHome; home when it names none or one that is missing.
QString userPicturesFolder(const QString& configHome, const QString& home);

// The folders of the running program (worked out once).
const ProgramFolders& programFolders();

// The folder of the running executable, or for an installed Kavi the user's pictures folder: the
// folder picking starts in when the settings name none.
QString programFolder();
// A file of the program by name, joined with its folder by "/": "kavi4.ini" in the settings folder,
// "temp.bmp" (the scan file) in the scratch folder, which is made if missing, and every other name
// ("Kavi4.chm", "alert.wav", "about.bmp") in the resources folder.
QString inProgramFolder(const QString& name);
// Makes the settings folder (the installed Kavi's in the user's configuration folder) when file is the
// settings file there and the folder is still missing; any other file's folder is left as it is.
void makeSettingsFolderFor(const QString& file);

} // namespace kavi
