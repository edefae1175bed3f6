// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/integration/print/private_cups.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <cups/cups.h>
#include <signal.h>

namespace kavi::testing {

namespace {

bool writeFile(const QString& path, const QString& text) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) == text.toUtf8().size();
}

} // namespace

PrivateCups::PrivateCups() {
    if (!dir_.isValid()) {
        failure_ = "no temporary folder";
        return;
    }
    // KAVI_KEEP_PRINT_JOBS=1 keeps the folder (and the printed job files) for a look afterwards.
    if (qEnvironmentVariableIsSet("KAVI_KEEP_PRINT_JOBS")) {
        dir_.setAutoRemove(false);
        qInfo("Private CUPS folder kept: %s", qPrintable(dir_.path()));
    }
    const QString d = dir_.path();
    // cupsd runs its filters as lp, which must reach the spool and the output folder.
    QFile::setPermissions(d,
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                              QFile::ReadOther | QFile::ExeOther);
    for (const char* sub : {"etc", "spool/tmp", "cache", "state", "log", "out", "home"}) QDir(d).mkpath(sub);
    QFile::setPermissions(d + "/out", QFileDevice::Permissions(0x7777));
    writeFile(d + "/etc/cups-files.conf",
              QStringLiteral("FileDevice Yes\nServerRoot %1/etc\nRequestRoot %1/spool\nTempDir %1/spool/tmp\n"
                             "CacheDir %1/cache\nStateDir %1/state\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
                             "ErrorLog %1/log/error_log\nAccessLog %1/log/access_log\nPageLog %1/log/page_log\n"
                             "Printcap %1/printcap\nUser lp\nGroup lp\nSystemGroup root lpadmin\n")
                  .arg(d));
    // Open policy: anyone talking to this private socket may administer it.
    writeFile(d + "/etc/cupsd.conf",
              QStringLiteral("Listen %1/cups.sock\nBrowsing No\nWebInterface No\nLogLevel warn\n"
                             "<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n")
                  .arg(d));

    // Everything in this process (libcups, Qt, the tools started below) talks to this server only.
    qputenv("CUPS_SERVER", (d + "/cups.sock").toUtf8());
    qputenv("CUPS_SERVERROOT", (d + "/etc").toUtf8());
    qputenv("HOME", home().toUtf8());
    qunsetenv("LPDEST");
    qunsetenv("PRINTER");
    cupsSetServer(nullptr);

    cupsd_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    cupsd_.start("/usr/sbin/cupsd", {"-f", "-c", d + "/etc/cupsd.conf", "-s", d + "/etc/cups-files.conf"});
    if (!cupsd_.waitForStarted()) {
        failure_ = "cupsd could not be started: " + cupsd_.errorString();
        return;
    }
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (cupsd_.state() != QProcess::Running) break;
        if (QFile::exists(d + "/cups.sock") && run("lpstat", {"-r"})) return;
        QThread::msleep(50);
    }
    failure_ = "cupsd did not answer on its socket (see " + d + "/log/error_log)";
}

PrivateCups::~PrivateCups() { stop(); }

void PrivateCups::stop() {
    if (cupsd_.state() != QProcess::NotRunning) {
        resume(); // a paused server would never act on SIGTERM
        cupsd_.terminate(); // SIGTERM to our own cupsd's pid
        if (!cupsd_.waitForFinished(15000)) {
            cupsd_.kill();
            cupsd_.waitForFinished();
        }
    }
}

void PrivateCups::pause() {
    if (cupsd_.state() == QProcess::Running) ::kill(pid_t(cupsd_.processId()), SIGSTOP);
}

void PrivateCups::resume() {
    if (cupsd_.state() == QProcess::Running) ::kill(pid_t(cupsd_.processId()), SIGCONT);
}

std::vector<int> PrivateCups::activeJobs() {
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ACTIVE);
    std::vector<int> ids;
    for (int i = 0; i < n; ++i) ids.push_back(jobs[i].id);
    cupsFreeJobs(n, jobs);
    return ids;
}

int PrivateCups::jobState(int job) {
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    int state = 0;
    for (int i = 0; i < n; ++i)
        if (jobs[i].id == job) state = int(jobs[i].state);
    cupsFreeJobs(n, jobs);
    return state;
}

QString PrivateCups::home() const { return dir_.path() + "/home"; }
QString PrivateCups::jobFile(const QString& queue) const { return dir_.path() + "/out/" + queue + ".pdf"; }

bool PrivateCups::run(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    return p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool PrivateCups::addQueue(const QString& name, const QString& ppd) {
    return run("lpadmin", {"-p", name, "-E", "-v", "file://" + jobFile(name), "-P", ppd});
}

bool PrivateCups::removeQueue(const QString& name) { return run("lpadmin", {"-x", name}); }
bool PrivateCups::setServerDefault(const QString& name) { return run("lpadmin", {"-d", name}); }
bool PrivateCups::stopQueue(const QString& name) { return run("cupsdisable", {name}); }
bool PrivateCups::startQueue(const QString& name) { return run("cupsenable", {name}); }
bool PrivateCups::rejectJobs(const QString& name) { return run("cupsreject", {name}); }

bool PrivateCups::waitForJobs() {
    for (int attempt = 0; attempt < 1200; ++attempt) {
        cups_job_t* jobs = nullptr;
        const int active = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ACTIVE);
        cupsFreeJobs(active, jobs);
        if (active == 0) return true;
        QThread::msleep(50);
    }
    return false;
}

int PrivateCups::completedJobs() {
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_COMPLETED);
    cupsFreeJobs(n, jobs);
    return std::max(n, 0);
}

QString PrivateCups::lastJobAttribute(const char* name) {
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_COMPLETED);
    int last = 0;
    for (int i = 0; i < n; ++i) last = std::max(last, jobs[i].id);
    cupsFreeJobs(n, jobs);
    if (last == 0) return {};
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr,
                 QStringLiteral("ipp://localhost/jobs/%1").arg(last).toUtf8().constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "all");
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    QString value;
    if (ipp_attribute_t* a = response ? ippFindAttribute(response, name, IPP_TAG_ZERO) : nullptr) {
        char text[256];
        ippAttributeString(a, text, sizeof text);
        value = QString::fromUtf8(text);
    }
    ippDelete(response);
    return value;
}

} // namespace kavi::testing
