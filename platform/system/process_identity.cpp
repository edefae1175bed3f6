// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/system/process_identity.h"

#include <cerrno>
#include <fstream>
#include <sstream>

#include <signal.h>
#include <unistd.h>

namespace kavi {

namespace {

std::optional<ProcessStat> statOf(std::int64_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!file || !std::getline(file, line)) return std::nullopt;
    return parseProcessStat(line);
}

} // namespace

std::optional<ProcessStat> parseProcessStat(const std::string& statLine) {
    // "pid (comm) state ppid ... starttime ...": the name ends at the last ')'; the state is field
    // 3 and the start time field 22.
    const std::size_t close = statLine.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(statLine.substr(close + 1));
    std::string state;
    if (!(fields >> state)) return std::nullopt;
    std::string skipped;
    for (int field = 4; field < 22; ++field)
        if (!(fields >> skipped)) return std::nullopt;
    ProcessStat stat;
    if (!(fields >> stat.startTime)) return std::nullopt;
    stat.ended = state == "Z" || state == "X";
    return stat;
}

ProcessIdentity currentProcess() {
    ProcessIdentity self;
    self.pid = getpid();
    if (const auto stat = statOf(self.pid)) self.startTime = stat->startTime;
    return self;
}

std::optional<ProcessIdentity> processIdentity(std::int64_t pid) {
    const auto stat = statOf(pid);
    if (!stat || stat->ended) return std::nullopt;
    return ProcessIdentity{pid, stat->startTime};
}

bool isRunning(const ProcessIdentity& process) {
    if (process.pid <= 0) return false;
    if (const auto stat = statOf(process.pid)) return !stat->ended && stat->startTime == process.startTime;
    // Without /proc the pid alone has to do.
    if (process.startTime != 0) return false;
    return kill(pid_t(process.pid), 0) == 0 || errno == EPERM;
}

} // namespace kavi
