// SPDX-License-Identifier: GPL-3.0-or-later
// Dropped address lists (text/uri-list) from a drag: whatever the list holds, only absolute paths
// of this computer come out, never more than the list has lines, and never a NUL inside a path.
#include "tests/fuzz/fuzz_support.h"

#include "app/dropped_files.h"

#include <QMimeData>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024) return 0;
    fuzz::ensureQtApplication();
    const QByteArray list(reinterpret_cast<const char*>(data), qsizetype(size));
    QMimeData mime;
    mime.setData(QStringLiteral("text/uri-list"), list);
    const kavi::DroppedFiles dropped = kavi::droppedFiles(mime);
    FUZZ_CHECK(dropped.localFiles.size() <= list.count('\n') + 1, "more files than lines");
    for (const QString& path : dropped.localFiles) {
        FUZZ_CHECK(path.startsWith(QLatin1Char('/')), "a path that is not absolute");
        FUZZ_CHECK(!path.contains(QChar(u'\0')), "a path holding a NUL");
    }
    return 0;
}
