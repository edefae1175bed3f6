// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files of this computer named by a drag's list of addresses (text/uri-list), in their order.
#include <QString>
#include <QStringList>

class QMimeData;

namespace kavi {

struct DroppedFiles {
    QStringList localFiles; // absolute paths of files on this computer
    QString firstElsewhere; // the first address that names no file here, as shown to the user
};

DroppedFiles droppedFiles(const QMimeData& data);

} // namespace kavi
