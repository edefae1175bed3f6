// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A CUPS server of the test's own: its own configuration folder, socket, spool and HOME, so the
// machine's and the user's printer settings are never touched. Queues write each job to a file.
// Started in the constructor and stopped by its pid in the destructor.
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <vector>

namespace kavi::testing {

class PrivateCups {
public:
    PrivateCups();
    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Empty when the server runs; otherwise why it could not start.
    const QString& failure() const { return failure_; }
    // Adds a queue printing through the given PPD into out/<name>.pdf.
    bool addQueue(const QString& name, const QString& ppd);
    bool removeQueue(const QString& name);
    bool setServerDefault(const QString& name);
    // A stopped queue keeps the jobs it is given; a rejecting one takes none.
    bool stopQueue(const QString& name);
    bool startQueue(const QString& name);
    bool rejectJobs(const QString& name);
    // Stops the server now (by its pid), as if it had gone away.
    void stop();
    // Freezes the server (SIGSTOP to its pid): it keeps its socket but answers nothing; and lets
    // it go on again (SIGCONT).
    void pause();
    void resume();
    // The numbers of the jobs not yet finished (pending, held, processing or stopped).
    std::vector<int> activeJobs();
    // A job's state as CUPS numbers it (3 pending ... 7 canceled, 9 completed); 0 when unknown.
    int jobState(int job);
    QString jobFile(const QString& queue) const;
    QString home() const;
    QString userOptionsFile() const { return home() + "/.cups/lpoptions"; }
    // Waits until the server has no pending or processing job; false when one does not finish.
    bool waitForJobs();
    // How many jobs the server has completed.
    int completedJobs();
    // One attribute of the last completed job, as text.
    QString lastJobAttribute(const char* name);

private:
    bool run(const QString& program, const QStringList& args);
    QTemporaryDir dir_;
    QProcess cupsd_;
    QString failure_;
};

} // namespace kavi::testing
