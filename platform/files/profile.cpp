// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/profile.h"

#include "platform/files/atomic_file.h"
#include "platform/files/program_folder.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringDecoder>

namespace kavi::profile {

namespace {

constexpr qint64 kLargestProfile = qint64(64) << 20;

struct Lines {
    QList<QByteArray> lines;
    bool readable = true; // false: the file exists but could not be read
};

Lines readLines(const QString& file) {
    Lines out;
    QFile f(file);
    if (!f.exists()) return out;
    if (f.size() > kLargestProfile || !f.open(QIODevice::ReadOnly)) {
        out.readable = false;
        return out;
    }
    QByteArray all = f.readAll();
    // A file saved by an editor that marks UTF-8 keeps its first line.
    if (all.startsWith("\xEF\xBB\xBF")) all.remove(0, 3);
    out.lines = all.split('\n');
    if (!out.lines.isEmpty() && out.lines.last().isEmpty()) out.lines.removeLast();
    for (QByteArray& line : out.lines)
        if (line.endsWith('\r')) line.chop(1);
    return out;
}

// The section name of a "[name]" line, or a null array for any other line.
QByteArray sectionOf(const QByteArray& line) {
    const QByteArray t = line.trimmed();
    if (!t.startsWith('[')) return {};
    const int close = t.indexOf(']');
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

// The text of a name or value. A mark of UTF-8 inside a line is kept as a character, the way the
// writer stored it (QString::fromUtf8 would drop one at the start of each name).
QString textOf(const QByteArray& bytes) {
    QStringDecoder decode(QStringDecoder::Utf8,
                          QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decode(bytes);
}

bool sameName(const QByteArray& a, const QString& b) { return textOf(a).compare(b, Qt::CaseInsensitive) == 0; }

// The key of a "key=value" line, or a null array when the line has no "=".
QByteArray keyOf(const QByteArray& line) {
    const int eq = line.indexOf('=');
    return eq < 0 ? QByteArray() : line.left(eq).trimmed();
}

QByteArray valueOf(const QByteArray& line) {
    QByteArray v = line.mid(line.indexOf('=') + 1).trimmed();
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.mid(1, v.size() - 2);
    return v;
}

bool hasLineBreak(const QByteArray& text) { return text.contains('\n') || text.contains('\r'); }

// Whether key=value, written as one line under [section], reads back as the same names and value:
// a line break would start another line (or section; a carriage return at a line's end is dropped
// on reading), a "=" in the key would move the value, and a key that begins with "[" would read as
// a section.
bool storable(const QByteArray& section, const QByteArray& key, const QByteArray& value) {
    return !hasLineBreak(section) && !section.contains(']') && !hasLineBreak(key) && !key.contains('=') &&
        !key.trimmed().startsWith('[') && !hasLineBreak(value);
}

} // namespace

QString getString(const QString& section, const QString& key, const QString& defaultValue, int size,
                  const QString& file) {
    const Lines content = readLines(file);
    QString value = defaultValue;
    bool inSection = false;
    for (const QByteArray& line : content.lines) {
        const QByteArray s = sectionOf(line);
        if (!s.isNull()) {
            inSection = sameName(s, section);
            continue;
        }
        if (!inSection) continue;
        const QByteArray k = keyOf(line);
        if (!k.isNull() && sameName(k, key)) {
            value = textOf(valueOf(line));
            break;
        }
    }
    if (size <= 0) return QString();
    return value.left(size - 1);
}

bool writeString(const QString& section, const QString& key, const QString& value, const QString& file) {
    if (!storable(section.toUtf8(), key.toUtf8(), value.toUtf8())) return false;
    Lines content = readLines(file);
    if (!content.readable) return false;
    QList<QByteArray>& lines = content.lines;
    const QByteArray newLine = key.toUtf8() + '=' + value.toUtf8();

    int sectionLine = -1; // the section's header
    int lastInSection = -1; // the last non-blank line belonging to it
    int keyLine = -1;
    bool inSection = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray s = sectionOf(lines[i]);
        if (!s.isNull()) {
            if (inSection) break;
            inSection = sameName(s, section);
            if (inSection) sectionLine = lastInSection = i;
            continue;
        }
        if (!inSection) continue;
        if (!lines[i].trimmed().isEmpty()) lastInSection = i;
        const QByteArray k = keyOf(lines[i]);
        if (!k.isNull() && sameName(k, key)) {
            keyLine = i;
            break;
        }
    }
    if (keyLine >= 0) {
        lines[keyLine] = newLine;
    } else if (sectionLine >= 0) {
        lines.insert(lastInSection + 1, newLine);
    } else {
        lines.append('[' + section.toUtf8() + ']');
        lines.append(newLine);
    }
    QByteArray out;
    for (const QByteArray& line : lines) out += line + '\n';
    makeSettingsFolderFor(file);
    return writeFileAtomically(file, out);
}

} // namespace kavi::profile
