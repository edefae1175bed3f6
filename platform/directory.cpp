#include "directory.h"

#include <QFile>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace kavi {

DirectoryListing readDirectory(const QString& path) {
    DirectoryListing out;
    const QByteArray native = QFile::encodeName(path);
    DIR* dir = opendir(native.constData());
    if (!dir) return out;
    const int fd = dirfd(dir);
    while (const dirent* e = readdir(dir)) {
        if (e->d_name[0] == '.') continue;
        bool isFolder = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            struct stat st {};
            if (fstatat(fd, e->d_name, &st, 0) != 0) continue; // a dangling link is no entry
            isFolder = S_ISDIR(st.st_mode);
        }
        (isFolder ? out.folders : out.files).append(QFile::decodeName(e->d_name));
    }
    closedir(dir);
    const auto byName = [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    };
    std::sort(out.files.begin(), out.files.end(), byName);
    std::sort(out.folders.begin(), out.folders.end(), byName);
    out.ok = true;
    return out;
}

} // namespace kavi
