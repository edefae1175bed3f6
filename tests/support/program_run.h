// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Running one of the built programs (kavi, kavi-filter, ...) in a second process, with its own
// environment if asked, and keeping what it wrote on both outputs.
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <cstdlib>

namespace kavi::testing {

struct ProgramRun {
    int status; // exit code, or -1 when the program crashed (an abort, a signal)
    QString out, err;
};

// The path of a program of the build folder.
inline QString builtProgram(const QString& name) {
    return QString::fromLocal8Bit(std::getenv("KAVI_BUILD_DIR")) + QStringLiteral("/") + name;
}

// The project's version as CMake has it (the build folder's cache), which --version must print.
inline QString projectVersion() {
    QFile cache(QString::fromLocal8Bit(std::getenv("KAVI_BUILD_DIR")) + QStringLiteral("/CMakeCache.txt"));
    if (!cache.open(QIODevice::ReadOnly)) return {};
    const QByteArray key = "CMAKE_PROJECT_VERSION:STATIC=";
    for (const QByteArray& line : cache.readAll().split('\n'))
        if (line.startsWith(key)) return QString::fromUtf8(line.mid(key.size())).trimmed();
    return {};
}

// Runs the program to its end; the environment is this process's unless one is given.
inline ProgramRun runProgram(const QString& name, const QStringList& arguments,
                             const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(builtProgram(name), arguments);
    process.waitForFinished(-1);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

} // namespace kavi::testing
