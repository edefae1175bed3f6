// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/directory.h"

#include <QFile>

#include <algorithm>
#include <dirent.h>
#include <string>
#include <strings.h>
#include <sys/stat.h>
#include <vector>

namespace kavi {

namespace {

// Sorted without regard to case (ASCII letters), ties in byte order; then decoded once each.
QStringList sortedNames(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const int c = strcasecmp(a.c_str(), b.c_str());
        return c != 0 ? c < 0 : a < b;
    });
    QStringList out;
    out.reserve(qsizetype(names.size()));
    for (const std::string& n : names)
        out.append(QFile::decodeName(QByteArray::fromRawData(n.data(), qsizetype(n.size()))));
    return out;
}

} // namespace

DirectoryListing readDirectory(const QString& path, FileNameFilter filter) {
    DirectoryListing out;
    const QByteArray native = QFile::encodeName(path);
    DIR* dir = opendir(native.constData());
    if (!dir) return out;
    const int fd = dirfd(dir);
    std::vector<std::string> files, folders;
    while (const dirent* e = readdir(dir)) {
        if (e->d_name[0] == '.') continue;
        bool isFolder = e->d_type == DT_DIR;
        bool isFile = e->d_type == DT_REG;
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            struct stat st {};
            if (fstatat(fd, e->d_name, &st, 0) != 0) continue; // a dangling link is no entry
            isFolder = S_ISDIR(st.st_mode);
            isFile = S_ISREG(st.st_mode);
        }
        if (isFolder) folders.emplace_back(e->d_name);
        else if (!isFile) continue; // pipes, sockets and devices hold no picture; opening a pipe would wait forever
        else if (!filter || filter(e->d_name, std::char_traits<char>::length(e->d_name))) files.emplace_back(e->d_name);
    }
    closedir(dir);
    out.files = sortedNames(files);
    out.folders = sortedNames(folders);
    out.ok = true;
    return out;
}

} // namespace kavi
