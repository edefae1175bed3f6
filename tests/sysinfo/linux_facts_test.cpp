// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux sources of the system facts: memory, serial numbers, drive kinds, the
// device list read from a made-up /sys, and this machine's own answers.
#include "platform/files/mounts.h"
#include "platform/system/system_facts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kavi;

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

void link(const QString& target, const QString& linkPath) {
    QDir().mkpath(QFileInfo(linkPath).path());
    ASSERT_TRUE(QFile::link(target, linkPath)) << linkPath.toStdString();
}

} // namespace

TEST(LinuxFacts, MemoryFromMeminfoHoldsSizesOver4GB) {
    const auto m = parseMeminfo("MemTotal:       16303428 kB\nMemFree:  1000 kB\nMemAvailable:    4075857 kB\n");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->totalBytes, 16303428ull * 1024);
    EXPECT_EQ(m->loadPercent, 75);
    const auto noAvailable = parseMeminfo("MemTotal: 2048 kB\n");
    ASSERT_TRUE(noAvailable);
    EXPECT_EQ(noAvailable->loadPercent, 0);
    const auto moreAvailableThanTotal = parseMeminfo("MemTotal: 2048 kB\nMemAvailable: 4096 kB\n");
    EXPECT_EQ(moreAvailableThanTotal->loadPercent, 0);
    EXPECT_FALSE(parseMeminfo("MemTotal: lots\n"));
    EXPECT_FALSE(parseMeminfo("MemTotal: 0 kB\n"));
    EXPECT_FALSE(parseMeminfo(""));
}

TEST(LinuxFacts, SerialIsTheFirst32BitsOfTheUuid) {
    EXPECT_EQ(serialFromUuid(QStringLiteral("8000abcd-1234-5678-9abc-def012345678")), 0x8000abcdu);
    EXPECT_EQ(serialFromUuid(QStringLiteral("ABCD-1234")), 0xABCD1234u); // FAT volume serial
    EXPECT_EQ(serialFromUuid(QStringLiteral("0123456789ABCDEF")), 0x01234567u); // NTFS
    EXPECT_FALSE(serialFromUuid(QStringLiteral("")));
    EXPECT_FALSE(serialFromUuid(QStringLiteral("12-34")));
    EXPECT_FALSE(serialFromUuid(QStringLiteral("xyz")));
}

TEST(LinuxFacts, DriveKinds) {
    EXPECT_EQ(driveTypeOf(QStringLiteral("ext4"), QStringLiteral("/dev/sda1"), false), DriveType::Fixed);
    EXPECT_EQ(driveTypeOf(QStringLiteral("vfat"), QStringLiteral("/dev/sdb1"), true), DriveType::Removable);
    EXPECT_EQ(driveTypeOf(QStringLiteral("nfs4"), QStringLiteral("server:/export"), false), DriveType::Remote);
    EXPECT_EQ(driveTypeOf(QStringLiteral("cifs"), QStringLiteral("//server/share"), false), DriveType::Remote);
    EXPECT_EQ(driveTypeOf(QStringLiteral("iso9660"), QStringLiteral("/dev/sr0"), true), DriveType::CdRom);
    EXPECT_EQ(driveTypeOf(QStringLiteral("udf"), QStringLiteral("/dev/loop3"), false), DriveType::CdRom);
    EXPECT_EQ(driveTypeOf(QStringLiteral("tmpfs"), QStringLiteral("tmpfs"), false), DriveType::RamDisk);
    EXPECT_EQ(driveTypeOf(QStringLiteral("overlay"), QStringLiteral("overlay"), false), DriveType::Fixed);
    EXPECT_EQ(kernelVersion(QStringLiteral("6.1.0-18-amd64")), std::make_pair(6, 1));
    EXPECT_EQ(kernelVersion(QStringLiteral("weird")), std::make_pair(0, 0));
}

TEST(LinuxFacts, DisplayAndMouseFromAMadeUpSys) {
    QTemporaryDir dir;
    const QString sys = dir.path() + QStringLiteral("/sys");
    const QString gpu = sys + QStringLiteral("/devices/pci0000:00/0000:00:02.0");
    writeFile(gpu + QStringLiteral("/vendor"), "0x8086\n");
    QDir().mkpath(sys + QStringLiteral("/bus/pci/drivers/i915"));
    link(sys + QStringLiteral("/bus/pci"), gpu + QStringLiteral("/subsystem"));
    link(sys + QStringLiteral("/bus/pci/drivers/i915"), gpu + QStringLiteral("/driver"));
    link(gpu, sys + QStringLiteral("/class/drm/card0/device"));
    QDir().mkpath(sys + QStringLiteral("/class/drm/card0-HDMI-A-1"));

    // A USB mouse: the maker is on the USB device, two levels above the input device.
    const QString usbDevice = sys + QStringLiteral("/devices/pci0000:00/usb1/1-1");
    const QString usbInterface = usbDevice + QStringLiteral("/1-1:1.0");
    const QString input = usbInterface + QStringLiteral("/input/input5");
    writeFile(usbDevice + QStringLiteral("/manufacturer"), "Logi Corp\n");
    writeFile(input + QStringLiteral("/name"), "USB Optical Mouse\n");
    // BTN_LEFT, BTN_RIGHT, BTN_MIDDLE are bits 272 to 274: word 4 from the right, bits 16 to 18.
    writeFile(input + QStringLiteral("/capabilities/key"), "70000 0 0 0 0\n");
    QDir().mkpath(sys + QStringLiteral("/bus/usb/drivers/usbhid"));
    link(sys + QStringLiteral("/bus/usb"), usbInterface + QStringLiteral("/subsystem"));
    link(sys + QStringLiteral("/bus/usb/drivers/usbhid"), usbInterface + QStringLiteral("/driver"));
    link(usbInterface, input + QStringLiteral("/device"));
    link(input, sys + QStringLiteral("/class/input/mouse0/device"));

    const QString pciIds = dir.path() + QStringLiteral("/pci.ids");
    writeFile(pciIds, "# comment\n8086  Intel Corporation\n\t0102  2nd Generation Core\n10de  NVIDIA Corporation\n");

    const DeviceKeyTree tree = readDeviceTree(sys, pciIds);
    const auto text = [&](const char* key, const char* name) {
        const auto v = tree.value(QString::fromLatin1(key), QString::fromLatin1(name));
        return v ? QString::fromUtf8(v->data.left(v->data.indexOf('\0'))) : QStringLiteral("<none>");
    };
    EXPECT_EQ(text("Enum\\pci\\0000:00:02.0", "Class"), QStringLiteral("DISPLAY"));
    EXPECT_EQ(text("Enum\\pci\\0000:00:02.0", "DeviceDesc"), QStringLiteral("i915"));
    EXPECT_EQ(text("Enum\\pci\\0000:00:02.0", "Mfg"), QStringLiteral("Intel Corporation"));
    EXPECT_EQ(text("Enum\\usb\\1-1:1.0", "Class"), QStringLiteral("Mouse"));
    EXPECT_EQ(text("Enum\\usb\\1-1:1.0", "DeviceDesc"), QStringLiteral("usbhid"));
    EXPECT_EQ(text("Enum\\usb\\1-1:1.0", "Mfg"), QStringLiteral("Logi Corp"));
    EXPECT_EQ(tree.subkeyName(QStringLiteral("Enum"), 0), QByteArray("pci\0", 4));
    EXPECT_EQ(countMouseButtons(sys), 3);

    // Without pci.ids the vendor number is shown; without a mouse there are no buttons.
    EXPECT_EQ(readDeviceTree(sys, dir.path() + QStringLiteral("/none"))
                  .value(QStringLiteral("Enum\\pci\\0000:00:02.0"), QStringLiteral("Mfg"))
                  ->data,
              QByteArray("0x8086\0", 7));
    EXPECT_EQ(countMouseButtons(dir.path() + QStringLiteral("/nothing")), 0);
    EXPECT_TRUE(readDeviceTree(dir.path() + QStringLiteral("/nothing"), pciIds).keyExists(QStringLiteral("Enum")));
}

TEST(LinuxFacts, ThisMachineAnswers) {
    QTemporaryDir dir;
    LinuxSystemFacts facts(QStringLiteral("/sys"), dir.path());
    EXPECT_FALSE(facts.userName().isEmpty());
    EXPECT_FALSE(facts.computerName().isEmpty());
    EXPECT_EQ(facts.platformName(), QStringLiteral("Linux"));
    EXPECT_GE(facts.versionMajor(), 3);
    EXPECT_GT(facts.memory().totalBytes, 0u);
    ASSERT_TRUE(facts.drives().contains(QStringLiteral("/")));
    const auto space = facts.space(QStringLiteral("/"));
    ASSERT_TRUE(space);
    EXPECT_GT(space->totalBytes, 0u);
    EXPECT_LE(space->freeBytes, space->totalBytes);
    EXPECT_NE(facts.driveType(QStringLiteral("/")), DriveType::NoRootFolder);
    EXPECT_FALSE(facts.space(QStringLiteral("/no/such/mount")));
    EXPECT_FALSE(facts.volume(QStringLiteral("/no/such/mount")));
    EXPECT_EQ(facts.driveType(QStringLiteral("/no/such/mount")), DriveType::NoRootFolder);

    // The label and serial come from /dev/disk when the root's device has entries there.
    QString device;
    for (const MountPoint& m : realFileSystemMounts())
        if (m.path == "/") device = QString::fromStdString(m.device);
    if (!QFileInfo(device).exists()) GTEST_SKIP() << "the root file system has no device file here";
    link(device, dir.path() + QStringLiteral("/by-uuid/8000abcd-1111-2222-3333-444455556666"));
    link(device, dir.path() + QStringLiteral("/by-label/My\\x20Disk"));
    const auto volume = facts.volume(QStringLiteral("/"));
    ASSERT_TRUE(volume);
    EXPECT_EQ(volume->serial, 0x8000abcdu);
    EXPECT_EQ(volume->label, QStringLiteral("My Disk"));
    EXPECT_FALSE(volume->fileSystemName.isEmpty());
}
