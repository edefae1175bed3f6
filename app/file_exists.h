// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

namespace kavi {

// True when a file matches the name: hidden, read-only and system files count, folders never do.
// The last part of the name may hold the wildcards * and ?, in which case any match counts.
bool fileExists(const QString& fileName);

// Wildcard match of a whole name against a pattern of *, ? and plain characters.
bool wildcardMatch(const QString& pattern, const QString& name);

} // namespace kavi
