// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <QDir>

#include <algorithm>
#include <array>

namespace kavi {

namespace {

// The options Qt's application objects and window-system plugins take out of the line (Qt also
// takes each with two dashes, and the ones named with "=" in one argument).
constexpr std::array<const char*, 16> kQtOptionsWithValue = {"platform",
                                                             "platformpluginpath",
                                                             "platformtheme",
                                                             "plugin",
                                                             "qwindowgeometry",
                                                             "qwindowicon",
                                                             "qwindowtitle",
                                                             "session",
                                                             "display",
                                                             "geometry",
                                                             "title",
                                                             "icon",
                                                             "name",
                                                             "style",
                                                             "stylesheet",
                                                             "dialogs"};
constexpr std::array<const char*, 7> kQtFlags = {"reverse", "widgetcount", "testability",  "nograb",
                                                 "dograb",  "sync",        "qmljsdebugger"};

// The option's name without its dashes and anything from "=" on.
QString optionName(const QString& arg) {
    QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
    return name.left(name.indexOf(QLatin1Char('=')));
}

bool listed(const QString& name, const auto& list) {
    return std::any_of(list.begin(), list.end(), [&](const char* o) { return name == QLatin1String(o); });
}

} // namespace

CommandLine parseCommandLine(const QStringList& args, const QString& currentFolder) {
    bool optionsEnded = false, version = false;
    QString unknown, platform;
    QStringList files;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (optionsEnded || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) files << arg;
        else if (arg == QLatin1String("--")) optionsEnded = true;
        else if (arg == QLatin1String("--help")) return {CommandLine::Action::Help, {}, {}, {}};
        else if (arg == QLatin1String("--version")) version = true;
        else if (const QString name = optionName(arg); listed(name, kQtOptionsWithValue)) {
            const qsizetype equals = arg.indexOf(QLatin1Char('='));
            const QString value = equals >= 0 ? arg.mid(equals + 1) : i + 1 < args.size() ? args[++i] : QString();
            if (name == QLatin1String("platform")) platform = value;
        } else if (!listed(name, kQtFlags) && unknown.isEmpty()) unknown = arg;
    }
    if (version) return {CommandLine::Action::Version, {}, {}, {}};
    if (!unknown.isEmpty()) return {CommandLine::Action::UnknownOption, {}, unknown, {}};
    CommandLine line;
    line.platform = platform;
    if (!files.isEmpty()) line.picture = QDir::cleanPath(QDir(currentFolder).absoluteFilePath(files.first()));
    return line;
}

} // namespace kavi
