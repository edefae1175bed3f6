// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include <QDir>

namespace kavi {

CommandLine parseCommandLine(const QStringList& args, const QString& currentFolder) {
    bool optionsEnded = false, version = false;
    QString unknown;
    QStringList files;
    for (const QString& arg : args) {
        if (optionsEnded || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) files << arg;
        else if (arg == QLatin1String("--")) optionsEnded = true;
        else if (arg == QLatin1String("--help")) return {CommandLine::Action::Help, {}, {}};
        else if (arg == QLatin1String("--version")) version = true;
        else if (unknown.isEmpty()) unknown = arg;
    }
    if (version) return {CommandLine::Action::Version, {}, {}};
    if (!unknown.isEmpty()) return {CommandLine::Action::UnknownOption, {}, unknown};
    CommandLine line;
    if (!files.isEmpty()) line.picture = QDir::cleanPath(QDir(currentFolder).absoluteFilePath(files.first()));
    return line;
}

} // namespace kavi
