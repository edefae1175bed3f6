#include "file_exists.h"

#include <QDir>
#include <QFileInfo>

namespace kavi {

bool FileExists(const QString& FileName) {
    if (FileName.isEmpty()) return false;
    const QFileInfo info(FileName);
    if (info.exists() && !info.isDir()) return true;
    const QString name = info.fileName();
    if (!name.contains(QLatin1Char('*')) && !name.contains(QLatin1Char('?'))) return false;
    const QDir folder = info.absoluteDir();
    const QStringList matches = folder.entryList(
        {name}, QDir::Files | QDir::Hidden | QDir::System | QDir::CaseSensitive);
    return !matches.isEmpty();
}

} // namespace kavi
