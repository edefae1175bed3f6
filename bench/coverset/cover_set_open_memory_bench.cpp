// SPDX-License-Identifier: GPL-3.0-or-later
// The memory of a cover set opened in the main window (offscreen): a set of ten 4000 x 3000 covers
// made from photo-like JPEG files is opened through File > Open Cover Set while the first cover's
// tab shows, until that cover's picture is there. Measured against the same window before the
// open (an empty Kavi), in the same process:
// - resident memory after opening at most the stored entries + one decoded picture + 100 MB;
// - the peak during the open, and the memory once every tab has been shown, for comparison.
// Prints the numbers and "met" or "MISSED".
#include "app/main_window.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "bench/bench_support.h"
#include "covers/cover_kinds.h"
#include "coverset/cover_set_file.h"
#include "tests/support/test_platform.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kWidth = 4000, kHeight = 3000;
constexpr double kMiB = 1024.0 * 1024.0;

QImage makePhoto(int seed) { return kavi::bench::photoLikePicture(kWidth, kHeight, seed); }

// A field of /proc/self/status ("VmRSS", "VmHWM"), in bytes.
double statusBytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key)) return line.mid(key.size()).trimmed().split(' ').value(0).toDouble() * 1024;
    return 0;
}

// Freed memory handed back, and the peak restarted from the current size.
void settle() {
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

void processEventsUntil(const std::function<bool()>& done) {
    QTimer wake; // the loop must not sleep on when no event comes
    wake.start(20);
    while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Lets the window lay out and paint what shows, as far as that takes events.
void processPendingEvents() {
    for (int i = 0; i < 50; ++i) QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir work;
    const QString setPath = work.filePath(QStringLiteral("ten.kavi"));
    double entriesBytes = 0;
    {
        std::printf("making a set of ten %dx%d photo-like JPEG covers...\n", kWidth, kHeight);
        kavi::CoverSet set = kavi::CoverSet::empty();
        for (int kind = 1; kind <= kavi::kCoverKindCount; ++kind) {
            const QString path = work.filePath(QStringLiteral("cover%1.jpg").arg(kind));
            QImage photo = makePhoto(kind);
            if (!photo.save(path, "JPEG", 90)) return std::fprintf(stderr, "cannot write %s\n", qPrintable(path)), 1;
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) return 1;
            const QByteArray jpeg = file.readAll();
            entriesBytes += double(jpeg.size());
            set.cover(kind).picture = kavi::CoverSetPicture::ofJpegFile(jpeg, std::move(photo));
        }
        if (kavi::saveCoverSetFile(setPath, set) != 0) return std::fprintf(stderr, "saving the set failed\n"), 1;
    }
    const double fileBytes = double(QFile(setPath).size());

    kavi::testing::TestPlatform services;
    kavi::MainWindow window(services.platform);
    window.settingsFile = work.filePath(QStringLiteral("kavi4.ini"));
    window.programFolderPath = work.path();
    window.recoveryFolder = work.filePath(QStringLiteral("recovery"));
    window.Form_Load();
    window.SSTab1->setCurrentIndex(kavi::coverKind(1).tabIndex);
    processPendingEvents();
    settle();
    const double empty = statusBytes("VmRSS");

    QElapsedTimer opening;
    opening.start();
    services.saveDialog.answers.push_back({true, setPath, 0});
    window.OpenCoverSet->trigger();
    processEventsUntil([&] { return !window.Image(1)->isPictureUndecoded(); });
    const double openMs = double(opening.nsecsElapsed()) / 1e6;
    processPendingEvents();
    malloc_trim(0);
    const double opened = statusBytes("VmRSS");
    const double peak = statusBytes("VmHWM");
    int decoded = 0;
    for (int kind = 1; kind <= kavi::kCoverKindCount; ++kind) decoded += !window.Image(kind)->isPictureUndecoded();
    if (window.Image(1)->picture().isNull()) return std::fprintf(stderr, "the first cover did not show\n"), 1;

    const double onePicture = double(kWidth) * kHeight * 4;
    const double allowed = entriesBytes + onePicture + 100 * kMiB;
    std::printf("set file %.1f MB, stored entries %.1f MB, one decoded picture %.1f MB\n", fileBytes / kMiB,
                entriesBytes / kMiB, onePicture / kMiB);
    std::printf("empty Kavi %.1f MB; after opening until the first cover shows (%.0f ms, %d of 10 pictures "
                "decoded) %.1f MB: +%.1f MB; peak during the open +%.1f MB\n",
                empty / kMiB, openMs, decoded, opened / kMiB, (opened - empty) / kMiB, (peak - empty) / kMiB);
    std::printf("memory after opening over an empty Kavi: %.1f MB (target <= entries + one picture + 100 MB = %.1f "
                "MB) %s\n",
                (opened - empty) / kMiB, allowed / kMiB, opened - empty <= allowed ? "met" : "MISSED");

    // Every tab shown: what opening cost when every picture was decoded at once.
    for (int kind = 1; kind <= kavi::kCoverKindCount; ++kind) {
        window.SSTab1->setCurrentIndex(kavi::coverKind(kind).tabIndex);
        processEventsUntil([&] { return !window.Image(kind)->isPictureUndecoded(); });
    }
    processPendingEvents();
    malloc_trim(0);
    std::printf("after every tab has been shown (all ten decoded): +%.1f MB over an empty Kavi\n",
                (statusBytes("VmRSS") - empty) / kMiB);
    return 0;
}
