// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Makes a named printer the system default, choosing the method by the operating-system version:
// the profile method writes the default-printer entry (here: the user's own CUPS default), the
// spooler method makes the printer the spooler's default.
#include "platform/print/cups_printers.h"

#include <QString>

namespace kavi {

class cSetDfltPrinter {
public:
    enum class Method { Profile, Spooler, None };

    // CurrentDefault is read from the default-printer entry once, here.
    explicit cSetDfltPrinter(PrinterSystem& printers);

    // True on success, or at once when DeviceName already is CurrentDefault (case-sensitive).
    bool SetPrinterAsDefault(const QString& DeviceName);
    const QString& CurrentDefault() const { return CurrentDefault_; }

    // The method the version table picks for a version record.
    static Method methodFor(const VersionRecord& version);

private:
    bool profileMethod(const QString& device);
    bool spoolerMethod(const QString& device);

    PrinterSystem& printers_;
    QString CurrentDefault_;
};

} // namespace kavi
