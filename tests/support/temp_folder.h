// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the end.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kavi::testing {

class TempFolder {
public:
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return QDir(dir_.path()).filePath(name); }
    QString write(const QString& name, const QByteArray& content) const {
        const QString p = file(name);
        QFile f(p);
        if (f.open(QIODevice::WriteOnly)) f.write(content);
        return p;
    }
    QByteArray read(const QString& name) const {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir dir_;
};

// Runs fn in a child process as the unprivileged user "nobody" and returns its exit status,
// or -1 when the child could not be started. Root ignores file permissions, so this is how a
// test sees what a real user would.
int runAsNobody(int (*fn)(void*), void* arg);

} // namespace kavi::testing
