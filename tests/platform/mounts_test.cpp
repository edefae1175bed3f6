// SPDX-License-Identifier: GPL-3.0-or-later
// Drives are the mount points of real file systems.
#include "platform/files/mounts.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

using namespace kavi;

TEST(Mounts, PseudoFileSystemsAreLeftOutAndNamesUnescaped) {
    kavi::testing::TempFolder dir;
    const QString table = dir.write("mounts",
                                    "proc /proc proc rw 0 0\n"
                                    "overlay / overlay rw 0 0\n"
                                    "/dev/sda2 /home ext4 rw 0 0\n"
                                    "tmpfs /run tmpfs rw 0 0\n"
                                    "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
                                    "/dev/sdb1 /media/My\\040Disk vfat rw 0 0\n"
                                    "server:/x /mnt/net nfs rw 0 0\n"
                                    "/dev/sda2 /home ext4 rw 0 0\n"
                                    "broken line\n");
    const auto mounts = realFileSystemMounts(table.toStdString());
    std::vector<std::string> paths;
    for (const auto& m : mounts) paths.push_back(m.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"/", "/home", "/media/My Disk", "/mnt/net"}));
    EXPECT_EQ(mounts[2].fsType, "vfat");
    EXPECT_EQ(mountPointOf(mounts, "/home/ann/pics"), "/home");
    EXPECT_EQ(mountPointOf(mounts, "/homework"), "/");
    EXPECT_EQ(mountPointOf(mounts, "/media/My Disk"), "/media/My Disk");
    EXPECT_EQ(mountPointOf(mounts, "relative"), "");
}
