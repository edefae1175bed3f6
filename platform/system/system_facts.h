// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Facts about the computer for the system information window: user, computer, system folders,
// kernel, memory, drives and their space, local time, screen, mouse, and the device list.
#include <QByteArray>
#include <QDateTime>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace kavi {

// Drive types by their numbers: 2 removable, 3 fixed, 4 network, 5 CD-ROM, 6 RAM disk.
enum class DriveType { Unknown = 0, NoRootFolder = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

struct VolumeInfo {
    QString label; // empty where the file system has none
    QString fileSystemName; // e.g. "ext4"
    std::uint32_t serial = 0; // 0: no serial (the drive could not be read)
};

struct DiskSpace {
    std::uint64_t totalBytes = 0;
    std::uint64_t freeBytes = 0; // free to any user, as the file system counts it
};

struct MemoryStatus {
    std::uint64_t totalBytes = 0;
    int loadPercent = 0; // share of the memory in use, 0 to 100
};

// Value kinds of the device list: a text or a binary value.
enum class DeviceValueType { None = 0, String = 1, Binary = 3 };

struct DeviceValue {
    DeviceValueType type = DeviceValueType::None;
    QByteArray data; // a text value ends with its NUL, as the system hands it out
};

// A tree of device keys by full path ("Enum", "Enum\\pci", ...), each with named values.
class DeviceKeyTree {
public:
    // Adds a key (or values to it) and makes it a subkey of its parent, creating parents as needed.
    void addKey(const QString& path, const std::map<QString, DeviceValue>& values = {});
    bool keyExists(const QString& path) const { return keys_.count(path) != 0; }
    std::optional<QByteArray> subkeyName(const QString& path, int index) const;
    std::optional<DeviceValue> value(const QString& path, const QString& name) const;
    static DeviceValue text(const QString& s); // a text value with its NUL

private:
    struct Key {
        std::map<QString, DeviceValue> values;
        QStringList subkeys; // in the order they were added
    };
    std::map<QString, Key> keys_;
};

class SystemFacts {
public:
    virtual ~SystemFacts() = default;

    virtual QString userName() const = 0;
    virtual QString computerName() const = 0;
    virtual QString systemFolder() const = 0; // shown as the "Windows directory"
    virtual QString libraryFolder() const = 0; // shown as the "System directory"
    virtual QString temporaryPath() const = 0;
    virtual QString platformName() const = 0; // the kernel's system name, e.g. "Linux"
    virtual int versionMajor() const = 0;
    virtual int versionMinor() const = 0;
    virtual MemoryStatus memory() const = 0;

    virtual QStringList drives() const = 0; // root paths (mount points)
    virtual DriveType driveType(const QString& root) const = 0;
    virtual std::optional<VolumeInfo> volume(const QString& root) const = 0;
    virtual std::optional<DiskSpace> space(const QString& root) const = 0;

    virtual QDateTime localTime() const = 0;
    virtual QSize screenPixels() const = 0;
    virtual int colorDepth() const = 0; // bits per pixel
    virtual int mouseButtons() const = 0; // 0 without a mouse

    // The device list: keys named by paths such as "Enum\\pci\\0000:00:02.0", each with named values
    // ("Class", "DeviceDesc", "Mfg") and subkeys.
    virtual bool keyExists(const QString& path) const = 0;
    // The index-th subkey's name followed by a NUL; nullopt past the last subkey.
    virtual std::optional<QByteArray> subkeyName(const QString& path, int index) const = 0;
    virtual std::optional<DeviceValue> value(const QString& path, const QString& name) const = 0;
};

// This computer: POSIX and Linux sources (getpwuid, gethostname, uname, /proc/meminfo, the mount
// table, statvfs, /dev/disk/by-label and by-uuid, /sys) and the primary screen.
class LinuxSystemFacts final : public SystemFacts {
public:
    // The folders are parameters so that tests can hand in a made-up /sys and /dev/disk.
    explicit LinuxSystemFacts(QString sysRoot = QStringLiteral("/sys"),
                              QString diskIdRoot = QStringLiteral("/dev/disk"),
                              QString pciIds = QStringLiteral("/usr/share/misc/pci.ids"));

    QString userName() const override;
    QString computerName() const override;
    QString systemFolder() const override;
    QString libraryFolder() const override;
    QString temporaryPath() const override;
    QString platformName() const override;
    int versionMajor() const override;
    int versionMinor() const override;
    MemoryStatus memory() const override;
    QStringList drives() const override;
    DriveType driveType(const QString& root) const override;
    std::optional<VolumeInfo> volume(const QString& root) const override;
    std::optional<DiskSpace> space(const QString& root) const override;
    QDateTime localTime() const override;
    QSize screenPixels() const override;
    int colorDepth() const override;
    int mouseButtons() const override;
    bool keyExists(const QString& path) const override;
    std::optional<QByteArray> subkeyName(const QString& path, int index) const override;
    std::optional<DeviceValue> value(const QString& path, const QString& name) const override;

private:
    const DeviceKeyTree& devices() const;

    QString sysRoot_, diskIdRoot_, pciIds_;
    mutable std::optional<DeviceKeyTree> devices_; // read from /sys at first use
};

// The display adapters and mice that /sys under sysRoot describes, as keys under "Enum":
// "Enum\\<bus>\\<device>" with "Class" ("DISPLAY" or "Mouse"), "DeviceDesc" (the kernel driver,
// else the device's name) and "Mfg" (the maker, from a "manufacturer" file up the device's path or
// from the PCI vendor number through pci.ids; empty where neither is known).
DeviceKeyTree readDeviceTree(const QString& sysRoot, const QString& pciIds);

// The number of buttons (left, right, middle, side, extra, ...) of the first mouse under sysRoot,
// from its key capabilities; 0 without a mouse.
int countMouseButtons(const QString& sysRoot);

// Pure helpers of the Linux facts, open to tests.
// Total and used share from the text of /proc/meminfo (MemTotal, MemAvailable in kB).
std::optional<MemoryStatus> parseMeminfo(const QByteArray& text);
// The first 32 bits of a file-system UUID ("0a1b2c3d-..." or a FAT "ABCD-1234"); nullopt when the
// text has fewer than 8 hexadecimal digits.
std::optional<std::uint32_t> serialFromUuid(const QString& uuid);
// The kind of drive a mount is, from its file system and device; `removable` is the device's flag.
DriveType driveTypeOf(const QString& fsType, const QString& device, bool removable);
// The first 4 KB of a small text file such as a /sys attribute, trimmed; empty when unreadable.
QString readSmallTextFile(const QString& path);
// "major.minor" from a kernel release such as "6.1.0-18-amd64".
std::pair<int, int> kernelVersion(const QString& release);

} // namespace kavi
