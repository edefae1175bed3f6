#include "mounts.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <algorithm>
#include <map>

namespace kavi {

namespace {

// Undoes the kernel's escaping of blanks, tabs, newlines and backslashes in mount-table fields.
QString decodeField(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            const bool ok =
                std::all_of(digits.begin(), digits.end(), [](char d) { return d >= '0' && d <= '7'; });
            if (ok) {
                out.append(char(digits.toInt(nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    return QString::fromUtf8(out);
}

bool underFolder(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

bool isPseudoFileSystem(const QString& fsType, const QString& path) {
    static const QStringList kPseudo = {
        QStringLiteral("proc"),       QStringLiteral("sysfs"),      QStringLiteral("cgroup"),
        QStringLiteral("cgroup2"),    QStringLiteral("devtmpfs"),   QStringLiteral("devpts"),
        QStringLiteral("securityfs"), QStringLiteral("debugfs"),    QStringLiteral("tracefs"),
        QStringLiteral("pstore"),     QStringLiteral("bpf"),        QStringLiteral("mqueue"),
        QStringLiteral("hugetlbfs"),  QStringLiteral("configfs"),   QStringLiteral("fusectl"),
        QStringLiteral("binfmt_misc"), QStringLiteral("autofs"),    QStringLiteral("efivarfs"),
        QStringLiteral("rpc_pipefs"), QStringLiteral("nsfs"),       QStringLiteral("selinuxfs"),
        QStringLiteral("fuse.gvfsd-fuse"), QStringLiteral("fuse.portal"),
    };
    if (kPseudo.contains(fsType)) return true;
    if (fsType == QLatin1String("tmpfs") || fsType == QLatin1String("ramfs")) {
        for (const char* system : {"/dev", "/proc", "/sys", "/run"})
            if (underFolder(path, QLatin1String(system))) return true;
    }
    return false;
}

std::vector<MountPoint> parseMountTable(const QByteArray& table) {
    std::map<QString, MountPoint> byPath; // sorted by path; a later mount replaces an earlier one
    for (const QByteArray& line : table.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3) continue;
        MountPoint m{decodeField(fields[1]), decodeField(fields[0]), decodeField(fields[2])};
        if (m.path.isEmpty() || !m.path.startsWith(QLatin1Char('/'))) continue;
        if (isPseudoFileSystem(m.fsType, m.path)) {
            byPath.erase(m.path); // what was mounted there before is hidden now
            continue;
        }
        byPath[m.path] = m;
    }
    std::vector<MountPoint> result;
    result.reserve(byPath.size());
    for (auto& [path, m] : byPath) result.push_back(std::move(m));
    return result;
}

std::vector<MountPoint> realFileSystemMounts() {
    QFile file(QStringLiteral("/proc/self/mounts"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    std::vector<MountPoint> mounts = parseMountTable(file.readAll());
    // A mount point that cannot be read (a drive that is not ready) stays in the list.
    std::erase_if(mounts, [](const MountPoint& m) {
        const QFileInfo info(m.path);
        return info.exists() && !info.isDir();
    });
    return mounts;
}

} // namespace kavi
