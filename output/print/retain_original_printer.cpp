// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/retain_original_printer.h"

#include "output/print/set_default_printer.h"
#include "output/print/temporary_printer_record.h"

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

namespace {

QString currentDefault(PrinterSystem& printers) { return deviceNameOfEntry(printers.defaultPrinterEntry()); }

// No default could be read because the print service does not answer: nothing can be decided now.
bool cannotTell(PrinterSystem& printers, const QString& current) {
    return current.isEmpty() && !printers.printService().reachable;
}

// Whether the default is still the printer the record's Kavi set (an older record does not say).
bool stillItsPrinter(const OriginalPrinterRecord& original, const QString& current) {
    return original.temporaryPrinter.isEmpty() || original.temporaryPrinter == current;
}

void clearHooks(PrinterSystem& printers) {
    printers.setBeforeDefaultChange({});
    printers.setAfterDefaultChange({});
}

} // namespace

OriginalPrinterRecord rememberOriginalPrinter(PrinterSystem& printers, const QString& recordFile) {
    clearHooks(printers);
    auto changes = std::make_shared<DefaultChanges>();
    const auto noteBefore = [&printers, changes] {
        if (changes->setByThisKavi.isEmpty()) changes->beforeFirstChange = currentDefault(printers);
    };
    if (recordFile.isEmpty()) {
        OriginalPrinterRecord original = lookUpOriginal(printers);
        original.changes = changes;
        printers.setBeforeDefaultChange(noteBefore);
        printers.setAfterDefaultChange([changes](const QString& device) { changes->setByThisKavi = device; });
        return original;
    }
    const ProcessIdentity self = currentProcess();
    std::optional<OriginalPrinterRecord> carried; // an original this Kavi takes over
    if (const auto other = heldByAnotherKavi(recordFile, self)) {
        carried = other->original;
    } else if (const auto left = readTemporaryPrinterRecord(recordFile); left && !(left->owner == self)) {
        // Its Kavi has gone without putting the default back. The record's original is the user's
        // while the default is still that Kavi's printer; once the user or another program has
        // changed it, that choice stands. Should putting it back fail now (the print service not
        // answering), the record stays for the next start and this Kavi puts the original back at
        // its end.
        const QString current = currentDefault(printers);
        if (cannotTell(printers, current)) {
            carried = left->original;
        } else if (stillItsPrinter(left->original, current)) {
            if (putBack(printers, left->original)) removeTemporaryPrinterRecord(recordFile);
            carried = left->original;
        } else {
            removeTemporaryPrinterRecord(recordFile);
        }
    }
    OriginalPrinterRecord original = carried ? *carried : lookUpOriginal(printers);
    original.recordFile = recordFile;
    original.temporaryPrinter.clear();
    original.changes = changes;
    printers.setBeforeDefaultChange([recordFile, self, original, noteBefore] {
        noteBefore();
        const auto existing = readTemporaryPrinterRecord(recordFile);
        if (existing && existing->owner == self) return; // written before the first change
        if (heldByAnotherKavi(recordFile, self)) return; // that Kavi's original stands
        // A failed write does not stop the change: the shut-down still puts the default back.
        TemporaryPrinterRecord record{self, original};
        record.original.changes.reset();
        writeTemporaryPrinterRecord(recordFile, record);
    });
    printers.setAfterDefaultChange([recordFile, self, changes](const QString& device) {
        changes->setByThisKavi = device;
        // The record says which printer is this Kavi's, so that a later start leaves any other alone.
        auto existing = readTemporaryPrinterRecord(recordFile);
        if (!existing || !(existing->owner == self)) return;
        existing->original.temporaryPrinter = device;
        writeTemporaryPrinterRecord(recordFile, *existing);
    });
    return original;
}

void restoreOriginalPrinter(PrinterSystem& printers, const OriginalPrinterRecord& original) {
    clearHooks(printers); // putting back is no change to note
    const QString ours = original.changes ? original.changes->setByThisKavi : QString();
    const QString current = currentDefault(printers);
    if (cannotTell(printers, current)) return; // a record stays for the next start
    const bool oursInForce = !ours.isEmpty() && current == ours;
    if (original.recordFile.isEmpty()) {
        if (oursInForce) putBack(printers, original);
        return;
    }
    const ProcessIdentity self = currentProcess();
    if (heldByAnotherKavi(original.recordFile, self)) {
        // That Kavi puts the user's default back when it ends; this one undoes only its own change.
        if (oursInForce && !original.changes->beforeFirstChange.isEmpty())
            cSetDfltPrinter(printers).SetPrinterAsDefault(original.changes->beforeFirstChange);
        return;
    }
    const auto record = readTemporaryPrinterRecord(original.recordFile);
    if (record && !(record->owner == self)) {
        // Left by a Kavi that has gone (whose original this one shares): put back as a start would.
        if (!oursInForce && !stillItsPrinter(record->original, current)) {
            removeTemporaryPrinterRecord(original.recordFile);
            return;
        }
        if (putBack(printers, record->original)) removeTemporaryPrinterRecord(original.recordFile);
        return;
    }
    // The record is ours, or there is none: once the original is back it is done with; if that
    // failed, the next start tries again. A default changed since by someone else is left alone.
    if (!oursInForce) {
        if (record) removeTemporaryPrinterRecord(original.recordFile);
        return;
    }
    if (putBack(printers, original) && record) removeTemporaryPrinterRecord(original.recordFile);
}

} // namespace kavi
