// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The installed printers and the default-printer settings, in the terms the printer chooser uses:
// a default-printer entry ("device,driver,port"), a printer-ports entry per device ("driver,port"),
// the spooler's own default, and the operating-system version record that picks the method.
// The real service asks CUPS; tests use an in-memory double.
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace kavi {

// Whether a queue can print now: stopped (it keeps jobs without printing them), not accepting
// jobs, or its device reported off line.
enum class QueueState { Ready, Stopped, NotAccepting, Unreachable };

struct InstalledPrinter {
    QString deviceName;
    QString driverName;
    QString port;
    QueueState state = QueueState::Ready;
};

// The fields the printer chooser's version table reads.
struct VersionRecord {
    int major = 0;
    int minor = 0;
    int build = 0;
    int platformId = 0;
};

// Where the print service is reached (a server name or socket) and whether it answers now.
struct PrintServiceStatus {
    QString server;
    bool reachable = true;
};

class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;
    // Every installed printer, in the order the system lists them.
    virtual std::vector<InstalledPrinter> installedPrinters() = 0;
    // The default-printer entry: device, driver and port of the default printer joined by commas,
    // or "" when there is no default printer.
    virtual QString defaultPrinterEntry() = 0;
    // Makes the device named by the entry's first field the user's default printer.
    virtual bool writeDefaultPrinterEntry(const QString& entry) = 0;
    // The printer-ports entry of a device: driver, port and further unused fields joined by commas,
    // "" when the device is not installed.
    virtual QString printerPortsEntry(const QString& deviceName) = 0;
    // Makes the device the spooler's (server-wide) default printer.
    virtual bool setSpoolerDefault(const QString& deviceName) = 0;
    virtual VersionRecord versionRecord() = 0;
    // The user's own default-printer setting, apart from the spooler's default: the device named,
    // or none when the user has no setting of their own.
    virtual std::optional<QString> userDefaultSetting() = 0;
    // Removes the user's own default-printer setting, so the spooler's default applies again.
    virtual bool clearUserDefaultSetting() = 0;
    // Whether the print service answers: with none, no printer can be listed even when some are set up.
    virtual PrintServiceStatus printService() = 0;

    // What must happen before the default printer is changed (the program notes how to undo the
    // change, should it end without putting the default back); the printer switcher runs it.
    void setBeforeDefaultChange(std::function<void()> step) { beforeDefaultChange_ = std::move(step); }
    void beforeDefaultChange() const {
        if (beforeDefaultChange_) beforeDefaultChange_();
    }
    // What must happen once the printer switcher has made a device the default (the program notes
    // which printer it set, so that it never undoes a later change of the user's).
    void setAfterDefaultChange(std::function<void(const QString&)> step) { afterDefaultChange_ = std::move(step); }
    void afterDefaultChange(const QString& deviceName) const {
        if (afterDefaultChange_) afterDefaultChange_(deviceName);
    }

private:
    std::function<void()> beforeDefaultChange_;
    std::function<void(const QString&)> afterDefaultChange_;
};

// The device name of a default-printer entry: the text before its first comma.
QString deviceNameOfEntry(const QString& entry);

// CUPS: every question to the service is bounded (see cups_call.h); one that gets no answer in time
// finds no printer, no default and changes nothing.
// Destinations as libcups lists them (with the user's lpoptions applied); the driver is the
// printer's make and model ("unknown" when empty), the port its device URI (or its printer URI when
// it has none). The user's default is written to ~/.cups/lpoptions as CUPS's lpoptions tool does;
// the spooler default is set on the server with CUPS-Set-Default.
class CupsPrinters final : public PrinterSystem {
public:
    std::vector<InstalledPrinter> installedPrinters() override;
    QString defaultPrinterEntry() override;
    bool writeDefaultPrinterEntry(const QString& entry) override;
    QString printerPortsEntry(const QString& deviceName) override;
    bool setSpoolerDefault(const QString& deviceName) override;
    // This platform counts as a system later than major 4 on platform 2, so the profile method applies.
    VersionRecord versionRecord() override { return {5, 0, 0, 2}; }
    std::optional<QString> userDefaultSetting() override;
    bool clearUserDefaultSetting() override;
    // The server libcups talks to (cupsServer(): a host name or a local socket), asked one question;
    // unreachable when it does not answer in time, or while an earlier question still waits for it.
    PrintServiceStatus printService() override;
};

} // namespace kavi
