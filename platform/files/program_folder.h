#pragma once
// The folder of the running executable: Kavi keeps its settings, help, sound and scan file there.
#include <QString>

namespace kavi {

QString programFolder();
// The folder joined with a file name by "/".
QString inProgramFolder(const QString& name);

} // namespace kavi
