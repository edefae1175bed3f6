// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/mounts.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>

namespace kavi {

namespace {

// Mount tables escape blanks and a few other characters as backslash and three octal digits.
std::string unescapeMountField(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size()) {
            const std::string digits = s.substr(i + 1, 3);
            if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
                out += char(std::stoi(digits, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

} // namespace

bool isPseudoFileSystem(const std::string& fsType) {
    static const std::array<const char*, 27> pseudo = {
        "proc",       "sysfs",     "cgroup",  "cgroup2",     "devtmpfs",        "devpts",     "tmpfs",
        "securityfs", "pstore",    "debugfs", "tracefs",     "configfs",        "fusectl",    "mqueue",
        "hugetlbfs",  "bpf",       "autofs",  "binfmt_misc", "efivarfs",        "rpc_pipefs", "nsfs",
        "ramfs",      "selinuxfs", "overlay", "squashfs",    "fuse.gvfsd-fuse", "fuse.portal"};
    return std::find(pseudo.begin(), pseudo.end(), fsType) != pseudo.end();
}

std::vector<MountPoint> realFileSystemMounts(const std::string& mountTable) {
    std::vector<MountPoint> out;
    std::ifstream in(mountTable);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        MountPoint m;
        if (!(fields >> m.device >> m.path >> m.fsType)) continue;
        m.device = unescapeMountField(m.device);
        m.path = unescapeMountField(m.path);
        if (isPseudoFileSystem(m.fsType) && m.path != "/") continue;
        // Bind mounts of single files (as containers use) and the kernel's own trees are no drives.
        if (m.path.rfind("/proc", 0) == 0 || m.path.rfind("/sys", 0) == 0 || m.path.rfind("/dev", 0) == 0 ||
            m.path.rfind("/run", 0) == 0 || m.path == "/etc/hostname" || m.path == "/etc/hosts" ||
            m.path == "/etc/resolv.conf")
            continue;
        const auto same = std::find_if(out.begin(), out.end(), [&](const MountPoint& o) { return o.path == m.path; });
        if (same != out.end()) *same = m; // the later mount hides the earlier one
        else out.push_back(m);
    }
    return out;
}

std::string mountPointOf(const std::vector<MountPoint>& mounts, const std::string& path) {
    std::string best;
    for (const MountPoint& m : mounts) {
        const std::string& p = m.path;
        const bool prefix = p == "/"
            ? !path.empty() && path[0] == '/'
            : path.compare(0, p.size(), p) == 0 && (path.size() == p.size() || path[p.size()] == '/');
        if (prefix && p.size() > best.size()) best = p;
    }
    return best;
}

} // namespace kavi
