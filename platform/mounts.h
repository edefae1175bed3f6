#pragma once
// The mounted file systems that hold files: Kavi's "drives" are their mount points.
#include <QByteArray>
#include <QString>
#include <vector>

namespace kavi {

struct MountPoint {
    QString path;   // where it is mounted, e.g. "/" or "/media/usb"
    QString device; // what is mounted, e.g. "/dev/sdb1", "server:/export" or "tmpfs"
    QString fsType; // the kernel's file-system name, e.g. "ext4", "vfat", "nfs4"
};

// True for the kernel's own pseudo file systems (proc, sysfs, cgroup, devpts, ...), which hold no
// user files. tmpfs and ramfs count as real (RAM disks) except under /dev, /proc, /sys and /run,
// where the system keeps its runtime state.
bool isPseudoFileSystem(const QString& fsType, const QString& path);

// Parses a mount table in the format of /proc/self/mounts (octal escapes such as \040 decoded),
// leaves out pseudo file systems and keeps one entry per path (the last mount, which is the one
// visible), sorted by path. Lines that do not have at least three fields are skipped.
std::vector<MountPoint> parseMountTable(const QByteArray& table);

// The real file systems mounted now, from /proc/self/mounts; mount points that are files (a single
// file bound into place) are left out. Empty when the table cannot be read.
std::vector<MountPoint> realFileSystemMounts();

} // namespace kavi
