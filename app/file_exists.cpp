// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_exists.h"

#include <QDir>
#include <QFileInfo>

namespace kavi {

bool wildcardMatch(const QString& pattern, const QString& name) {
    // Iterative match with back-tracking to the last star.
    qsizetype p = 0, n = 0, star = -1, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star >= 0) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool fileExists(const QString& fileName) {
    if (fileName.isEmpty()) return false;
    const int slash = int(fileName.lastIndexOf('/'));
    const QString folder = slash < 0 ? QStringLiteral(".") : (slash == 0 ? QStringLiteral("/") : fileName.left(slash));
    const QString pattern = fileName.mid(slash + 1);
    if (pattern.isEmpty()) return false;
    if (!pattern.contains('*') && !pattern.contains('?')) {
        const QFileInfo info(fileName);
        return info.exists() && !info.isDir();
    }
    const QStringList candidates =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString& name : candidates)
        if (wildcardMatch(pattern, name)) return true;
    return false;
}

} // namespace kavi
