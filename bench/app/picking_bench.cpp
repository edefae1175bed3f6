// SPDX-License-Identifier: GPL-3.0-or-later
// Picking speed, as ratios against anchors measured in the same run:
//  - a 4000 x 3000 JPEG picked into a slot (file read, decode, whole picture kept, screen copy made)
//    against libjpeg-turbo's TurboJPEG API decoding the same file in this process to 32-bit pixels
//    (accurate DCT) into one buffer allocated once and reused, that is the decode alone;
//  - re-reading a folder of 20,000 files into the file list against a bare directory read.
#include "app/file_list.h"
#include "app/picture_slot.h"
#include "covers/cover_kinds.h"
#include "platform/files/directory.h"
#include "platform/imaging/picture_loader.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <turbojpeg.h>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <functional>
#include <vector>

namespace {

const char* verdict(double ratio, double target) { return ratio <= target ? "met" : "MISSED"; }

double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QImage photoLike(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor(30, 60, 120));
    g.setColorAt(0.5, QColor(200, 150, 90));
    g.setColorAt(1, QColor(20, 110, 40));
    p.fillRect(image.rect(), g);
    QRandomGenerator random(7);
    for (int i = 0; i < 400; ++i) {
        p.setBrush(QColor::fromRgb(random.bounded(256), random.bounded(256), random.bounded(256)));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPoint(random.bounded(w), random.bounded(h)), random.bounded(20, 300), random.bounded(20, 300));
    }
    p.end();
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int n = int(random.bounded(24)) - 12;
            const QRgb c = row[x];
            row[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                          std::clamp(qBlue(c) + n, 0, 255));
        }
    }
    return image;
}

// Picks the file into a slot as the main window does (loaded, kept, screen copy made) and decodes
// it with TurboJPEG into a warm buffer; prints both medians and their ratio against the target.
void pickAgainstDecode(const QString& jpeg, const char* label) {
    QFile file(jpeg);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    file.close();
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    tjhandle decoder = tjInitDecompress();
    tjDecompressHeader3(decoder, reinterpret_cast<const unsigned char*>(bytes.constData()), (unsigned long)bytes.size(),
                        &width, &height, &subsampling, &colourspace);

    constexpr int runs = 9;
    kavi::PictureSlot slot(QStringLiteral("Image4"), kavi::coverKind(4));
    slot.resize(433, 283);
    const double pick = medianMs(runs, [&] {
        kavi::PictureLoad loaded = kavi::loadPictureFile(jpeg);
        slot.setPickedPicture(std::move(loaded.picture), std::move(loaded.originalJpeg));
    });

    kavi::PictureLoad kept;
    const double load = medianMs(runs, [&] { kept = kavi::loadPictureFile(jpeg); });
    const double show = medianMs(runs, [&] { slot.setPickedPicture(kept.picture, kept.originalJpeg); });
    kept = {};

    std::vector<unsigned char> reused(std::size_t(width) * std::size_t(height) * 4);
    const auto turbo = [&] {
        tjDecompress2(decoder, reinterpret_cast<const unsigned char*>(bytes.constData()), (unsigned long)bytes.size(),
                      reused.data(), width, width * 4, height, TJPF_BGRX, TJFLAG_ACCURATEDCT);
    };
    turbo(); // the buffer's pages are touched before the timing
    const double anchor = medianMs(runs, turbo);
    tjDestroy(decoder);
    const double ratio = pick / anchor;
    std::printf(
        "pick %dx%d JPEG (%s, %lld bytes) into a slot: %.1f ms; TurboJPEG decode into a reused buffer: "
        "%.1f ms; ratio %.2f (target <= 1.5) %s\n  (the file loaded alone: %.1f ms; the screen copy alone: %.1f ms)\n",
        width, height, label, static_cast<long long>(bytes.size()), pick, anchor, ratio, verdict(ratio, 1.5), load,
        show);
}

int bareDirectoryRead(const QByteArray& path) {
    int n = 0;
    DIR* d = opendir(path.constData());
    while (const dirent* e = readdir(d)) n += e->d_name[0] != '.';
    closedir(d);
    return n;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString jpeg = dir.filePath("photo.jpg");
    photoLike(4000, 3000).save(jpeg, "JPEG", 85);
    pickAgainstDecode(jpeg, "grainy synthetic");
    // A photo-like picture as ImageMagick draws it; its decode is the usual photograph's cost.
    const QString plasma = dir.filePath("plasma.jpg");
    if (QProcess::execute(QStringLiteral("convert"),
                          {QStringLiteral("-seed"), QStringLiteral("1"), QStringLiteral("-size"),
                           QStringLiteral("4000x3000"), QStringLiteral("plasma:fractal"), QStringLiteral("-quality"),
                           QStringLiteral("90"), plasma}) == 0)
        pickAgainstDecode(plasma, "plasma fractal");
    else std::printf("ImageMagick's convert is missing: no plasma picture\n");

    const QString folder = dir.filePath("many");
    QDir().mkpath(folder);
    for (int i = 0; i < 20000; ++i) {
        QFile f(QStringLiteral("%1/cover-%2.%3").arg(folder).arg(i, 5, 10, QChar('0')).arg(i % 3 ? "jpg" : "txt"));
        f.open(QIODevice::WriteOnly);
    }
    const QByteArray native = QFile::encodeName(folder);
    const double bare = medianMs(15, [&] { bareDirectoryRead(native); });
    kavi::FileList list;
    list.resize(275, 162);
    list.setPath(folder);
    const double unchanged = medianMs(15, [&] { list.refresh(); });
    int flip = 0;
    const double changed = medianMs(15, [&] {
        // One file comes or goes between refreshes, so the list really changes every time.
        const QString extra = folder + QStringLiteral("/new.jpg");
        if (flip++ % 2) QFile::remove(extra);
        else QFile(extra).open(QIODevice::WriteOnly);
        list.refresh();
    });
    std::printf("refresh 20000-file folder: unchanged %.2f ms, changed %.2f ms; bare directory read %.2f ms; "
                "ratios %.2f and %.2f (target <= 5) %s\n",
                unchanged, changed, bare, unchanged / bare, changed / bare,
                verdict(std::max(unchanged, changed) / bare, 5));
    return 0;
}
