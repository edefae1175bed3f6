// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/print/cups_printers.h"

#include "platform/print/cups_call.h"
#include "platform/print/cups_job.h"

#include <QDir>
#include <QFile>

#include <cups/cups.h>

namespace kavi {

namespace {

// The destinations of libcups for the length of one query.
class Destinations {
public:
    Destinations() : count_(cupsGetDests2(CUPS_HTTP_DEFAULT, &dests_)) {}
    ~Destinations() { cupsFreeDests(count_, dests_); }
    Destinations(const Destinations&) = delete;
    Destinations& operator=(const Destinations&) = delete;

    cups_dest_t* begin() { return dests_; }
    cups_dest_t* end() { return dests_ + count_; }
    int count() const { return count_; }
    cups_dest_t* data() { return dests_; }
    cups_dest_t* find(const QString& name) {
        const QByteArray n = name.toUtf8();
        return cupsGetDest(n.constData(), nullptr, count_, dests_);
    }

private:
    cups_dest_t* dests_ = nullptr;
    int count_ = 0;
};

QString option(const cups_dest_t& dest, const char* name) {
    return QString::fromUtf8(cupsGetOption(name, dest.num_options, dest.options));
}

// What the destination's attributes say of it: printer-state 5 is stopped.
QueueState queueStateOf(const cups_dest_t& dest) {
    if (option(dest, "printer-state") == QStringLiteral("5")) return QueueState::Stopped;
    if (option(dest, "printer-is-accepting-jobs").compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
        return QueueState::NotAccepting;
    if (option(dest, "printer-state-reasons").contains(QStringLiteral("offline"))) return QueueState::Unreachable;
    return QueueState::Ready;
}

InstalledPrinter describe(const cups_dest_t& dest) {
    InstalledPrinter p;
    p.deviceName = QString::fromUtf8(dest.name);
    p.driverName = option(dest, "printer-make-and-model");
    if (p.driverName.isEmpty()) p.driverName = QStringLiteral("unknown");
    p.port = option(dest, "device-uri");
    if (p.port.isEmpty()) p.port = option(dest, "printer-uri-supported");
    if (p.port.isEmpty()) p.port = QStringLiteral("unknown");
    // The entries join fields with commas, so none may hold one.
    p.driverName.replace(',', ' ');
    p.port.replace(",", "%2C");
    p.state = queueStateOf(dest);
    return p;
}

QString entryOf(const InstalledPrinter& p) { return p.deviceName + ',' + p.driverName + ',' + p.port; }

QString userOptionsPath() { return QDir::homePath() + QStringLiteral("/.cups/lpoptions"); }

// Makes "name" or "name/instance" the user's own default, as lpoptions -d does.
bool writeUserDefault(const QString& destination) {
    const QString name = destination.section('/', 0, 0), instance = destination.section('/', 1);
    Destinations dests;
    if (!dests.find(name)) return false;
    const QByteArray n = name.toUtf8(), i = instance.toUtf8();
    cupsSetDefaultDest(n.constData(), instance.isEmpty() ? nullptr : i.constData(), dests.count(), dests.data());
    return cupsSetDests2(CUPS_HTTP_DEFAULT, dests.count(), dests.data()) == 0;
}

// The questions to the print service, each run on a thread of its own by the methods below. They
// use nothing but their arguments, so one that outlives its caller's wait harms nothing.

std::vector<InstalledPrinter> listPrinters() {
    std::vector<InstalledPrinter> printers;
    Destinations dests;
    for (const cups_dest_t& d : dests)
        if (!d.instance) printers.push_back(describe(d)); // instances share their queue's device
    return printers;
}

QString readDefaultEntry() {
    Destinations dests;
    for (const cups_dest_t& d : dests)
        if (d.is_default && !d.instance) return entryOf(describe(d));
    return {};
}

std::optional<QString> readUserDefault() {
    QFile file(userOptionsPath());
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    std::optional<QString> found;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.section(' ', 0, 0, QString::SectionSkipEmpty).compare("Default", Qt::CaseInsensitive) == 0)
            found = line.section(' ', 1, 1, QString::SectionSkipEmpty); // the last Default line wins
    }
    return found;
}

bool clearUserDefault() {
    if (!readUserDefault()) return true;
    Destinations dests;
    if (dests.count() == 0) return false; // CUPS unreachable: leave the user's file alone
    for (cups_dest_t& d : dests) d.is_default = 0;
    return cupsSetDests2(CUPS_HTTP_DEFAULT, dests.count(), dests.data()) == 0;
}

bool writeDefaultEntry(const QString& name) {
    const std::optional<QString> before = readUserDefault();
    if (!writeUserDefault(name)) return false;
    if (deviceNameOfEntry(readDefaultEntry()) == name) return true;
    // Something ranks above the user's own setting (LPDEST or PRINTER in the environment), so the
    // new setting would change nothing: put the user's file back as it was and say so.
    if (before) writeUserDefault(*before);
    else clearUserDefault();
    return false;
}

QString readPortsEntry(const QString& deviceName) {
    Destinations dests;
    const cups_dest_t* d = dests.find(deviceName);
    if (!d || d->instance) return {};
    // The entry's fields after the port carry nothing on this platform, but the port ends at a comma.
    const InstalledPrinter p = describe(*d);
    return p.driverName + ',' + p.port + ',';
}

bool makeSpoolerDefault(const QString& deviceName) {
    {
        Destinations dests;
        if (!dests.find(deviceName)) return false;
    }
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_SET_DEFAULT);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                     deviceName.toUtf8().constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippDelete(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/admin/"));
    return cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
}

// Whether the service answers a question: a connection alone proves nothing, since a server that
// has stopped still takes connections on its socket.
bool serviceAnswers() {
    constexpr int kConnectMilliseconds = 5000;
    http_t* http =
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectMilliseconds, nullptr);
    if (!http) return false;
    ipp_t* response = cupsDoRequest(http, ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/");
    const bool answered = response != nullptr;
    ippDelete(response);
    httpClose(http);
    if (answered) cancelLeftoverJobs(); // a job that broke off while it was away
    return answered;
}

} // namespace

QString deviceNameOfEntry(const QString& entry) { return entry.section(',', 0, 0); }

// A service that does not answer in time has no printers, no default and takes no setting.

std::vector<InstalledPrinter> CupsPrinters::installedPrinters() {
    return callBounded<std::vector<InstalledPrinter>>(listPrinters).value_or(std::vector<InstalledPrinter>{});
}

QString CupsPrinters::defaultPrinterEntry() { return callBounded<QString>(readDefaultEntry).value_or(QString()); }

bool CupsPrinters::writeDefaultPrinterEntry(const QString& entry) {
    const QString name = deviceNameOfEntry(entry);
    if (name.isEmpty()) return false;
    return callBounded<bool>([name] { return writeDefaultEntry(name); }).value_or(false);
}

QString CupsPrinters::printerPortsEntry(const QString& deviceName) {
    return callBounded<QString>([deviceName] { return readPortsEntry(deviceName); }).value_or(QString());
}

bool CupsPrinters::setSpoolerDefault(const QString& deviceName) {
    if (deviceName.isEmpty()) return false;
    return callBounded<bool>([deviceName] { return makeSpoolerDefault(deviceName); }).value_or(false);
}

std::optional<QString> CupsPrinters::userDefaultSetting() { return readUserDefault(); }

PrintServiceStatus CupsPrinters::printService() {
    PrintServiceStatus status;
    status.server = QString::fromUtf8(cupsServer());
    status.reachable = callBounded<bool>(serviceAnswers).value_or(false);
    return status;
}

bool CupsPrinters::clearUserDefaultSetting() { return callBounded<bool>(clearUserDefault).value_or(false); }

} // namespace kavi
