#include "atomic_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kavi {

bool writeFileAtomically(const QString& path, const QByteArray& data) {
    // QSaveFile writes beside the target and renames it into place on commit; it keeps the old
    // file's permissions and removes its temporary file when anything fails.
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace kavi
