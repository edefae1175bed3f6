#pragma once
// Writes a whole file or nothing: the bytes go to a temporary file in the target's folder, which
// is renamed over the target only once it is complete, so a failure never damages an old file.
#include <QByteArray>
#include <QString>

namespace kavi {

// 0 on success, otherwise the errno of the step that failed (the target is then untouched and
// no temporary file is left behind). A replaced file keeps its permission bits; a new file gets
// the usual permissions of the user's umask. A symbolic link to a file is written through.
int writeFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace kavi
