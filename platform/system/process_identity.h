// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A process named so that a later process given the same pid is told apart from it: its pid and
// its start time (clock ticks after boot, as /proc/<pid>/stat gives it).
#include <cstdint>
#include <optional>
#include <string>

namespace kavi {

struct ProcessIdentity {
    std::int64_t pid = 0;
    std::uint64_t startTime = 0;
    friend bool operator==(const ProcessIdentity&, const ProcessIdentity&) = default;
};

// This process.
ProcessIdentity currentProcess();
// The running process with that pid; none when there is none.
std::optional<ProcessIdentity> processIdentity(std::int64_t pid);

// Whether that very process still runs. A process that has ended but not yet been reaped (a
// zombie) counts as ended; so does another process that now has the same pid.
bool isRunning(const ProcessIdentity& process);

// The start time field of a /proc/<pid>/stat line, and whether the process has ended (state Z or
// X); none when the line cannot be read. The command name in parentheses may hold anything.
struct ProcessStat {
    std::uint64_t startTime = 0;
    bool ended = false;
};
std::optional<ProcessStat> parseProcessStat(const std::string& statLine);

} // namespace kavi
