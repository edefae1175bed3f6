// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recovery_copy.h"

#include "coverset/cover_set_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>

#include <cerrno>
#include <cstring>

namespace kavi {

namespace {

const QString kCopyPattern = QStringLiteral("covers-*.kavi");

QString lockPathOf(const QString& copyPath) {
    QString lock = copyPath;
    lock.chop(int(std::strlen(kCoverSetSuffix)));
    return lock + QStringLiteral("lock");
}

// A lock that a run which ended left behind is taken over; one its living owner holds is not.
std::unique_ptr<QLockFile> takeLock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0); // only an ended owner makes a lock stale, never its age
    if (!lock->tryLock(0)) return nullptr;
    return lock;
}

} // namespace

QString defaultRecoveryFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery");
}

RecoveryCopy::RecoveryCopy(QString folder, std::function<void(int)> failed)
    : folder_(std::move(folder)), failed_(std::move(failed)) {}

RecoveryCopy::~RecoveryCopy() {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        pending_.reset();
        stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
}

int RecoveryCopy::claim() {
    if (isClaimed()) return 0;
    errno = 0;
    if (folder_.isEmpty() || !QDir().mkpath(folder_)) return errno != 0 ? errno : EACCES;
    const QString name = QStringLiteral("covers-%1.").arg(QUuid::createUuid().toString(QUuid::WithoutBraces)) +
        QString::fromLatin1(kCoverSetSuffix);
    const QString path = QDir(folder_).filePath(name);
    auto lock = std::make_unique<QLockFile>(lockPathOf(path));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return lock->error() == QLockFile::PermissionError ? EACCES : EIO;
    lock_ = std::move(lock);
    path_ = path;
    return 0;
}

void RecoveryCopy::writeLater(CoverSet covers) {
    if (!isClaimed()) return;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        pending_ = std::move(covers);
        removeAfterWrite_ = false;
        if (!worker_.joinable()) worker_ = std::thread([this] { work(); });
    }
    changed_.notify_all();
}

void RecoveryCopy::work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
        if (stopping_) return;
        std::optional<CoverSet> covers = std::move(pending_);
        pending_.reset();
        writing_ = true;
        lock.unlock();
        const int error = saveCoverSetFile(path_, *covers);
        covers.reset(); // the shared pictures are let go before the window hears of it
        if (error != 0 && failed_) failed_(error);
        lock.lock();
        if (removeAfterWrite_ && !pending_) QFile::remove(path_);
        removeAfterWrite_ = false;
        writing_ = false;
        changed_.notify_all();
    }
}

int RecoveryCopy::writeNow(const CoverSet& covers) {
    if (!isClaimed()) return ENOENT;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        pending_.reset();
        changed_.wait(lock, [this] { return !writing_; });
    }
    return saveCoverSetFile(path_, covers);
}

void RecoveryCopy::remove() {
    if (!isClaimed()) return;
    std::unique_lock<std::mutex> lock(mutex_);
    pending_.reset();
    // The window does not wait for a write under way: the worker removes the file when it is done.
    if (writing_) removeAfterWrite_ = true;
    else QFile::remove(path_);
}

void RecoveryCopy::waitUntilWritten() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !writing_ && !pending_.has_value(); });
}

bool RecoveryCopy::adopt(const QString& leftFile) {
    if (!isClaimed()) return false;
    remove();
    waitUntilWritten();
    return QFile::rename(leftFile, path_);
}

std::vector<LeftCopy> leftCopies(const QString& folder) {
    std::vector<LeftCopy> copies;
    if (folder.isEmpty()) return copies;
    const QFileInfoList files =
        QDir(folder).entryInfoList({kCopyPattern}, QDir::Files | QDir::Hidden, QDir::Time | QDir::Reversed);
    for (const QFileInfo& file : files) {
        std::unique_ptr<QLockFile> lock = takeLock(lockPathOf(file.filePath()));
        if (lock) copies.push_back({file.filePath(), std::move(lock)});
    }
    return copies;
}

void discardLeftCopy(LeftCopy& copy) {
    QFile::remove(copy.path);
    copy.lock.reset(); // removes the lock file
}

} // namespace kavi
