// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A folder on a file system that can be made full or read-only: a 64 KiB tmpfs mounted for the
// test where the process may mount one (root), otherwise the same failures injected into the
// atomic file writer. Either way the folder is empty at the start of a test.
#include "platform/files/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <string>
#include <sys/mount.h>

namespace kavi::testing {

enum class DiskFault { Full, ReadOnly };

class SmallFileSystem {
public:
    SmallFileSystem() {
        mounted_ = ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallFileSystem() {
        setAtomicWriteFault({});
        if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool isRealFileSystem() const { return mounted_; }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.path() + '/' + name; }

    // Full: no byte more fits. Read-only: nothing can be created, changed or removed.
    void fail(DiskFault fault, bool injected) {
        if (injected || !mounted_) {
            // What the file system would answer: no room part way through the data, or no
            // temporary file at all on read-only media.
            setAtomicWriteFault([fault](AtomicWriteStep step, const QString&) {
                if (fault == DiskFault::Full) return step == AtomicWriteStep::WriteData ? ENOSPC : 0;
                return step == AtomicWriteStep::CreateTemporary ? EROFS : 0;
            });
            return;
        }
        if (fault == DiskFault::Full) {
            QFile filler(file(QStringLiteral("filler")));
            if (filler.open(QIODevice::WriteOnly)) {
                const QByteArray block(4096, 'f');
                while (filler.write(block) == block.size() && filler.flush()) {}
                // What is left is less than a block; fill that too.
                while (filler.write("f", 1) == 1 && filler.flush()) {}
            }
        } else {
            ::mount(nullptr, QFile::encodeName(dir_.path()).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr);
        }
    }

    // The names in the folder besides the filler, sorted and joined by blanks: what a failed write
    // must not add to.
    std::string names() const {
        QStringList out = QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        out.removeAll(QStringLiteral("filler"));
        out.sort();
        return out.join(' ').toStdString();
    }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

} // namespace kavi::testing
