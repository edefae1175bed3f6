// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dropped_files.h"

#include <QMimeData>
#include <QSysInfo>
#include <QUrl>

namespace kavi {

namespace {

// A file address names a file of this computer when it has no host, or this computer's own.
bool namesFileHere(const QUrl& url) {
    if (!url.isLocalFile()) return false;
    const QString host = url.host();
    return host.isEmpty() || host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0 ||
        host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0;
}

QString localPath(const QUrl& url) { return url.host().isEmpty() ? url.toLocalFile() : url.path(); }

} // namespace

DroppedFiles droppedFiles(const QMimeData& data) {
    DroppedFiles dropped;
    for (const QUrl& url : data.urls()) {
        const QString path = namesFileHere(url) ? localPath(url) : QString();
        // A relative or empty path would be looked up in whatever folder Kavi runs in, and no file
        // name holds a NUL.
        if (path.startsWith(QLatin1Char('/')) && !path.contains(QChar(u'\0'))) dropped.localFiles << path;
        else if (dropped.firstElsewhere.isEmpty()) dropped.firstElsewhere = url.toDisplayString();
    }
    return dropped;
}

} // namespace kavi
