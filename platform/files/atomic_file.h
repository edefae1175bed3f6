// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files replaced as a whole: the new content goes to a temporary file in the same folder, which is
// then renamed over the old one, so a failure never leaves a half-written file behind.
#include <QByteArray>
#include <QString>

#include <functional>
#include <string_view>
#include <vector>

namespace kavi {

// Writes data to path atomically. An existing file keeps its permissions. False on any failure,
// with the old file untouched.
bool writeFileAtomically(const QString& path, const QByteArray& data);

// The same, telling why it failed: 0 on success, otherwise the errno of the step that failed (no
// temporary file is left behind). A new file gets the usual permissions of the user's umask; a
// symbolic link to a file is written through.
int writeFileAtomicallyOrErrno(const QString& path, const QByteArray& data);

// The same for content given as pieces written one after another.
int writeFileAtomicallyOrErrno(const QString& path, const std::vector<std::string_view>& pieces);

// The steps of a write, in order, as a fault injector sees them.
enum class AtomicWriteStep { CreateTemporary, WriteData, Flush, Rename };

// For tests of full disks and read-only media: while set, the injector is asked before each step of
// every write with the target's path; a non-zero errno makes that step fail as the file system
// would (a failing WriteData still writes part of the data first). An empty function removes it.
using AtomicWriteFault = std::function<int(AtomicWriteStep step, const QString& target)>;
void setAtomicWriteFault(AtomicWriteFault fault);

} // namespace kavi
