// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printer that was the default when the program started, and putting it back at the end.
#include "platform/print/cups_printers.h"

#include <memory>
#include <optional>

namespace kavi {

// The default-printer changes this Kavi made during its run.
struct DefaultChanges {
    QString setByThisKavi; // the device it made the default last; "" before its first change
    QString beforeFirstChange; // the default in force just before its first change
};

// The installed printer that the default-printer entry names, or none.
std::optional<InstalledPrinter> FindDefaultPrinter(PrinterSystem& printers);

struct OriginalPrinterRecord {
    bool found = false;
    QString deviceName, driverName, port;
    // The user's own default setting at start-up (none: the spooler's default applied).
    std::optional<QString> userSetting;
    // Where the note for undoing a temporary printer after a crash is kept ("": nowhere).
    QString recordFile;
    // The printer the Kavi that wrote the note made the default; "" when unknown (an older note).
    QString temporaryPrinter;
    // Filled in as this Kavi changes the default (shared by every copy of this record).
    std::shared_ptr<DefaultChanges> changes;
};

// The record file for rememberOriginalPrinter: beside the settings file.
QString temporaryPrinterRecordBeside(const QString& settingsFile);

// Start-up: remembers the default printer and the user's own setting.
//
// With a record file: a record left by a Kavi that has ended without its shut-down is first put
// back (as the shut-down would have) and removed, so that its temporary printer is not taken for
// the original; when the default is no longer the printer that Kavi set (the user or another
// program has changed it since), the default is left as it is and the record only removed. From then on, before this
// Kavi first changes the default printer, it writes the record naming itself and the original.
//
// Two Kavis at once: the record belongs to the one that wrote it, and no other ever overwrites or
// undoes it. A Kavi that starts while another running Kavi holds the record takes that record's
// original as its own (the current default may be the other one's temporary printer), so whichever
// of them ends last puts the user's real setting back.
OriginalPrinterRecord rememberOriginalPrinter(PrinterSystem& printers, const QString& recordFile = QString());

// Shut-down: makes the remembered printer the default again through a new cSetDfltPrinter, and when
// the user had no default setting of their own, removes the one the program wrote, so the user's
// settings are exactly as they were; then removes this Kavi's record (kept when putting back
// failed, so that the next start tries again). All this only while the default is still the
// printer this Kavi set: when the user or another program has changed it since (or this Kavi never
// changed it), that choice stands and the record is only removed. Nothing happens when no
// printer was found at start-up. While another running Kavi holds the record, that one puts the
// user's default back when it ends; this one only hands back the default that was in force before
// its own change, if its printer is still the default.
void restoreOriginalPrinter(PrinterSystem& printers, const OriginalPrinterRecord& original);

} // namespace kavi
