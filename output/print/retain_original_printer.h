#pragma once
// The printer that was the default when the program started, and putting it back at the end.
#include "print/cups_printers.h"

#include <optional>

namespace kavi {

// The installed printer that the default-printer entry names, or none.
std::optional<InstalledPrinter> FindDefaultPrinter(PrinterSystem& printers);

struct OriginalPrinterRecord {
    bool found = false;
    QString deviceName, driverName, port;
    // The user's own default setting at start-up (none: the spooler's default applied).
    std::optional<QString> userSetting;
};

// Start-up: remembers the default printer and the user's own setting.
OriginalPrinterRecord rememberOriginalPrinter(PrinterSystem& printers);

// Shut-down: makes the remembered printer the default again through a new cSetDfltPrinter, and when
// the user had no default setting of their own, removes the one the program wrote, so the user's
// settings are exactly as they were. Nothing happens when no printer was found at start-up.
void restoreOriginalPrinter(PrinterSystem& printers, const OriginalPrinterRecord& original);

} // namespace kavi
