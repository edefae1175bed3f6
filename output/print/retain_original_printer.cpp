// SPDX-License-Identifier: GPL-3.0-or-later
#include "retain_original_printer.h"

#include "set_default_printer.h"
#include "temporary_printer_record.h"

namespace kavi {

namespace {

OriginalPrinterRecord lookUpOriginal(PrinterSystem& printers) {
    OriginalPrinterRecord record;
    if (const auto p = FindDefaultPrinter(printers)) {
        record.found = true;
        record.deviceName = p->deviceName;
        record.driverName = p->driverName;
        record.port = p->port;
        record.userSetting = printers.userDefaultSetting();
    }
    return record;
}

// The shut-down's restore. False only when it failed because the print service does not answer,
// the one failure worth another try later (a printer removed since cannot come back).
bool putBack(PrinterSystem& printers, const OriginalPrinterRecord& original) {
    if (!original.found) return true;
    bool done = cSetDfltPrinter(printers).SetPrinterAsDefault(original.deviceName);
    if (!original.userSetting) done = printers.clearUserDefaultSetting() && done;
    return done || printers.printService().reachable;
}

// The record of another Kavi that is still running, if one holds the file.
std::optional<TemporaryPrinterRecord> heldByAnotherKavi(const QString& recordFile, const ProcessIdentity& self) {
    auto record = readTemporaryPrinterRecord(recordFile);
    if (record && !(record->owner == self) && isRunning(record->owner)) return record;
    return std::nullopt;
}

} // namespace

std::optional<InstalledPrinter> FindDefaultPrinter(PrinterSystem& printers) {
    QString entry = printers.defaultPrinterEntry();
    if (entry.isEmpty()) entry = QStringLiteral(",,,");
    const QString wanted = deviceNameOfEntry(entry);
    for (const InstalledPrinter& p : printers.installedPrinters())
        if (p.deviceName == wanted) return p;
    return std::nullopt;
}

OriginalPrinterRecord rememberOriginalPrinter(PrinterSystem& printers, const QString& recordFile) {
    printers.setBeforeDefaultChange({});
    if (recordFile.isEmpty()) return lookUpOriginal(printers);
    const ProcessIdentity self = currentProcess();
    std::optional<OriginalPrinterRecord> carried; // an original this Kavi takes over
    if (const auto other = heldByAnotherKavi(recordFile, self)) {
        carried = other->original;
    } else if (const auto left = readTemporaryPrinterRecord(recordFile); left && !(left->owner == self)) {
        // Its Kavi has gone without putting the default back. The record's original is the user's
        // either way (the default now in force may be that Kavi's temporary printer, or whatever
        // changed since). Should putting it back fail now (the print service not answering), the
        // record stays for the next start and this Kavi puts the original back at its end.
        if (putBack(printers, left->original)) removeTemporaryPrinterRecord(recordFile);
        carried = left->original;
    }
    OriginalPrinterRecord original = carried ? *carried : lookUpOriginal(printers);
    original.recordFile = recordFile;
    printers.setBeforeDefaultChange([recordFile, self, original] {
        const auto existing = readTemporaryPrinterRecord(recordFile);
        if (existing && existing->owner == self) return; // written before the first change
        if (heldByAnotherKavi(recordFile, self)) return; // that Kavi's original stands
        // A failed write does not stop the change: the shut-down still puts the default back.
        writeTemporaryPrinterRecord(recordFile, {self, original});
    });
    return original;
}

void restoreOriginalPrinter(PrinterSystem& printers, const OriginalPrinterRecord& original) {
    printers.setBeforeDefaultChange({}); // putting back is no change to note
    if (original.recordFile.isEmpty()) {
        putBack(printers, original);
        return;
    }
    const ProcessIdentity self = currentProcess();
    if (heldByAnotherKavi(original.recordFile, self)) return;
    // The record is ours, or left by a Kavi that has gone (whose original this one shares): once
    // the original is back it is done with; if that failed, the next start tries again.
    if (putBack(printers, original) && readTemporaryPrinterRecord(original.recordFile))
        removeTemporaryPrinterRecord(original.recordFile);
}

} // namespace kavi
