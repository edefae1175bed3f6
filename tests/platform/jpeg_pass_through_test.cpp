// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG files decoded by libjpeg-turbo directly against Qt's reader, EXIF orientations, the files
// left to Qt (CMYK, 12-bit, PNG), which files keep their bytes for print jobs, and those bytes
// drawn into a PDF as they are: extracted unchanged by pdfimages and rendered by poppler upright.
#include "formats/pdf/pdf_document.h"
#include "formats/raster/jpeg_frame.h"
#include "platform/imaging/picture_loader.h"
#include "platform/imaging/qt_raster.h"
#include "tests/jpeg/photo_picture.h"
#include "tests/output/print/pdf_probe.h"
#include "tests/support/temp_folder.h"

#include <QBuffer>
#include <QImageReader>
#include <QStandardPaths>
#include <QTransform>
#include <gtest/gtest.h>

#include <string>

using namespace kavi;
using kavi::testing::TempFolder;

namespace {

const std::uint8_t* bytesOf(const QByteArray& b) { return reinterpret_cast<const std::uint8_t*>(b.constData()); }

QByteArray tool(const QString& program, const QStringList& args, const TempFolder& dir, const QString& out) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(-1);
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << " " << args.join(' ').toStdString();
    return dir.read(out);
}

QImage qtReads(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

// The EXIF block of one orientation tag, in either byte order, put right after the start marker.
QByteArray withOrientation(const QByteArray& jpeg, int orientation, bool bigEndian) {
    QByteArray tiff =
        bigEndian ? QByteArray("MM\x00\x2A\x00\x00\x00\x08", 8) : QByteArray("II\x2A\x00\x08\x00\x00\x00", 8);
    const auto u16 = [bigEndian](int v) {
        return bigEndian ? QByteArray(1, char(v >> 8)) + char(v & 255) : QByteArray(1, char(v & 255)) + char(v >> 8);
    };
    const auto u32 = [&](int v) { return bigEndian ? u16(0) + u16(v) : u16(v) + u16(0); };
    tiff += u16(1) + u16(0x0112) + u16(3) + u32(1) + u16(orientation) + u16(0) + u32(0);
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(body.size()) + 2;
    return jpeg.left(2) + QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 255) + body + jpeg.mid(2);
}

// Six flat cells of distinct colours, 64 pixels square (three across, two down): every turn or
// mirror of it puts other colours at the cells' centres.
QByteArray cellsJpeg() {
    QImage cells(192, 128, QImage::Format_RGB32);
    const QRgb colours[6] = {qRgb(220, 30, 30),  qRgb(30, 200, 40), qRgb(40, 50, 220),
                             qRgb(240, 230, 40), qRgb(20, 20, 20),  qRgb(230, 230, 230)};
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 192; ++x) cells.setPixel(x, y, colours[(y / 64) * 3 + x / 64]);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(cells.save(&buffer, "JPEG", 95));
    return bytes;
}

bool near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 8 && std::abs(qGreen(a) - qGreen(b)) <= 8 &&
        std::abs(qBlue(a) - qBlue(b)) <= 8;
}

class JpegPassThrough : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("cjpeg").isEmpty() || QStandardPaths::findExecutable("convert").isEmpty())
            GTEST_SKIP() << "cjpeg (libjpeg-turbo-progs) and convert (imagemagick) are needed";
        ASSERT_TRUE(photo.save(dir.file("source.ppm"), "PPM"));
    }
    // libjpeg's own encoder over the photo with extra switches.
    QByteArray cjpeg(const QStringList& switches) {
        return tool("cjpeg",
                    switches + QStringList{"-quality", "88", "-outfile", dir.file("c.jpg"), dir.file("source.ppm")},
                    dir, "c.jpg");
    }
    QByteArray qtBaseline() {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(photo.save(&buffer, "JPEG", 90));
        return bytes;
    }

    TempFolder dir;
    const QImage photo = toImage(jpegtest::photoPicture(203, 117)); // sizes that are no multiple of a block
};

} // namespace

TEST_F(JpegPassThrough, OwnDecodingGivesQtsPixelsAndKeepsTheBytesOfPortableFiles) {
    const std::pair<const char*, QByteArray> files[] = {
        {"Qt baseline 4:2:0", qtBaseline()},
        {"progressive", cjpeg({"-progressive"})},
        {"grey", cjpeg({"-grayscale"})},
        {"4:4:4", cjpeg({"-sample", "1x1"})},
        {"4:2:2 with restarts", cjpeg({"-sample", "2x1", "-restart", "1"})},
        {"optimised codes", cjpeg({"-optimize"})},
    };
    for (const auto& [what, bytes] : files) {
        const QString path = dir.write("picture.jpg", bytes);
        const PictureLoad loaded = loadPictureFile(path);
        ASSERT_EQ(loaded.status, PictureStatus::Loaded) << what;
        EXPECT_EQ(loaded.picture.format(), QImage::Format_RGB32) << what;
        // Both run libjpeg-turbo's accurate integer DCT with fancy upsampling: the very same pixels.
        EXPECT_EQ(loaded.picture, qtReads(path)) << what;
        EXPECT_EQ(loaded.originalJpeg, bytes) << what;
    }
}

TEST_F(JpegPassThrough, ExifOrientationTurnsThePictureAsQtsReaderDoes) {
    const QByteArray plain = qtBaseline();
    for (int orientation = 1; orientation <= 8; ++orientation)
        for (bool bigEndian : {true, false}) {
            const QByteArray bytes = withOrientation(plain, orientation, bigEndian);
            const auto frame = raster::readJpegFrame(bytesOf(bytes), std::size_t(bytes.size()));
            ASSERT_TRUE(frame);
            EXPECT_EQ(frame->orientation, orientation);
            const QString path = dir.write("turned.jpg", bytes);
            const PictureLoad loaded = loadPictureFile(path);
            ASSERT_EQ(loaded.status, PictureStatus::Loaded);
            EXPECT_EQ(loaded.picture.size(), orientation >= 5 ? QSize(117, 203) : QSize(203, 117));
            EXPECT_EQ(loaded.picture, qtReads(path)) << "orientation " << orientation;
        }
}

TEST_F(JpegPassThrough, FilesOfOtherKindsKeepQtsReadingAndNoBytes) {
    QByteArray twelveBit = qtBaseline();
    twelveBit[int(twelveBit.indexOf("\xFF\xC0")) + 4] = 12; // the frame's sample precision
    const std::pair<const char*, QByteArray> files[] = {
        {"CMYK",
         tool("convert", {dir.file("source.ppm"), "-colorspace", "CMYK", "-quality", "90", dir.file("k.jpg")}, dir,
              "k.jpg")},
        {"arithmetic-coded", cjpeg({"-arithmetic"})},
        {"12-bit frame", twelveBit},
        {"PNG", tool("convert", {dir.file("source.ppm"), dir.file("p.png")}, dir, "p.png")},
    };
    for (const auto& [what, bytes] : files) {
        const QString path = dir.write("other", bytes);
        const PictureLoad loaded = loadPictureFile(path);
        const QImage qt = qtReads(path);
        EXPECT_EQ(loaded.status == PictureStatus::Loaded, !qt.isNull()) << what;
        EXPECT_EQ(loaded.picture, qt) << what;
        EXPECT_TRUE(loaded.originalJpeg.isEmpty()) << what;
    }
}

TEST_F(JpegPassThrough, FrameHeadersThatEndOrBreakEarlyGiveNoFrame) {
    const QByteArray bytes = qtBaseline();
    const qsizetype frameAt = bytes.indexOf("\xFF\xC0");
    EXPECT_FALSE(raster::readJpegFrame(bytesOf(bytes), std::size_t(frameAt + 6)));
    QByteArray broken = bytes;
    broken[int(frameAt - 1)] = 0x12; // the marker before the frame loses its place
    broken[int(frameAt)] = 0x34;
    EXPECT_FALSE(raster::readJpegFrame(bytesOf(broken), std::size_t(broken.size())));
    EXPECT_FALSE(raster::readJpegFrame(bytesOf(QByteArray("\xFF\xD8", 2)), 2));
    const auto frame = raster::readJpegFrame(bytesOf(bytes), std::size_t(bytes.size()));
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->width, 203);
    EXPECT_EQ(frame->height, 117);
    EXPECT_TRUE(raster::isPortableJpeg(*frame));
}

TEST_F(JpegPassThrough, APdfCarriesTheFileItselfAndShowsItUprightWhereItIsPlaced) {
    const QByteArray plain = cellsJpeg();
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QByteArray bytes = withOrientation(plain, orientation, orientation % 2);
        const QImage upright = loadPictureFile(dir.write("turned.jpg", bytes)).picture;
        pdf::Document document;
        document.beginPage(300, 300);
        // At 72 dpi one point is one pixel: the picture is drawn at its own size.
        constexpr int kLeft = 10, kTop = 20;
        ASSERT_TRUE(document.drawJpeg(bytesOf(bytes), std::size_t(bytes.size()), kLeft, kTop, upright.width(),
                                      upright.height()));
        std::string pdfBytes;
        ASSERT_TRUE(document.write([&pdfBytes](const void* d, std::size_t n) {
            pdfBytes.append(static_cast<const char*>(d), n);
            return true;
        }));
        const QString pdfPath = dir.write("job.pdf", QByteArray::fromStdString(pdfBytes));
        EXPECT_LE(qsizetype(pdfBytes.size()), bytes.size() + 2048);

        tool("pdfimages", {"-j", pdfPath, dir.file("extracted")}, dir, "");
        EXPECT_EQ(dir.read("extracted-000.jpg"), bytes) << "orientation " << orientation;

        const QImage page = kavi::testing::renderPdfPage(pdfPath, 1, 72);
        ASSERT_EQ(page.size(), QSize(300, 300));
        for (int y = 32; y < upright.height(); y += 64)
            for (int x = 32; x < upright.width(); x += 64)
                EXPECT_TRUE(near(page.pixel(kLeft + x, kTop + y), upright.pixel(x, y)))
                    << "orientation " << orientation << ", cell at " << x << ", " << y;
        EXPECT_TRUE(near(page.pixel(kLeft - 3, kTop - 3), qRgb(255, 255, 255))); // nothing outside the rectangle
        EXPECT_TRUE(near(page.pixel(kLeft + upright.width() + 2, kTop + upright.height() + 2), qRgb(255, 255, 255)));
    }
}

TEST_F(JpegPassThrough, APdfRefusesJpegDataItCannotCarryAsItIs) {
    pdf::Document document;
    for (const QByteArray& bytes :
         {cjpeg({"-arithmetic"}),
          tool("convert", {dir.file("source.ppm"), "-colorspace", "CMYK", dir.file("k.jpg")}, dir, "k.jpg"),
          QByteArray("\xFF\xD8\xFF\xD9", 4)})
        EXPECT_FALSE(document.drawJpeg(bytesOf(bytes), std::size_t(bytes.size()), 0, 0, 100, 100));
    EXPECT_EQ(document.pageCount(), 0);
}
