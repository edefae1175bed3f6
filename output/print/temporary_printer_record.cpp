// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/temporary_printer_record.h"

#include "platform/files/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QUrl>

#include <map>

namespace kavi {

namespace {

const QByteArray kHeader = "Kavi temporary printer record 1";

// Values are percent-encoded, so no name can break a line.
QByteArray encoded(const QString& value) { return QUrl::toPercentEncoding(value); }
QString decoded(const QByteArray& value) { return QUrl::fromPercentEncoding(value); }

} // namespace

QString temporaryPrinterRecordBeside(const QString& settingsFile) {
    return QFileInfo(settingsFile).absoluteDir().filePath(QStringLiteral("kavi4-printer-restore.txt"));
}

QByteArray formatTemporaryPrinterRecord(const TemporaryPrinterRecord& r) {
    QByteArray text = kHeader + '\n';
    text += "pid=" + QByteArray::number(qint64(r.owner.pid)) + '\n';
    text += "started=" + QByteArray::number(quint64(r.owner.startTime)) + '\n';
    text += "found=" + QByteArray(r.original.found ? "1" : "0") + '\n';
    text += "device=" + encoded(r.original.deviceName) + '\n';
    text += "driver=" + encoded(r.original.driverName) + '\n';
    text += "port=" + encoded(r.original.port) + '\n';
    // No "user" line: the user had no default of their own.
    if (r.original.userSetting) text += "user=" + encoded(*r.original.userSetting) + '\n';
    // No "set" line: that Kavi has not changed the default yet (or wrote an older record).
    if (!r.original.temporaryPrinter.isEmpty()) text += "set=" + encoded(r.original.temporaryPrinter) + '\n';
    return text;
}

std::optional<TemporaryPrinterRecord> parseTemporaryPrinterRecord(const QByteArray& text) {
    const QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || lines.front() != kHeader) return std::nullopt;
    std::map<QByteArray, QByteArray> values;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (line.isEmpty()) continue;
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0) return std::nullopt;
        values[line.left(eq)] = line.mid(eq + 1);
    }
    for (const char* key : {"pid", "started", "found", "device", "driver", "port"})
        if (!values.count(key)) return std::nullopt;
    TemporaryPrinterRecord r;
    bool pidOk = false, startOk = false;
    r.owner.pid = values["pid"].toLongLong(&pidOk);
    r.owner.startTime = values["started"].toULongLong(&startOk);
    const QByteArray found = values["found"];
    if (!pidOk || !startOk || r.owner.pid <= 0 || (found != "0" && found != "1")) return std::nullopt;
    r.original.found = found == "1";
    r.original.deviceName = decoded(values["device"]);
    r.original.driverName = decoded(values["driver"]);
    r.original.port = decoded(values["port"]);
    if (values.count("user")) r.original.userSetting = decoded(values["user"]);
    if (values.count("set")) r.original.temporaryPrinter = decoded(values["set"]);
    if (r.original.found && r.original.deviceName.isEmpty()) return std::nullopt;
    return r;
}

std::optional<TemporaryPrinterRecord> readTemporaryPrinterRecord(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    constexpr qint64 kMostBytes = 64 * 1024; // a record is a few lines; anything larger is not one
    return parseTemporaryPrinterRecord(file.read(kMostBytes));
}

bool writeTemporaryPrinterRecord(const QString& path, const TemporaryPrinterRecord& record) {
    return writeFileAtomically(path, formatTemporaryPrinterRecord(record));
}

bool removeTemporaryPrinterRecord(const QString& path) { return !QFile::exists(path) || QFile::remove(path); }

} // namespace kavi
