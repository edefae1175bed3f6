// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a folder's entries as a file or folder list shows them.
#include <QString>
#include <QStringList>

#include <functional>

namespace kavi {

struct DirectoryListing {
    bool ok = false; // false: the folder could not be read
    QStringList files; // names of regular files (links followed), sorted
    QStringList folders; // names of sub-folders (links followed), sorted
};

// Decides from a file's raw name whether it is listed; nullptr lists every file.
using FileNameFilter = bool (*)(const char* name, std::size_t length);

// The folder's entries without hidden ones (names starting with "."), each list sorted without
// regard to case. Files are listed only where the filter accepts their name.
DirectoryListing readDirectory(const QString& path, FileNameFilter filter = nullptr);

} // namespace kavi
