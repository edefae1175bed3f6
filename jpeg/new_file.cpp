// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg/new_file.h"

#include "jpeg/jpeg_error.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace jpeg {

namespace {

[[noreturn]] void fail(const std::string& path, int error) {
    throw JpegError(kFileErrorNumber, "Cannot write \"" + path + "\": " + std::strerror(error));
}

// Writes everything and flushes it to the disk; returns 0 or the errno of the failure.
int writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        done += std::size_t(n);
    }
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) return errno;
    return 0;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The process's umask, read from /proc: setting and restoring it would briefly change it for every
// other thread. The usual 022 when it cannot be read.
mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Umask:", 0) == 0) return mode_t(std::strtoul(line.c_str() + 6, nullptr, 8));
    return 022;
}

bool linkUnsupported(int error) { return error == EPERM || error == EOPNOTSUPP || error == ENOSYS; }

NewFileResult writeExclusively(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EEXIST) return NewFileResult::AlreadyExists;
        fail(path, errno);
    }
    const int error = writeAll(fd, bytes);
    if (::close(fd) != 0 && error == 0) {
        const int closeError = errno;
        ::unlink(path.c_str());
        fail(path, closeError);
    }
    if (error) {
        ::unlink(path.c_str());
        fail(path, error);
    }
    return NewFileResult::Written;
}

} // namespace

NewFileResult writeNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0) return NewFileResult::AlreadyExists;

    std::string temp = folderOf(path) + "/.kavi-jpeg-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        if (linkUnsupported(errno)) return writeExclusively(path, bytes);
        fail(path, errno);
    }
    // mkstemp makes the file private; give it the mode a newly created file would have.
    ::fchmod(fd, 0666 & ~currentUmask());
    int error = writeAll(fd, bytes);
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error) {
        ::unlink(temp.c_str());
        fail(path, error);
    }
    if (::link(temp.c_str(), path.c_str()) != 0) {
        const int linkError = errno;
        ::unlink(temp.c_str());
        if (linkError == EEXIST) return NewFileResult::AlreadyExists;
        if (linkUnsupported(linkError)) return writeExclusively(path, bytes);
        fail(path, linkError);
    }
    ::unlink(temp.c_str());
    return NewFileResult::Written;
}

} // namespace jpeg
