#pragma once
// Files replaced as a whole: the new content goes to a temporary file in the same folder, which is
// then renamed over the old one, so a failure never leaves a half-written file behind.
#include <QByteArray>
#include <QString>

namespace kavi {

// Writes data to path atomically. An existing file keeps its permissions. False on any failure,
// with the old file untouched.
bool writeFileAtomically(const QString& path, const QByteArray& data);

} // namespace kavi
