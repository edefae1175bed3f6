// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mounted real file systems of this machine: what a user thinks of as drives.
#include <string>
#include <vector>

namespace kavi {

struct MountPoint {
    std::string path; // where it is mounted, e.g. "/", "/home", "/media/usb"
    std::string device; // what is mounted, e.g. "/dev/sda1"
    std::string fsType; // e.g. "ext4", "vfat", "nfs"
};

// Mount points of real file systems, in mount-table order, without pseudo file systems (proc,
// sysfs, cgroup, devtmpfs, ...) and without repeated paths. Reads the given mount table
// (/proc/self/mounts by default).
std::vector<MountPoint> realFileSystemMounts(const std::string& mountTable = "/proc/self/mounts");

// True for the names of kernel and virtual file systems that hold no user files.
bool isPseudoFileSystem(const std::string& fsType);

// The mount point (from the list) that holds a path: the longest mount path that is a prefix
// of it. Empty when none does.
std::string mountPointOf(const std::vector<MountPoint>& mounts, const std::string& path);

} // namespace kavi
