// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What Kavi's command line asks for: its help, its version, or a run with a picture to load.
#include <QString>
#include <QStringList>

namespace kavi {

struct CommandLine {
    enum class Action { Run, Help, Version, UnknownOption };
    Action action = Action::Run;
    QString picture; // for Run: the first picture named, as an absolute path; empty if none
    QString unknownOption; // for UnknownOption: the first option Kavi does not know
    QString platform; // the window system asked for with Qt's -platform option; empty if none
};

// args are the arguments after the program's name. --help, then --version, anywhere before "--"
// win over everything else; after "--" every argument is a file name. Relative names are taken
// from currentFolder. Qt's own options (-platform NAME, -style NAME, -reverse ...) are passed over
// with their values, so the line can be read before Qt has taken them out; any other option is
// unknown.
CommandLine parseCommandLine(const QStringList& args, const QString& currentFolder);

} // namespace kavi
