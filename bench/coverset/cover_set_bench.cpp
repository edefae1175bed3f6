// SPDX-License-Identifier: GPL-3.0-or-later
// Cover sets of 4000 x 3000 covers made from photo-like JPEG files, against anchors measured in the
// same run (medians of five runs):
// - size: ten unedited JPEG covers, at most the files' total + 64 KB;
// - save: the same set, at most 2x copying the ten files into one file;
// - an edited cover's PNG entry: at most 1.05x the size of libpng's default level, in at most 0.5x
//   its time;
// - open until the first cover's pixels are there: at most 1.3x TurboJPEG decoding that picture.
// Prints each ratio with "met" or "MISSED".
#include "bench/bench_support.h"
#include "coverset/cover_set_file.h"
#include "coverset/png_encoder.h"
#include "platform/imaging/picture_loader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <png.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kRuns = 5;
constexpr int kWidth = 4000, kHeight = 3000;

// Milliseconds of each of kRuns runs of work, its median.
double timed(const std::function<void()>& work) {
    std::vector<double> ms;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return kavi::bench::median(ms);
}

QImage makePhoto(int seed) { return kavi::bench::photoLikePicture(kWidth, kHeight, seed); }

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// libpng at its default level and filters, into memory.
std::string libpngDefault(const QImage& picture) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t size) {
            static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<const char*>(data), size);
        },
        nullptr);
    png_set_IHDR(png, info, png_uint_32(picture.width()), png_uint_32(picture.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_bgr(png); // 32-bit pixels are B, G, R, X in memory
    for (int y = 0; y < picture.height(); ++y) png_write_row(png, const_cast<png_bytep>(picture.constScanLine(y)));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

void verdict(const char* what, double ratio, double target) {
    std::printf("%s: ratio %.3f (target <= %.2f) %s\n", what, ratio, target, ratio <= target ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QTemporaryDir work;
    std::printf("making ten %dx%d photo-like JPEG files...\n", kWidth, kHeight);
    std::vector<QString> files;
    kavi::CoverSet set = kavi::CoverSet::empty();
    qint64 filesBytes = 0;
    for (int kind = 1; kind <= kavi::kCoverKindCount; ++kind) {
        const QString path = work.filePath(QStringLiteral("cover%1.jpg").arg(kind));
        if (!makePhoto(kind).save(path, "JPEG", 90))
            return std::fprintf(stderr, "cannot write %s\n", qPrintable(path)), 1;
        kavi::PictureLoad load = kavi::loadPictureFile(path); // what picking it holds
        if (load.originalJpeg.isEmpty()) return std::fprintf(stderr, "the pick kept no JPEG bytes\n"), 1;
        filesBytes += load.originalJpeg.size();
        set.cover(kind).picture = kavi::CoverSetPicture::ofJpegFile(load.originalJpeg, load.picture);
        files.push_back(path);
    }

    // Size and save time of the ten unedited covers.
    const QString setPath = work.filePath("ten.kavi");
    const double save = timed([&] {
        if (kavi::saveCoverSetFile(setPath, set) != 0) std::fprintf(stderr, "saving failed\n");
    });
    const qint64 setBytes = QFile(setPath).size();
    const QString copyPath = work.filePath("copy.bin");
    // Copying, as a plain copy does it, and as a save that survives a power cut must (flushed to
    // the disk, as the set's save is).
    const auto copyFiles = [&](bool flush) {
        QFile out(copyPath);
        if (!out.open(QIODevice::WriteOnly)) return;
        for (const QString& f : files) out.write(readAll(f));
        out.flush();
        if (flush) ::fsync(out.handle());
        out.close();
    };
    const double copy = timed([&] { copyFiles(false); });
    const double copyFlushed = timed([&] { copyFiles(true); });
    std::printf("ten unedited JPEG covers: set %lld bytes, files %lld bytes (+64 KB = %lld) %s\n",
                static_cast<long long>(setBytes), static_cast<long long>(filesBytes),
                static_cast<long long>(filesBytes + 65536), setBytes <= filesBytes + 65536 ? "met" : "MISSED");
    std::printf("save: median %.1f ms; copying the ten files into one: median %.1f ms (flushed: %.1f ms)\n", save, copy,
                copyFlushed);
    verdict("save / copy", save / copy, 2.0);
    verdict("save / copy flushed to disk", save / copyFlushed, 2.0);

    // Open until the first cover's pixels are there, against TurboJPEG decoding that picture.
    const double open = timed([&] {
        const kavi::CoverSetReading reading = kavi::loadCoverSetFile(setPath);
        if (!reading.set || reading.set->cover(1).picture.image().isNull()) std::fprintf(stderr, "opening failed\n");
    });
    const QByteArray first = readAll(files[0]);
    const double turbo = timed([&] {
        // A picture's memory is new for each decode, as it is for each open.
        const std::unique_ptr<unsigned char[]> pixels(new unsigned char[std::size_t(kWidth) * kHeight * 4]);
        tjhandle tj = tjInitDecompress();
        if (tjDecompress2(tj, reinterpret_cast<const unsigned char*>(first.constData()), (unsigned long)first.size(),
                          pixels.get(), kWidth, 0, kHeight, TJPF_BGRX, TJFLAG_ACCURATEDCT) != 0)
            std::fprintf(stderr, "TurboJPEG failed\n");
        tjDestroy(tj);
    });
    std::printf("open until the first cover: median %.1f ms; TurboJPEG decoding it: median %.1f ms\n", open, turbo);
    verdict("open / TurboJPEG", open / turbo, 1.3);

    // An edited cover: our PNG entry against libpng's default level.
    const QImage edited = makePhoto(11);
    std::string ours, theirs;
    const double ourTime = timed([&] {
        ours = kavi::encodePng(
            {edited.constBits(), edited.width(), edited.height(), std::ptrdiff_t(edited.bytesPerLine()), false});
    });
    const double theirTime = timed([&] { theirs = libpngDefault(edited); });
    std::printf("edited cover's PNG: ours %zu bytes in %.1f ms (level %d); libpng default %zu bytes in %.1f ms\n",
                ours.size(), ourTime, kavi::kPngDeflateLevel, theirs.size(), theirTime);
    verdict("PNG size / libpng", double(ours.size()) / double(theirs.size()), 1.05);
    verdict("PNG time / libpng", ourTime / theirTime, 0.5);
    return 0;
}
