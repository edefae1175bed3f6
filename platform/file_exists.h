#pragma once
// Whether a file of that name exists: hidden, read-only and system files count, folders never.
// The name part may hold the wildcards * and ?, in which case any matching file counts.
#include <QString>

namespace kavi {

bool FileExists(const QString& FileName);

} // namespace kavi
