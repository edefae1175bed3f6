#include "program_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace kavi {

QString programFolder() { return QCoreApplication::applicationDirPath(); }

QString inProgramFolder(const QString& name) { return QDir(programFolder()).filePath(name); }

} // namespace kavi
