// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers shared by the fuzz targets: a check that stops the run with a message (libFuzzer keeps
// the input that tripped it), a reader of bounded numbers from the front of the input, and a
// scratch file of this process.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#define FUZZ_CHECK(condition, what)                                                                                    \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "fuzz check failed at %s:%d: %s (%s)\n", __FILE__, __LINE__, what, #condition);       \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (0)

namespace fuzz {

// Takes numbers from the front of the input; an exhausted input gives zeros.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    // A whole number in lo...hi.
    int inRange(int lo, int hi) {
        const unsigned span = unsigned(hi - lo) + 1;
        const unsigned raw = unsigned(byte()) | unsigned(byte()) << 8;
        return lo + int(raw % span);
    }
    const std::uint8_t* rest() const { return data_ + pos_; }
    std::size_t restSize() const { return size_ - pos_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Image plug-ins and codecs of Qt want an application object; one lives for the whole run. Qt's
// warnings about damaged files are silenced: millions of them would only slow the run.
inline void ensureQtApplication() {
    static const bool quiet =
        (qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {}), true);
    (void)quiet;
    static int argc = 1;
    static char name[] = "kavi-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

// A file of this process in the temporary folder, named by purpose.
inline QString scratchPath(const char* purpose) {
    return QDir::temp().filePath(QStringLiteral("kavi-fuzz-%1-%2").arg(getpid()).arg(QLatin1String(purpose)));
}

inline bool writeScratch(const QString& path, const std::uint8_t* data, std::size_t size) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
}

} // namespace fuzz
