// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/set_default_printer.h"

#include <QStringList>

namespace kavi {

cSetDfltPrinter::cSetDfltPrinter(PrinterSystem& printers) : printers_(printers) {
    // An entry without a comma is taken as a device name on its own.
    CurrentDefault_ = deviceNameOfEntry(printers_.defaultPrinterEntry());
}

cSetDfltPrinter::Method cSetDfltPrinter::methodFor(const VersionRecord& v) {
    if (v.major == 3 && v.minor == 51 && v.build == 1057 && v.platformId == 2) return Method::Profile;
    if (v.major == 4 && v.platformId == 1) return Method::Spooler;
    if (v.major == 4 && v.minor == 0 && v.build == 1381 && v.platformId == 2) return Method::Profile;
    if (v.major > 4) return Method::Profile;
    return Method::None;
}

bool cSetDfltPrinter::SetPrinterAsDefault(const QString& DeviceName) {
    if (DeviceName == CurrentDefault_) return true;
    switch (methodFor(printers_.versionRecord())) {
    case Method::Profile: return profileMethod(DeviceName);
    case Method::Spooler: return spoolerMethod(DeviceName);
    case Method::None: break;
    }
    return false;
}

bool cSetDfltPrinter::profileMethod(const QString& device) {
    if (device.isEmpty()) return false;
    const QString ports = printers_.printerPortsEntry(device);
    const QStringList fields = ports.split(',');
    const QString driver = fields.size() > 1 ? fields.at(0) : QString();
    const QString port = fields.size() > 2 ? fields.at(1) : QString();
    if (driver.isEmpty() || port.isEmpty()) return false;
    printers_.beforeDefaultChange();
    if (!printers_.writeDefaultPrinterEntry(device + ',' + driver + ',' + port)) return false;
    // Programs here read the default afresh on every query, so no change notice needs to be sent.
    CurrentDefault_ = device;
    printers_.afterDefaultChange(device);
    return true;
}

bool cSetDfltPrinter::spoolerMethod(const QString& device) {
    if (device.isEmpty()) return false;
    printers_.beforeDefaultChange();
    if (!printers_.setSpoolerDefault(device)) return false;
    CurrentDefault_ = device;
    printers_.afterDefaultChange(device);
    return true;
}

} // namespace kavi
