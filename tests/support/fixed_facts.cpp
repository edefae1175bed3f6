// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/fixed_facts.h"

namespace kavi::testing {

QStringList FixedSystemFacts::drives() const {
    QStringList roots;
    for (const Drive& d : driveList) roots.append(d.root);
    return roots;
}

DriveType FixedSystemFacts::driveType(const QString& root) const {
    for (const Drive& d : driveList)
        if (d.root == root) return d.type;
    return DriveType::NoRootFolder;
}

std::optional<VolumeInfo> FixedSystemFacts::volume(const QString& root) const {
    for (const Drive& d : driveList)
        if (d.root == root) return d.volume;
    return std::nullopt;
}

std::optional<DiskSpace> FixedSystemFacts::space(const QString& root) const {
    for (const Drive& d : driveList)
        if (d.root == root) return d.space;
    return std::nullopt;
}

} // namespace kavi::testing
