// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/system/system_facts.h"

#include "platform/files/mounts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <cctype>
#include <pwd.h>
#include <sys/statvfs.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace kavi {

// ---- the device key tree -------------------------------------------------------------------

void DeviceKeyTree::addKey(const QString& path, const std::map<QString, DeviceValue>& values) {
    const bool isNew = keys_.count(path) == 0;
    Key& key = keys_[path];
    for (const auto& [name, v] : values) key.values[name] = v;
    if (!isNew) return;
    const qsizetype cut = path.lastIndexOf(QLatin1Char('\\'));
    if (cut < 0) return;
    const QString parent = path.left(cut);
    addKey(parent);
    keys_[parent].subkeys.append(path.mid(cut + 1));
}

std::optional<QByteArray> DeviceKeyTree::subkeyName(const QString& path, int index) const {
    const auto it = keys_.find(path);
    if (it == keys_.end() || index < 0 || index >= it->second.subkeys.size()) return std::nullopt;
    QByteArray name = it->second.subkeys[index].toUtf8();
    name.append('\0');
    return name;
}

std::optional<DeviceValue> DeviceKeyTree::value(const QString& path, const QString& name) const {
    const auto it = keys_.find(path);
    if (it == keys_.end()) return std::nullopt;
    const auto v = it->second.values.find(name);
    if (v == it->second.values.end()) return std::nullopt;
    return v->second;
}

DeviceValue DeviceKeyTree::text(const QString& s) {
    QByteArray data = s.toUtf8();
    data.append('\0');
    return {DeviceValueType::String, data};
}

// ---- pure helpers --------------------------------------------------------------------------

std::optional<MemoryStatus> parseMeminfo(const QByteArray& text) {
    std::optional<std::uint64_t> totalKb, availableKb;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() < 2) continue;
        bool ok = false;
        const std::uint64_t kb = f[1].toULongLong(&ok);
        if (!ok) continue;
        if (f[0] == "MemTotal:") totalKb = kb;
        else if (f[0] == "MemAvailable:") availableKb = kb;
    }
    if (!totalKb || *totalKb == 0) return std::nullopt;
    MemoryStatus m;
    m.totalBytes = *totalKb * 1024;
    const std::uint64_t available = std::min(availableKb.value_or(*totalKb), *totalKb);
    // Rounded to the nearest whole percent.
    m.loadPercent = int(((*totalKb - available) * 100 + *totalKb / 2) / *totalKb);
    return m;
}

std::optional<std::uint32_t> serialFromUuid(const QString& uuid) {
    QString hex;
    for (const QChar c : uuid) {
        if (c == QLatin1Char('-')) continue;
        if (!std::isxdigit(c.unicode() < 128 ? c.toLatin1() : 'x')) return std::nullopt;
        hex.append(c);
        if (hex.size() == 8) break;
    }
    if (hex.size() < 8) return std::nullopt;
    return std::uint32_t(hex.toUInt(nullptr, 16));
}

DriveType driveTypeOf(const QString& fsType, const QString& device, bool removable) {
    static const QStringList kNetwork = {
        QStringLiteral("nfs"),         QStringLiteral("nfs4"),       QStringLiteral("cifs"),
        QStringLiteral("smb3"),        QStringLiteral("smbfs"),      QStringLiteral("ncpfs"),
        QStringLiteral("9p"),          QStringLiteral("afs"),        QStringLiteral("ceph"),
        QStringLiteral("glusterfs"),   QStringLiteral("fuse.sshfs"), QStringLiteral("davfs"),
        QStringLiteral("fuse.davfs2"),
    };
    const QString deviceName = device.section(QLatin1Char('/'), -1);
    if (kNetwork.contains(fsType) || device.startsWith(QLatin1String("//"))) return DriveType::Remote;
    if (fsType == QLatin1String("iso9660") || fsType == QLatin1String("udf") ||
        deviceName.startsWith(QLatin1String("sr")) || deviceName.startsWith(QLatin1String("cdrom")))
        return DriveType::CdRom;
    if (fsType == QLatin1String("tmpfs") || fsType == QLatin1String("ramfs") ||
        deviceName.startsWith(QLatin1String("ram")) || deviceName.startsWith(QLatin1String("zram")))
        return DriveType::RamDisk;
    if (removable) return DriveType::Removable;
    return DriveType::Fixed;
}

std::pair<int, int> kernelVersion(const QString& release) {
    static const QRegularExpression re(QStringLiteral("^(\\d+)\\.(\\d+)"));
    const auto m = re.match(release);
    if (!m.hasMatch()) return {0, 0};
    return {m.captured(1).toInt(), m.captured(2).toInt()};
}

QString readSmallTextFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.read(4096)).trimmed();
}

// ---- this computer -------------------------------------------------------------------------

namespace {

std::optional<MountPoint> mountOf(const QString& root) {
    for (const MountPoint& m : realFileSystemMounts())
        if (QString::fromStdString(m.path) == root) return m;
    return std::nullopt;
}

// Decodes the \xHH escapes udev puts into the names under /dev/disk/by-label.
QString decodeUdevName(const QString& name) {
    QByteArray out;
    const QByteArray in = name.toUtf8();
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '\\' && i + 3 < in.size() && in[i + 1] == 'x') {
            bool ok = false;
            const int c = in.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out.append(char(c));
                i += 3;
                continue;
            }
        }
        out.append(in[i]);
    }
    return QString::fromUtf8(out);
}

// The name of the link in /dev/disk/<kind> that points at the device, or empty.
QString diskIdOf(const QString& diskIdRoot, const QString& kind, const QString& device) {
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty()) return {};
    const QDir dir(diskIdRoot + QLatin1Char('/') + kind);
    for (const QFileInfo& link : dir.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot))
        if (link.canonicalFilePath() == target) return decodeUdevName(link.fileName());
    return {};
}

// The "removable" flag of the block device (or of the disk a partition belongs to).
bool isRemovable(const QString& sysRoot, const QString& device) {
    const QString name = QFileInfo(QFileInfo(device).canonicalFilePath()).fileName();
    if (name.isEmpty()) return false;
    QString dev = QFileInfo(sysRoot + QStringLiteral("/class/block/") + name).canonicalFilePath();
    if (dev.isEmpty()) return false;
    if (QFileInfo::exists(dev + QStringLiteral("/partition"))) dev = QFileInfo(dev).path();
    return readSmallTextFile(dev + QStringLiteral("/removable")) == QLatin1String("1");
}

} // namespace

LinuxSystemFacts::LinuxSystemFacts(QString sysRoot, QString diskIdRoot, QString pciIds)
    : sysRoot_(std::move(sysRoot)), diskIdRoot_(std::move(diskIdRoot)), pciIds_(std::move(pciIds)) {}

QString LinuxSystemFacts::userName() const {
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name) return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

QString LinuxSystemFacts::computerName() const {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return QString::fromLocal8Bit(name);
}

QString LinuxSystemFacts::systemFolder() const { return QStringLiteral("/"); }
QString LinuxSystemFacts::libraryFolder() const { return QStringLiteral("/usr/lib"); }

QString LinuxSystemFacts::temporaryPath() const {
    QString path = qEnvironmentVariable("TMPDIR");
    if (path.isEmpty()) return QStringLiteral("/tmp/");
    if (!path.endsWith(QLatin1Char('/'))) path.append(QLatin1Char('/'));
    return path;
}

QString LinuxSystemFacts::platformName() const {
    utsname u{};
    return uname(&u) == 0 ? QString::fromLatin1(u.sysname) : QString();
}

int LinuxSystemFacts::versionMajor() const {
    utsname u{};
    return uname(&u) == 0 ? kernelVersion(QString::fromLatin1(u.release)).first : 0;
}

int LinuxSystemFacts::versionMinor() const {
    utsname u{};
    return uname(&u) == 0 ? kernelVersion(QString::fromLatin1(u.release)).second : 0;
}

MemoryStatus LinuxSystemFacts::memory() const {
    QFile f(QStringLiteral("/proc/meminfo"));
    if (f.open(QIODevice::ReadOnly))
        if (auto m = parseMeminfo(f.readAll())) return *m;
    struct sysinfo si {};
    if (sysinfo(&si) != 0 || si.totalram == 0) return {};
    const std::uint64_t unit = si.mem_unit ? si.mem_unit : 1;
    const std::uint64_t total = std::uint64_t(si.totalram) * unit;
    const std::uint64_t used = total - std::min<std::uint64_t>(total, std::uint64_t(si.freeram) * unit);
    return {total, int(used * 100 / total)};
}

QStringList LinuxSystemFacts::drives() const {
    QStringList roots;
    for (const MountPoint& m : realFileSystemMounts()) roots.append(QString::fromStdString(m.path));
    return roots;
}

DriveType LinuxSystemFacts::driveType(const QString& root) const {
    const auto m = mountOf(root);
    if (!m) return DriveType::NoRootFolder;
    const QString device = QString::fromStdString(m->device);
    return driveTypeOf(QString::fromStdString(m->fsType), device, isRemovable(sysRoot_, device));
}

std::optional<VolumeInfo> LinuxSystemFacts::volume(const QString& root) const {
    const auto m = mountOf(root);
    struct statvfs st {};
    if (!m || statvfs(QFile::encodeName(root).constData(), &st) != 0) return std::nullopt;
    VolumeInfo v;
    const QString device = QString::fromStdString(m->device);
    v.fileSystemName = QString::fromStdString(m->fsType);
    v.label = diskIdOf(diskIdRoot_, QStringLiteral("by-label"), device);
    const auto fromUuid = serialFromUuid(diskIdOf(diskIdRoot_, QStringLiteral("by-uuid"), device));
    v.serial = fromUuid ? *fromUuid : std::uint32_t(st.f_fsid);
    return v;
}

std::optional<DiskSpace> LinuxSystemFacts::space(const QString& root) const {
    struct statvfs st {};
    if (statvfs(QFile::encodeName(root).constData(), &st) != 0) return std::nullopt;
    const std::uint64_t unit = st.f_frsize ? st.f_frsize : st.f_bsize;
    return DiskSpace{std::uint64_t(st.f_blocks) * unit, std::uint64_t(st.f_bfree) * unit};
}

QDateTime LinuxSystemFacts::localTime() const { return QDateTime::currentDateTime(); }

QSize LinuxSystemFacts::screenPixels() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->size() : QSize();
}

int LinuxSystemFacts::colorDepth() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->depth() : 0;
}

int LinuxSystemFacts::mouseButtons() const { return countMouseButtons(sysRoot_); }

const DeviceKeyTree& LinuxSystemFacts::devices() const {
    if (!devices_) devices_ = readDeviceTree(sysRoot_, pciIds_);
    return *devices_;
}

bool LinuxSystemFacts::keyExists(const QString& path) const { return devices().keyExists(path); }

std::optional<QByteArray> LinuxSystemFacts::subkeyName(const QString& path, int index) const {
    return devices().subkeyName(path, index);
}

std::optional<DeviceValue> LinuxSystemFacts::value(const QString& path, const QString& name) const {
    return devices().value(path, name);
}

} // namespace kavi
