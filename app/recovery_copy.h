// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The recovery copy of covers that were never saved: a cover-set file in the user's data folder,
// kept current shortly after each change and at a termination signal, so the work survives a
// logout or a crash. Each running window owns a file of its own, named at random and guarded by a
// lock file that lives as long as its owner; a copy whose lock is free was left by a run that has
// ended. Copies are written on a worker thread from a copy of the covers (the pictures are shared,
// not duplicated), so the window never waits for the encoding.
#include "coverset/cover_set.h"

#include <QLockFile>
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace kavi {

// "recovery" in this program's folder of the user's data (XDG_DATA_HOME).
QString defaultRecoveryFolder();

class RecoveryCopy {
public:
    // failed is told the errno of a write that failed, on the worker thread.
    explicit RecoveryCopy(QString folder, std::function<void(int error)> failed = {});
    // Waits for a write under way; a pending one is dropped. The file stays, the lock goes.
    ~RecoveryCopy();
    RecoveryCopy(const RecoveryCopy&) = delete;
    RecoveryCopy& operator=(const RecoveryCopy&) = delete;

    // Makes the folder and takes a file of this run's own: 0, or the errno of the failure.
    int claim();
    bool isClaimed() const { return lock_ != nullptr; }
    QString path() const { return path_; }

    // Writes the covers on the worker thread; a set whose write has not begun is replaced by the newer one.
    void writeLater(CoverSet covers);
    // Writes the covers on the calling thread once a write under way has ended: 0 or the errno.
    int writeNow(const CoverSet& covers);
    // Drops a pending write and removes the file, at once or (during a write) when the write ends.
    void remove();
    // Waits until no write is pending or under way.
    void waitUntilWritten();
    // Makes a copy left by an ended run this run's own file (its covers are this run's work now).
    bool adopt(const QString& leftFile);

private:
    void work();

    QString folder_;
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    std::function<void(int)> failed_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<CoverSet> pending_;
    bool writing_ = false;
    bool removeAfterWrite_ = false;
    bool stopping_ = false;
    std::thread worker_;
};

// A copy left by a run that has ended, locked by this run while it is dealt with, so that a Kavi
// starting at the same moment does not offer it as well. Dropping it releases the lock.
struct LeftCopy {
    QString path;
    std::unique_ptr<QLockFile> lock;
};

// The copies in folder whose owners have ended, oldest first.
std::vector<LeftCopy> leftCopies(const QString& folder);

// Removes a left copy's file and its lock.
void discardLeftCopy(LeftCopy& copy);

} // namespace kavi
