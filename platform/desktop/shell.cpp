// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/shell.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <vector>

namespace kavi {

namespace {
constexpr int kStarted = 42;
constexpr int kFileNotFound = 2;
} // namespace

// The handlers started and not yet finished. Each reports once, from the event loop, and is then
// deleted; one still running when the program ends is stopped without waiting for it to report.
class XdgShell::Launches {
public:
    ~Launches() {
        for (QProcess* p : running_) {
            p->disconnect();
            p->kill();
            p->waitForFinished(1000);
            delete p;
        }
    }

    void start(const QString& program, const QString& target, Failure whenFailed) {
        auto* p = new QProcess;
        p->setProgram(program);
        p->setArguments({target});
        // The handler's own output is not ours to show, and it must never wait on our input.
        p->setStandardInputFile(QProcess::nullDevice());
        p->setStandardOutputFile(QProcess::nullDevice());
        p->setStandardErrorFile(QProcess::nullDevice());
        const auto report = [this, p, whenFailed](bool ok) {
            if (std::find(running_.begin(), running_.end(), p) == running_.end()) return; // reported already
            std::erase(running_, p);
            p->deleteLater();
            if (!ok && whenFailed) whenFailed();
        };
        QObject::connect(p, &QProcess::finished, p, [report](int code, QProcess::ExitStatus status) {
            report(status == QProcess::NormalExit && code == 0);
        });
        QObject::connect(p, &QProcess::errorOccurred, p, [report](QProcess::ProcessError error) {
            // A crash is followed by finished(); a failure to start is reported only here.
            if (error == QProcess::FailedToStart) report(false);
        });
        running_.push_back(p);
        p->start();
    }

    int count() const { return int(running_.size()); }

private:
    std::vector<QProcess*> running_;
};

XdgShell::XdgShell() : launches_(std::make_unique<Launches>()) {}
XdgShell::~XdgShell() = default;

int XdgShell::open(const QString& target, int, Failure whenFailed) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (program.isEmpty()) {
        // Told from the event loop like every other failure, so callers handle one path.
        if (whenFailed) QMetaObject::invokeMethod(QCoreApplication::instance(), whenFailed, Qt::QueuedConnection);
        return kFileNotFound;
    }
    launches_->start(program, target, std::move(whenFailed));
    return kStarted;
}

int XdgShell::running() const { return launches_->count(); }

} // namespace kavi
