#pragma once
// Reading a folder's entries as a file or folder list shows them.
#include <QString>
#include <QStringList>

namespace kavi {

struct DirectoryListing {
    bool ok = false;       // false: the folder could not be read
    QStringList files;     // names of entries that are not folders (links followed), sorted
    QStringList folders;   // names of sub-folders (links followed), sorted
};

// The folder's entries without hidden ones (names starting with "."), each list sorted without
// regard to case.
DirectoryListing readDirectory(const QString& path);

} // namespace kavi
