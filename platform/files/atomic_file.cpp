// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/atomic_file.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavi {

namespace {

AtomicWriteFault& injectedFault() {
    static AtomicWriteFault fault;
    return fault;
}

// The errno a test injects for this step, 0 when none.
int injected(AtomicWriteStep step, const QString& target) {
    const AtomicWriteFault& fault = injectedFault();
    return fault ? fault(step, target) : 0;
}

// The permissions a newly created file gets. The process's umask is read from /proc rather than
// set and restored, which would briefly change it for every other thread.
mode_t newFileMode() {
    mode_t mask = 022;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint value = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok) mask = mode_t(value);
            }
    }
    return 0666 & ~mask;
}

int writeAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data += n;
        size -= n;
    }
    return 0;
}

} // namespace

int writeFileAtomicallyOrErrno(const QString& path, const QByteArray& bytes) {
    return writeFileAtomicallyOrErrno(path, {std::string_view(bytes.constData(), std::size_t(bytes.size()))});
}

int writeFileAtomicallyOrErrno(const QString& path, const std::vector<std::string_view>& pieces) {
    if (path.isEmpty()) return ENOENT;
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink() && info.exists()) target = info.canonicalFilePath();
    const QByteArray targetName = QFile::encodeName(target);

    struct stat old {};
    const bool replacing = ::stat(targetName.constData(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode)) return EISDIR;

    // The temporary name sits in the same folder, so the rename never crosses file systems.
    const QFileInfo targetInfo(target);
    QByteArray tempName = QFile::encodeName(targetInfo.absolutePath()) + "/." +
        QFile::encodeName(targetInfo.fileName()).left(200) + ".XXXXXX";
    if (const int error = injected(AtomicWriteStep::CreateTemporary, target)) return error;
    const int fd = ::mkostemp(tempName.data(), O_CLOEXEC);
    if (fd < 0) return errno;

    int error = 0;
    if (const int fault = injected(AtomicWriteStep::WriteData, target)) {
        std::size_t total = 0;
        for (const std::string_view piece : pieces) total += piece.size();
        std::size_t half = total / 2; // a disk fills part way through
        for (const std::string_view piece : pieces) {
            const std::size_t n = std::min(half, piece.size());
            (void)writeAll(fd, piece.data(), qsizetype(n));
            half -= n;
        }
        error = fault;
    } else {
        // Large files start going to the disk while the rest is still being written, so the flush
        // below waits only for the tail instead of the whole file.
        constexpr off_t kWritebackStep = 4 << 20;
        off_t written = 0, handedOver = 0;
        for (std::string_view piece : pieces) {
            while (!error && !piece.empty()) {
                const std::size_t n = std::min(piece.size(), std::size_t(kWritebackStep - (written - handedOver)));
                error = writeAll(fd, piece.data(), qsizetype(n));
                piece.remove_prefix(n);
                written += off_t(n);
                if (written - handedOver == kWritebackStep) {
                    (void)::sync_file_range(fd, handedOver, kWritebackStep, SYNC_FILE_RANGE_WRITE);
                    handedOver = written;
                }
            }
        }
    }
    if (!error) {
        const mode_t mode = replacing ? (old.st_mode & 07777) : newFileMode();
        // The owner is kept where allowed; a user who may not give the file away keeps it as their own.
        if (replacing && ::fchown(fd, old.st_uid, old.st_gid) != 0) errno = 0;
        if (::fchmod(fd, mode) != 0) error = errno;
    }
    if (!error) error = injected(AtomicWriteStep::Flush, target);
    if (!error && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && !error) error = errno;
    if (!error) error = injected(AtomicWriteStep::Rename, target);
    if (!error && ::rename(tempName.constData(), targetName.constData()) != 0) error = errno;
    if (error) ::unlink(tempName.constData());
    return error;
}

void setAtomicWriteFault(AtomicWriteFault fault) { injectedFault() = std::move(fault); }

bool writeFileAtomically(const QString& path, const QByteArray& data) {
    return writeFileAtomicallyOrErrno(path, data) == 0;
}

} // namespace kavi
