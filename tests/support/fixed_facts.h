// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fixed answers for the screen units and the system facts, so window tests see the same machine everywhere.
#include "platform/desktop/twips.h"
#include "platform/system/system_facts.h"

namespace kavi::testing {

// A screen of a fixed logical resolution (96 dpi gives 15 twips per pixel).
class FixedScreenUnits final : public ScreenUnits {
public:
    explicit FixedScreenUnits(double dpi = 96) : dpi_(dpi) {}
    double logicalDpiX() const override { return dpi_; }
    double logicalDpiY() const override { return dpi_; }

private:
    double dpi_;
};

// Fixed facts for tests: every answer is a public field.
class FixedSystemFacts final : public SystemFacts {
public:
    struct Drive {
        QString root;
        DriveType type = DriveType::Fixed;
        std::optional<VolumeInfo> volume;
        std::optional<DiskSpace> space;
    };
    QString user = QStringLiteral("ana"), computer = QStringLiteral("studio");
    QString sysFolder = QStringLiteral("/"), libFolder = QStringLiteral("/usr/lib"), temp = QStringLiteral("/tmp/");
    QString platform = QStringLiteral("Linux");
    int major = 6, minor = 1;
    MemoryStatus memoryStatus{8ull << 30, 42};
    std::vector<Drive> driveList;
    QDateTime now = QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3));
    QSize screen{1920, 1080};
    int depth = 24, buttons = 3;
    DeviceKeyTree keys;

    QString userName() const override { return user; }
    QString computerName() const override { return computer; }
    QString systemFolder() const override { return sysFolder; }
    QString libraryFolder() const override { return libFolder; }
    QString temporaryPath() const override { return temp; }
    QString platformName() const override { return platform; }
    int versionMajor() const override { return major; }
    int versionMinor() const override { return minor; }
    MemoryStatus memory() const override { return memoryStatus; }
    QStringList drives() const override;
    DriveType driveType(const QString& root) const override;
    std::optional<VolumeInfo> volume(const QString& root) const override;
    std::optional<DiskSpace> space(const QString& root) const override;
    QDateTime localTime() const override { return now; }
    QSize screenPixels() const override { return screen; }
    int colorDepth() const override { return depth; }
    int mouseButtons() const override { return buttons; }
    bool keyExists(const QString& path) const override { return keys.keyExists(path); }
    std::optional<QByteArray> subkeyName(const QString& path, int index) const override {
        return keys.subkeyName(path, index);
    }
    std::optional<DeviceValue> value(const QString& path, const QString& name) const override {
        return keys.value(path, name);
    }
};

} // namespace kavi::testing
