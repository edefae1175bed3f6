// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The note Kavi leaves in its settings folder before it first changes the user's default printer:
// which Kavi made the change (its pid and start time) and what the original setting was. If that
// Kavi ends without its shut-down (a crash, SIGKILL), the next start finds the note, puts the
// original back and removes the note.
#include "output/print/retain_original_printer.h"
#include "platform/system/process_identity.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kavi {

struct TemporaryPrinterRecord {
    ProcessIdentity owner;
    OriginalPrinterRecord original;
};

QByteArray formatTemporaryPrinterRecord(const TemporaryPrinterRecord& record);
// None for anything that is not a whole record.
std::optional<TemporaryPrinterRecord> parseTemporaryPrinterRecord(const QByteArray& text);

// The record in the file, none when there is none or it is damaged.
std::optional<TemporaryPrinterRecord> readTemporaryPrinterRecord(const QString& path);
// Written atomically; false when it could not be.
bool writeTemporaryPrinterRecord(const QString& path, const TemporaryPrinterRecord& record);
bool removeTemporaryPrinterRecord(const QString& path);

} // namespace kavi
