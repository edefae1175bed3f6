#include "retain_original_printer.h"

#include "set_default_printer.h"

namespace kavi {

std::optional<InstalledPrinter> FindDefaultPrinter(PrinterSystem& printers) {
    QString entry = printers.defaultPrinterEntry();
    if (entry.isEmpty()) entry = QStringLiteral(",,,");
    const QString wanted = deviceNameOfEntry(entry);
    for (const InstalledPrinter& p : printers.installedPrinters())
        if (p.deviceName == wanted) return p;
    return std::nullopt;
}

OriginalPrinterRecord rememberOriginalPrinter(PrinterSystem& printers) {
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

void restoreOriginalPrinter(PrinterSystem& printers, const OriginalPrinterRecord& original) {
    if (!original.found) return;
    cSetDfltPrinter(printers).SetPrinterAsDefault(original.deviceName);
    if (!original.userSetting) printers.clearUserDefaultSetting();
}

} // namespace kavi
