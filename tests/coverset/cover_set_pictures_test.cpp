// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures of a cover set: unedited JPEG files stored as their own bytes, other pictures as
// PNG files of our own encoder (with alpha where they have transparency), entries kept as stored
// and decoded when first asked for, copied unchanged on saving; version-1 files read as before;
// a set with a damaged picture entry refused whole.
#include "coverset/cover_set_file.h"
#include "coverset/png_encoder.h"
#include "formats/zip/stored_zip.h"
#include "platform/files/atomic_file.h"
#include "platform/imaging/picture_loader.h"
#include "tests/support/picture_files.h"
#include "tests/support/temp_folder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace kavi;
using kavi::testing::samePixels;
using kavi::testing::TempFolder;

namespace {

// Every pixel the same, alpha included.
bool sameArgb(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) return false;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < x.height(); ++row)
        if (std::memcmp(x.constScanLine(row), y.constScanLine(row), std::size_t(x.width()) * 4) != 0) return false;
    return true;
}

// A photo-like picture: smooth shading with fine detail, different for each seed.
QImage photo(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t noise = 2463534242u + std::uint32_t(seed);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
            const int n = int(noise & 15);
            line[x] =
                qRgb((x * 255 / width + n) & 0xFF, (y * 255 / height + seed * 40) & 0xFF, ((x + y) / 3 + n) & 0xFF);
        }
    }
    return image;
}

// A picture whose alpha runs from clear to opaque, with colour under the clear pixels.
QImage withTransparency() {
    QImage image(23, 11, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgba(x * 11, y * 23, 200, (x * 12 + y) & 0xFF));
    return image;
}

QByteArray encoded(const QImage& image, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0) writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

std::string_view viewOf(const QByteArray& bytes) { return {bytes.constData(), std::size_t(bytes.size())}; }

// The entry of that name in a cover-set file, as stored.
QByteArray entryOf(const QByteArray& file, const std::string& name) {
    const zip::Archive archive = zip::readArchive(viewOf(file), {});
    for (const zip::Entry& e : archive.entries)
        if (e.name == name) return QByteArray(e.data.data(), qsizetype(e.data.size()));
    return {};
}

// The file with one entry's bytes replaced, its checksum made to match.
QByteArray withEntry(const QByteArray& file, const std::string& name, const QByteArray& bytes) {
    const zip::Archive archive = zip::readArchive(viewOf(file), {});
    std::vector<zip::Entry> entries;
    for (const zip::Entry& e : archive.entries) entries.push_back(e.name == name ? zip::Entry{name, viewOf(bytes)} : e);
    const std::string out = zip::writeStored(entries);
    return QByteArray(out.data(), qsizetype(out.size()));
}

struct JpegFile {
    QByteArray bytes;
    QImage picture; // as picking it shows it
};

JpegFile jpegFile(const TempFolder& dir, const QString& name, const QImage& image) {
    const QString path = dir.write(name, encoded(image, "jpeg", 85));
    PictureLoad load = loadPictureFile(path);
    return {load.originalJpeg, load.picture};
}

// A set of an unedited JPEG (front), a transparent picture (back) and an edited picture (inside).
CoverSet mixedSet(const JpegFile& jpeg) {
    CoverSet set = CoverSet::empty();
    set.cover(1).picture = CoverSetPicture::ofJpegFile(jpeg.bytes, jpeg.picture);
    set.cover(1).fit = FitMode::Fill;
    set.cover(2).picture = photo(40, 30, 2);
    set.cover(3).picture = withTransparency();
    set.cover(3).text.title.text = "Clear";
    set.ticked[0] = set.ticked[1] = set.ticked[2] = true;
    return set;
}

} // namespace

TEST(CoverSetPictures, OurPngsDecodeToThePixelsWithAndWithoutAlpha) {
    for (const QSize size : {QSize(1, 1), QSize(3, 2), QSize(257, 31)}) {
        const QImage rgb = photo(size.width(), size.height(), 1);
        const std::string png =
            encodePng({rgb.constBits(), rgb.width(), rgb.height(), std::ptrdiff_t(rgb.bytesPerLine()), false});
        QImage back = QImage::fromData(reinterpret_cast<const uchar*>(png.data()), int(png.size()), "png");
        EXPECT_TRUE(samePixels(back, rgb)) << size.width();
        EXPECT_FALSE(back.hasAlphaChannel());
        PngHeader header;
        ASSERT_TRUE(readPngHeader(reinterpret_cast<const std::uint8_t*>(png.data()), png.size(), header));
        EXPECT_EQ(QSize(header.width, header.height), size);
        EXPECT_FALSE(header.alpha);
    }
    const QImage clear = withTransparency();
    const std::string png =
        encodePng({clear.constBits(), clear.width(), clear.height(), std::ptrdiff_t(clear.bytesPerLine()), true});
    const QImage back = QImage::fromData(reinterpret_cast<const uchar*>(png.data()), int(png.size()), "png");
    EXPECT_TRUE(sameArgb(back, clear)) << "alpha and the colour under clear pixels kept";
    // A PNG header whose checksum does not match is no header.
    std::string damaged = png;
    damaged[20] ^= 1;
    PngHeader header;
    EXPECT_FALSE(readPngHeader(reinterpret_cast<const std::uint8_t*>(damaged.data()), damaged.size(), header));
}

TEST(CoverSetPictures, JpegAlphaAndEditedCoversComeBackExactly) {
    TempFolder dir;
    const JpegFile jpeg = jpegFile(dir, "photo.jpg", photo(64, 48, 0));
    ASSERT_FALSE(jpeg.bytes.isEmpty());
    const QByteArray file = writeCoverSet(mixedSet(jpeg));
    ASSERT_FALSE(file.isEmpty());
    EXPECT_EQ(entryOf(file, "front.jpg"), jpeg.bytes) << "the JPEG file stored byte for byte";
    EXPECT_TRUE(entryOf(file, "front.png").isEmpty());

    const CoverSetReading reading = readCoverSet(file);
    ASSERT_EQ(reading.problem, CoverSetProblem::None);
    EXPECT_EQ(reading.version, 2) << "a JPEG entry and transparency need a reader of version 2";
    const CoverSet& set = *reading.set;
    EXPECT_EQ(set.cover(1).picture.encoding(), CoverSetPicture::Encoding::Jpeg);
    EXPECT_EQ(set.cover(1).picture.encoded(), jpeg.bytes);
    EXPECT_TRUE(samePixels(set.cover(1).picture.image(), jpeg.picture)) << "the picture as picking showed it";
    EXPECT_EQ(set.cover(1).fit, FitMode::Fill);
    EXPECT_TRUE(samePixels(set.cover(2).picture.image(), photo(40, 30, 2)));
    EXPECT_EQ(set.cover(2).picture.image().format(), QImage::Format_RGB32);
    EXPECT_TRUE(set.cover(3).picture.hasAlpha());
    EXPECT_TRUE(sameArgb(set.cover(3).picture.image(), withTransparency()));
    EXPECT_EQ(set.cover(3).text.title.text, "Clear");
    EXPECT_TRUE(set.cover(4).picture.isNull());

    // Without JPEG entries and transparency, readers of version 1 read the file as it is meant.
    CoverSet plain = CoverSet::empty();
    plain.cover(2).picture = withTransparency().convertToFormat(QImage::Format_RGB32);
    QImage opaque(4, 4, QImage::Format_ARGB32); // an alpha channel, every pixel opaque
    opaque.fill(qRgba(1, 2, 3, 255));
    plain.cover(5).picture = opaque;
    const CoverSetReading plainReading = readCoverSet(writeCoverSet(plain));
    ASSERT_TRUE(plainReading.set);
    EXPECT_EQ(plainReading.version, 1);
    EXPECT_FALSE(plainReading.set->cover(5).picture.hasAlpha());
}

TEST(CoverSetPictures, AVersionOneFileOpensAsItWasWritten) {
    QFile stored(QString::fromLocal8Bit(qgetenv("KAVI_SOURCE_DIR")) + "/tests/data/cover-set-version1.kavi");
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    const CoverSetReading reading = readCoverSet(stored.readAll());
    ASSERT_EQ(reading.problem, CoverSetProblem::None);
    EXPECT_EQ(reading.version, 1);
    const CoverSet& set = *reading.set;
    KindFlags ticked{};
    ticked[0] = ticked[3] = true;
    EXPECT_EQ(set.ticked, ticked);
    const QImage front = set.cover(1).picture.image();
    ASSERT_EQ(front.size(), QSize(5, 3));
    EXPECT_EQ(front.format(), QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(front.pixel(x, y), qRgb(x * 50, y * 100, 7 + x + y)) << x << "," << y;
    EXPECT_EQ(set.cover(1).fit, FitMode::Fill);
    EXPECT_EQ(set.cover(1).text.title.text, "Version one");
    const QImage dvd = set.cover(4).picture.image();
    ASSERT_EQ(dvd.size(), QSize(2, 4));
    EXPECT_EQ(dvd.pixel(0, 0), qRgb(200, 10, 30));
    EXPECT_EQ(dvd.pixel(1, 3), qRgb(0, 255, 0));
    EXPECT_EQ(set.cover(4).fit, FitMode::Fit);
    EXPECT_EQ(set.cover(4).text.spine.text, "Spine");
    for (int kind : {2, 3, 5, 6, 7, 8, 9, 10}) {
        EXPECT_TRUE(set.cover(kind).picture.isNull()) << kind;
        EXPECT_EQ(set.cover(kind).fit, FitMode::Stretch) << kind;
        EXPECT_TRUE(set.cover(kind).text == emptyCoverText(kind)) << kind;
    }
}

TEST(CoverSetPictures, ASetWithADamagedJpegEntryIsRefusedWhole) {
    TempFolder dir;
    const JpegFile jpeg = jpegFile(dir, "photo.jpg", photo(64, 48, 0));
    const QByteArray good = writeCoverSet(mixedSet(jpeg));

    QByteArray flipped = good; // a bit inside the JPEG's coded data: the zip checksum tells
    const qsizetype at = good.indexOf(jpeg.bytes) + jpeg.bytes.size() / 2;
    flipped[at] = char(flipped[at] ^ 0x08);
    EXPECT_EQ(readCoverSet(flipped).problem, CoverSetProblem::Damaged);
    EXPECT_FALSE(readCoverSet(flipped).set);

    QByteArray noStart = jpeg.bytes; // checksums right, but the entry does not begin like a JPEG
    noStart[1] = char(0xD9);
    EXPECT_EQ(readCoverSet(withEntry(good, "front.jpg", noStart)).problem, CoverSetProblem::Damaged);

    const QByteArray huge = kavi::testing::impossiblySizedJpeg(); // a header claiming 65000 x 65000
    EXPECT_EQ(readCoverSet(withEntry(good, "front.jpg", huge)).problem, CoverSetProblem::TooLarge);

    // A twelve-bit or arithmetic-coded JPEG is no file Kavi stores as it is.
    QByteArray arithmetic = jpeg.bytes;
    const qsizetype frame = arithmetic.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(frame, 0);
    arithmetic[frame + 1] = char(0xC9);
    EXPECT_EQ(readCoverSet(withEntry(good, "front.jpg", arithmetic)).problem, CoverSetProblem::Damaged);
}

TEST(CoverSetPictures, PicturesAreDecodedWhenFirstUsedAndTheFileIsNotReadAgain) {
    TempFolder dir;
    const JpegFile jpeg = jpegFile(dir, "photo.jpg", photo(64, 48, 0));
    // The DVD's PNG written by another encoder: saved again as it is, it stays byte for byte the same.
    const QByteArray otherPng = encoded(photo(30, 20, 5), "png", 0);
    CoverSet original = mixedSet(jpeg);
    original.cover(4).picture = photo(30, 20, 5);
    const QByteArray file = withEntry(writeCoverSet(original), "dvd.png", otherPng);
    const QString foreign = dir.write("opened.kavi", file);

    const CoverSetReading reading = loadCoverSetFile(foreign);
    ASSERT_EQ(reading.problem, CoverSetProblem::None);
    ASSERT_TRUE(QFile::remove(foreign));
    const CoverSet& set = *reading.set;
    for (int kind : {1, 2, 3, 4}) {
        EXPECT_FALSE(set.cover(kind).picture.isDecoded()) << kind << ": decoded before it was used";
        EXPECT_FALSE(set.cover(kind).picture.size().isEmpty()) << kind << ": the size is known from the header";
    }
    EXPECT_EQ(set.cover(4).picture.size(), QSize(30, 20));
    EXPECT_TRUE(samePixels(set.cover(1).picture.image(), jpeg.picture));
    EXPECT_TRUE(set.cover(1).picture.isDecoded());
    EXPECT_FALSE(set.cover(2).picture.isDecoded()) << "one picture used, one decoded";
    EXPECT_TRUE(samePixels(set.cover(2).picture.image(), photo(40, 30, 2)));
    EXPECT_TRUE(sameArgb(set.cover(3).picture.image(), withTransparency()));
    EXPECT_TRUE(samePixels(set.cover(4).picture.image(), photo(30, 20, 5)));

    const CoverSet copy = set; // copies share the decoded pixels
    EXPECT_EQ(copy.cover(2).picture.image().cacheKey(), set.cover(2).picture.image().cacheKey());

    const QString elsewhere = dir.file("elsewhere.kavi");
    ASSERT_EQ(saveCoverSetFile(elsewhere, set), 0);
    const QByteArray saved = dir.read("elsewhere.kavi");
    for (const char* name : {"front.jpg", "inside.png", "back.png", "dvd.png"})
        EXPECT_EQ(entryOf(saved, name), entryOf(file, name)) << name << " copied as it was stored";
    EXPECT_EQ(entryOf(saved, "dvd.png"), otherPng);
    const CoverSetReading again = readCoverSet(saved);
    ASSERT_TRUE(again.set);
    EXPECT_TRUE(sameArgb(again.set->cover(3).picture.image(), withTransparency()));
}

TEST(CoverSetPictures, APictureEntryThatDoesNotDecodeIsToldWhenUsed) {
    // The header is right and the checksums match, but the coded data was cut short: opening
    // cannot tell without decoding, using the picture does.
    TempFolder dir;
    const JpegFile jpeg = jpegFile(dir, "photo.jpg", photo(64, 48, 0));
    const QByteArray cut = jpeg.bytes.left(jpeg.bytes.size() / 2);
    const QByteArray file = withEntry(writeCoverSet(mixedSet(jpeg)), "front.jpg", cut);
    const CoverSetReading reading = readCoverSet(file);
    ASSERT_TRUE(reading.set);
    EXPECT_FALSE(reading.set->cover(1).picture.decodeFailed());
    EXPECT_TRUE(reading.set->cover(1).picture.image().isNull());
    EXPECT_TRUE(reading.set->cover(1).picture.decodeFailed());
}

TEST(CoverSetPictures, ASaveThatFillsTheDiskLeavesTheOldFileAsItWas) {
    TempFolder dir;
    const JpegFile jpeg = jpegFile(dir, "photo.jpg", photo(64, 48, 0));
    const QString path = dir.file("covers.kavi");
    ASSERT_EQ(saveCoverSetFile(path, CoverSet::empty()), 0);
    const QByteArray before = dir.read("covers.kavi");
    setAtomicWriteFault(
        [](AtomicWriteStep step, const QString&) { return step == AtomicWriteStep::WriteData ? ENOSPC : 0; });
    EXPECT_EQ(saveCoverSetFile(path, mixedSet(jpeg)), ENOSPC);
    setAtomicWriteFault({});
    EXPECT_EQ(dir.read("covers.kavi"), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2)
        << "the picture and the old set, no temporary file";
    // Written in pieces, the file is the same as the one made in memory.
    ASSERT_EQ(saveCoverSetFile(path, mixedSet(jpeg)), 0);
    EXPECT_EQ(dir.read("covers.kavi"), writeCoverSet(mixedSet(jpeg)));
}
