// SPDX-License-Identifier: GPL-3.0-or-later
// The mount table parser over random tables: every mount it gives has a path and a file system
// that is no pseudo file system (but for the root, which containers mount so), no path comes twice, and each path's
// mount point is itself or a longer mount.
#include "tests/fuzz/fuzz_support.h"

#include "platform/files/mounts.h"

#include <set>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 16 * 1024) return 0;
    const QString table = fuzz::scratchPath("mounts");
    FUZZ_CHECK(fuzz::writeScratch(table, data, size), "the input could not be stored");
    const std::vector<kavi::MountPoint> mounts = kavi::realFileSystemMounts(table.toStdString());
    std::set<std::string> paths;
    for (const kavi::MountPoint& m : mounts) {
        FUZZ_CHECK(!m.path.empty(), "a mount without a path");
        FUZZ_CHECK(m.path == "/" || !kavi::isPseudoFileSystem(m.fsType), "a pseudo file system is listed");
        FUZZ_CHECK(paths.insert(m.path).second, "a path is listed twice");
        const std::string holder = kavi::mountPointOf(mounts, m.path);
        FUZZ_CHECK(holder.size() >= m.path.size(), "a mount point is not found for its own path");
        kavi::mountPointOf(mounts, m.path + "/x");
    }
    QFile::remove(table);
    return 0;
}
