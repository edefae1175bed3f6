// SPDX-License-Identifier: GPL-3.0-or-later
// The picture loader's verdicts on real files: JPEG files cut off at several places by several
// encoders, complete JPEG files that lack their end marker or carry bytes after it, files that are
// no picture, a missing file and pictures too large for memory.
#include "platform/imaging/picture_loader.h"
#include "platform/imaging/qt_raster.h"
#include "tests/jpeg/photo_picture.h"
#include "tests/support/temp_folder.h"

#include <QBuffer>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

using namespace kavi;
using kavi::testing::TempFolder;

namespace {

struct JpegFile {
    std::string encoder;
    QByteArray bytes;
};

QByteArray qtJpeg(const QImage& picture, bool progressive) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(85);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(picture));
    return bytes;
}

// libjpeg's own encoder, with a restart marker after every row of blocks.
QByteArray cjpegWithRestarts(const QImage& picture, const TempFolder& dir, bool progressive) {
    const QString ppm = dir.file("source.ppm"), out = dir.file("cjpeg.jpg");
    EXPECT_TRUE(picture.save(ppm, "PPM"));
    QStringList args{"-quality", "85", "-restart", "1", "-outfile", out, ppm};
    if (progressive) args.prepend("-progressive");
    QProcess cjpeg;
    cjpeg.start("cjpeg", args);
    cjpeg.waitForFinished(-1);
    EXPECT_EQ(cjpeg.exitCode(), 0);
    return dir.read("cjpeg.jpg");
}

std::vector<JpegFile> jpegFiles(const QImage& picture, const TempFolder& dir) {
    std::vector<JpegFile> files{{"Qt baseline", qtJpeg(picture, false)}, {"Qt progressive", qtJpeg(picture, true)}};
    if (QStandardPaths::findExecutable("cjpeg").isEmpty()) {
        std::fprintf(stderr, "cjpeg not installed (libjpeg-turbo-progs): files with restart markers left out\n");
        return files;
    }
    files.push_back({"cjpeg restarts", cjpegWithRestarts(picture, dir, false)});
    files.push_back({"cjpeg progressive restarts", cjpegWithRestarts(picture, dir, true)});
    return files;
}

class PictureLoader : public ::testing::Test {
protected:
    TempFolder dir;
    const QImage photo = toImage(jpegtest::photoPicture(320, 200));

    PictureLoad load(const QByteArray& bytes) { return loadPictureFile(dir.write("picture.jpg", bytes)); }
};

} // namespace

TEST_F(PictureLoader, JpegFilesCutBeforeTheirLastRowAreIncomplete) {
    for (const JpegFile& file : jpegFiles(photo, dir)) {
        const QByteArray& whole = file.bytes;
        ASSERT_TRUE(whole.endsWith("\xFF\xD9"));
        // From a third of the file to the last byte of coded data before the end marker.
        for (qsizetype keep : {whole.size() / 3, whole.size() * 9 / 10, whole.size() - 40, whole.size() - 3}) {
            const PictureLoad loaded = load(whole.left(keep));
            EXPECT_EQ(loaded.status, PictureStatus::Incomplete)
                << file.encoder << ", " << keep << " of " << whole.size();
            EXPECT_TRUE(loaded.picture.isNull()) << file.encoder;
        }
        EXPECT_TRUE(loadPicture(dir.write("cut.jpg", whole.left(whole.size() / 2))).isNull()) << file.encoder;
    }
}

TEST_F(PictureLoader, CompleteJpegFilesLoadWithoutEndMarkerOrWithBytesAfterIt) {
    for (const JpegFile& file : jpegFiles(photo, dir)) {
        const QByteArray& whole = file.bytes;
        const PictureLoad reference = load(whole);
        ASSERT_EQ(reference.status, PictureStatus::Loaded) << file.encoder;
        EXPECT_EQ(reference.picture.size(), QSize(320, 200));
        EXPECT_EQ(reference.picture.format(), QImage::Format_RGB32);
        const QByteArray withoutEnd = whole.left(whole.size() - 2);
        const std::pair<const char*, QByteArray> variants[] = {
            {"no end marker", withoutEnd},
            {"text after the end marker", whole + QByteArray("trailing words, not a marker").repeated(40)},
            // The decoder warns about bytes that are neither coded data nor a marker, then finds the end.
            {"stray bytes and no end marker", withoutEnd + QByteArray("\x12\x34\x56\x78", 4)},
        };
        for (const auto& [what, bytes] : variants) {
            const PictureLoad loaded = load(bytes);
            EXPECT_EQ(loaded.status, PictureStatus::Loaded) << file.encoder << ", " << what;
            EXPECT_EQ(loaded.picture, reference.picture) << file.encoder << ", " << what;
        }
    }
}

TEST_F(PictureLoader, OtherFailuresSayWhy) {
    EXPECT_EQ(load(QByteArray()).status, PictureStatus::NotAPicture) << "empty file";
    QByteArray noise(5000, '\0');
    for (int i = 0; i < noise.size(); ++i) noise[i] = char((i * 7919 + 13) % 251);
    EXPECT_EQ(load(noise).status, PictureStatus::NotAPicture) << "random bytes";
    EXPECT_EQ(load(QByteArray("\xFF\xD8\xFF\xE0 no picture follows", 22)).status, PictureStatus::NotAPicture);
    EXPECT_EQ(loadPictureFile(dir.file("absent.jpg")).status, PictureStatus::CannotOpen);

    // A JPEG whose frame header claims 65000 x 65000 pixels (16.9 GB as 32-bit): refused unread.
    QByteArray huge = qtJpeg(photo, false);
    const qsizetype frame = huge.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    for (int at : {5, 7}) huge.replace(frame + at, 2, QByteArray("\xFD\xE8", 2));
    EXPECT_EQ(load(huge).status, PictureStatus::TooLarge);
}
