// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system's printers with one queue standing in as the default, for this process only: the
// printer object then sends its jobs there while the user's own default stays as it is.
#include "platform/print/cups_printers.h"

namespace kavi {

class NamedQueuePrinters final : public PrinterSystem {
public:
    NamedQueuePrinters(PrinterSystem& system, QString queue) : system_(system), queue_(std::move(queue)) {}

    std::vector<InstalledPrinter> installedPrinters() override { return system_.installedPrinters(); }
    // The named queue's entry; "" when no such queue is installed.
    QString defaultPrinterEntry() override {
        const QString ports = system_.printerPortsEntry(queue_);
        return ports.isEmpty() ? QString() : queue_ + QLatin1Char(',') + ports;
    }
    bool writeDefaultPrinterEntry(const QString&) override { return false; }
    QString printerPortsEntry(const QString& deviceName) override { return system_.printerPortsEntry(deviceName); }
    bool setSpoolerDefault(const QString&) override { return false; }
    VersionRecord versionRecord() override { return system_.versionRecord(); }
    std::optional<QString> userDefaultSetting() override { return system_.userDefaultSetting(); }
    bool clearUserDefaultSetting() override { return false; }
    PrintServiceStatus printService() override { return system_.printService(); }

private:
    PrinterSystem& system_;
    QString queue_;
};

} // namespace kavi
