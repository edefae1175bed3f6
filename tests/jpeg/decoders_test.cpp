// SPDX-License-Identifier: GPL-3.0-or-later
// cJpeg's files in real decoders: Qt's reader and libjpeg's djpeg decode every layout, and the
// decoded quality and size match cjpeg (float DCT, optimized tables) given the very same
// quantization tables. Also the kavi-jpeg tool's exit statuses.
#include "jpeg/cjpeg.h"
#include "jpeg/quant_tables.h"
#include "tests/jpeg/photo_picture.h"
#include "tests/support/program_run.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>
#include <fstream>
#include <sstream>

using namespace jpeg;

namespace {

std::vector<std::uint8_t> encode(const raster::Bitmap& pic, int quality, const std::vector<int>& s) {
    cJpeg enc;
    enc.quality(quality);
    enc.SetSamplingFrequencies(s[0], s[1], s[2], s[3], s[4], s[5]);
    EXPECT_EQ(enc.SampleHDC(jpegtest::MemoryDc(pic), pic.width(), pic.height(), 0, 0), 0);
    return enc.EncodeToMemory();
}

void writeBytes(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

// A 3-channel picture as RGB bytes, rows from the top.
struct Rgb {
    int width = 0, height = 0;
    std::vector<std::uint8_t> px;
};

Rgb rgbOf(const raster::Bitmap& b) {
    Rgb r{b.width(), b.height(), {}};
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            for (int c : {2, 1, 0}) r.px.push_back(b.row(y)[4 * x + c]);
    return r;
}

Rgb rgbOf(const QImage& image) {
    const QImage img = image.convertToFormat(QImage::Format_RGB888);
    Rgb r{img.width(), img.height(), {}};
    for (int y = 0; y < img.height(); ++y)
        r.px.insert(r.px.end(), img.constScanLine(y), img.constScanLine(y) + 3 * img.width());
    return r;
}

double psnr(const Rgb& a, const Rgb& b) {
    EXPECT_EQ(a.px.size(), b.px.size());
    if (a.px.size() != b.px.size() || a.px.empty()) return 0;
    double sum = 0;
    for (std::size_t i = 0; i < a.px.size(); ++i) sum += double(a.px[i] - b.px[i]) * (a.px[i] - b.px[i]);
    return sum == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 * double(a.px.size()) / sum);
}

bool have(const char* program) { return !QStandardPaths::findExecutable(program).isEmpty(); }

int run(const QString& program, const QStringList& args, QString* errors = nullptr) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(-1);
    if (errors) *errors = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QImage djpeg(const QString& jpegPath, const QString& outPath) {
    EXPECT_EQ(run("djpeg", {"-pnm", "-outfile", outPath, jpegPath}), 0) << jpegPath.toStdString();
    return QImage(outPath);
}

// File size without COM segments.
std::size_t sizeWithoutComments(const std::vector<std::uint8_t>& f) {
    std::size_t size = f.size(), i = 2;
    while (i + 3 < f.size() && f[i] == 0xFF && f[i + 1] != 0xDA) {
        const std::size_t len = std::size_t(f[i + 2] * 256 + f[i + 3]);
        if (f[i + 1] == 0xFE) size -= len + 2;
        i += len + 2;
    }
    return size;
}

std::vector<std::uint8_t> readAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray b = f.readAll();
    return {b.begin(), b.end()};
}

const std::vector<std::vector<int>> kLayouts = {{2, 2, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1}, {2, 1, 1, 1, 1, 1},
                                                {1, 1, 0, 0, 0, 0}, {4, 4, 1, 1, 1, 1}, {1, 2, 1, 1, 1, 1}};

} // namespace

TEST(JpegDecoders, QtAndDjpegDecodeEveryLayoutAndSize) {
    QTemporaryDir dir;
    const bool withDjpeg = have("djpeg");
    if (!withDjpeg) std::fprintf(stderr, "djpeg not installed (libjpeg-turbo-progs): checking Qt's reader only\n");
    for (auto [w, h] : {std::pair{1, 1}, {13, 9}, {40, 33}, {128, 64}}) {
        const raster::Bitmap pic = jpegtest::photoPicture(w, h, 21);
        for (const auto& s : kLayouts) {
            SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " " + std::to_string(s[0]) + "," +
                         std::to_string(s[1]) + "," + std::to_string(s[2]));
            const std::vector<std::uint8_t> bytes = encode(pic, 90, s);
            const QImage qt =
                QImage::fromData(QByteArray(reinterpret_cast<const char*>(bytes.data()), int(bytes.size())), "JPEG");
            ASSERT_FALSE(qt.isNull());
            EXPECT_EQ(qt.width(), w);
            EXPECT_EQ(qt.height(), h);
            const bool grey = s[2] == 0;
            // Far above what swapped or misplaced components give (under 20 dB), and below what
            // 4 x 4 chroma sampling of hard colour edges in a small picture allows.
            EXPECT_EQ(qt.isGrayscale(), grey);
            if (!grey && w >= 40) {
                EXPECT_GT(psnr(rgbOf(pic), rgbOf(qt)), 25.0);
            }
            if (!withDjpeg) continue;
            const QString path = dir.filePath("t.jpg");
            writeBytes(path, bytes);
            const QImage lib = djpeg(path, dir.filePath("t.pnm"));
            ASSERT_FALSE(lib.isNull());
            EXPECT_EQ(lib.size(), qt.size());
            if (!grey && w >= 40) {
                EXPECT_GT(psnr(rgbOf(pic), rgbOf(lib)), 25.0);
            }
        }
    }
}

// The same tables handed to cjpeg: our decoded PSNR may be at most 0.1 dB lower and our file
// (comments not counted) at most 1% larger.
TEST(JpegDecoders, MatchesCjpegWithTheSameTables) {
    if (!have("cjpeg") || !have("djpeg")) GTEST_SKIP() << "cjpeg/djpeg not installed (libjpeg-turbo-progs)";
    QTemporaryDir dir;
    const raster::Bitmap pic = jpegtest::photoPicture(320, 240, 2);
    const QString source = dir.filePath("source.ppm");
    ASSERT_TRUE(QImage(pic.bits(), pic.width(), pic.height(), int(pic.stride()), QImage::Format_RGB32)
                    .convertToFormat(QImage::Format_RGB888)
                    .save(source, "PPM"));
    const Rgb original = rgbOf(pic);
    for (int quality : {50, 75, 85, 95}) {
        for (bool subsampled : {true, false}) {
            SCOPED_TRACE("quality " + std::to_string(quality) + (subsampled ? " 2x2" : " 1x1"));
            cJpeg enc;
            enc.quality(quality);
            if (!subsampled) enc.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
            ASSERT_EQ(enc.SampleHDC(jpegtest::MemoryDc(pic), pic.width(), pic.height(), 0, 0), 0);
            const std::vector<std::uint8_t> ours = enc.EncodeToMemory();
            writeBytes(dir.filePath("ours.jpg"), ours);

            std::ostringstream tables; // natural order, one table after the other
            for (int slot = 0; slot < 2; ++slot)
                for (int n = 0; n < 64; ++n)
                    tables << enc.QuantizationTable(slot)[kNaturalToZigzag[n]] << (n % 8 == 7 ? "\n" : " ");
            std::ofstream(dir.filePath("tables.txt").toStdString()) << tables.str();
            ASSERT_EQ(run("cjpeg",
                          {"-dct", "float", "-optimize", "-qtables", dir.filePath("tables.txt"), "-qslots", "0,1,1",
                           "-sample", subsampled ? "2x2,1x1,1x1" : "1x1,1x1,1x1", "-outfile",
                           dir.filePath("anchor.jpg"), source}),
                      0);
            const std::vector<std::uint8_t> anchor = readAll(dir.filePath("anchor.jpg"));

            const double ourPsnr = psnr(original, rgbOf(djpeg(dir.filePath("ours.jpg"), dir.filePath("ours.ppm"))));
            const double anchorPsnr =
                psnr(original, rgbOf(djpeg(dir.filePath("anchor.jpg"), dir.filePath("anchor.ppm"))));
            EXPECT_GE(ourPsnr, anchorPsnr - 0.1) << "ours " << ourPsnr << " dB, cjpeg " << anchorPsnr << " dB";
            EXPECT_LE(double(sizeWithoutComments(ours)), 1.01 * double(sizeWithoutComments(anchor)))
                << "ours " << ours.size() << " bytes, cjpeg " << anchor.size();
        }
    }
}

TEST(JpegTool, ExitStatuses) {
    const QString tool = QDir(qEnvironmentVariable("KAVI_BUILD_DIR")).filePath("kavi-jpeg");
    ASSERT_TRUE(QFile::exists(tool)) << tool.toStdString();
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                              QFileDevice::ReadOther | QFileDevice::ExeOther);
    const raster::Bitmap pic = jpegtest::photoPicture(50, 30);
    const QString input = dir.filePath("in.png");
    ASSERT_TRUE(QImage(pic.bits(), 50, 30, int(pic.stride()), QImage::Format_RGB32).save(input));
    const QString out = dir.filePath("out.jpg");
    QString errors;

    EXPECT_EQ(run(tool, {input, out, "--quality", "60", "--sampling", "1,1,0,0,0,0", "--comment", "tool"}), 0);
    const QImage written(out);
    EXPECT_EQ(written.size(), QSize(50, 30));
    EXPECT_TRUE(written.isGrayscale());
    const std::vector<std::uint8_t> first = readAll(out);

    EXPECT_EQ(run(tool, {input, out}), 2); // exists: untouched
    EXPECT_EQ(readAll(out), first);

    EXPECT_EQ(run(tool, {input, dir.filePath("x.jpg"), "--sampling", "5,1,1,1,1,1"}, &errors), 3);
    EXPECT_TRUE(errors.contains("Invalid Sampling Value")) << errors.toStdString();
    EXPECT_EQ(errors.count('\n'), 1);
    EXPECT_EQ(run(tool, {dir.filePath("missing.png"), dir.filePath("x.jpg")}, &errors), 3);
    EXPECT_EQ(run(tool, {input, dir.filePath("x.jpg"), "--quality", "high"}, &errors), 3);
    EXPECT_EQ(run(tool, {input}, &errors), 3);
    EXPECT_FALSE(QFile::exists(dir.filePath("x.jpg")));

    // A folder the user may not write: a clear failure and no file, temporary or final.
    if (!have("setpriv")) GTEST_SKIP() << "setpriv missing: unprivileged write not checked";
    EXPECT_EQ(run("setpriv",
                  {"--reuid=nobody", "--regid=nogroup", "--clear-groups", tool, input, dir.filePath("denied.jpg")},
                  &errors),
              3);
    EXPECT_TRUE(errors.contains("Cannot write")) << errors.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // in.png, out.jpg
}

TEST(JpegTool, HelpNamesTheArgumentsVersionAnswersUnknownOptionsFail) {
    using kavi::testing::runProgram;
    const kavi::testing::ProgramRun help = runProgram("kavi-jpeg", {"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"INPUT", "OUTPUT", "--quality", "--sampling", "--comment", "Exit status"})
        EXPECT_TRUE(help.out.contains(word)) << word;
    EXPECT_TRUE(help.err.isEmpty());
    const kavi::testing::ProgramRun version = runProgram("kavi-jpeg", {"--version"});
    EXPECT_EQ(version.status, 0);
    ASSERT_FALSE(kavi::testing::projectVersion().isEmpty());
    EXPECT_EQ(version.out, "kavi-jpeg (Kavi) " + kavi::testing::projectVersion() + "\n");

    QTemporaryDir dir;
    const QString input = dir.filePath("in.png");
    ASSERT_TRUE(QImage(8, 8, QImage::Format_RGB32).save(input));
    const kavi::testing::ProgramRun unknown = runProgram("kavi-jpeg", {input, dir.filePath("o.jpg"), "--bogus"});
    EXPECT_EQ(unknown.status, 3);
    EXPECT_TRUE(unknown.err.contains("unknown option --bogus")) << unknown.err.toStdString();
    EXPECT_EQ(runProgram("kavi-jpeg", {"--version", input}).status, 3) << "--version with a run's arguments";
    EXPECT_FALSE(QFile::exists(dir.filePath("o.jpg")));
}
