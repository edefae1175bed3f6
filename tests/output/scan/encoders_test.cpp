// SPDX-License-Identifier: GPL-3.0-or-later
// The real encoders and our BMP writer: every format read back, files written whole or not at all.
#include "output/scan/bmp_writer.h"
#include "output/scan/image_file_writer.h"
#include "platform/files/atomic_file.h"
#include "platform/imaging/colour_quantiser.h"
#include "platform/imaging/picture_loader.h"
#include "platform/imaging/qt_raster.h"
#include "tests/output/scan/picture_samples.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace kavi {
namespace {

using namespace kavi::testing;

class Saving : public ::testing::Test {
protected:
    bool save(const QImage& picture, const QString& name, int quality = 85) {
        box.setPicture(picture);
        return gdip.PictureBoxToFile(box, dir.filePath(name), quality);
    }
    QByteArray formatOf(const QString& name) { return QImageReader(dir.filePath(name)).format(); }
    QStringList filesInDir() { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
    StandardImageEncoders encoders;
    ImageFileWriter gdip{encoders};
    StretchedPicture box;
};

TEST_F(Saving, LosslessFormatsReadBackPixelExact) {
    const QImage picture = richPicture(61, 37); // odd width: row padding in BMP
    for (const char* name : {"a.bmp", "a.dib", "a.png", "a.PNG", "a.tif", "a.tiff"}) {
        ASSERT_TRUE(save(picture, name)) << name;
        // Qt's reader takes a .dib name for no format of its own, so it is read as a BMP file.
        const QImage back =
            QString(name).endsWith(".dib") ? QImage(dir.filePath(name), "bmp") : loadPicture(dir.filePath(name));
        ASSERT_EQ(back.size(), picture.size()) << name;
        EXPECT_EQ(differingPixels(back, picture), 0) << name;
    }
    QFile dib(dir.filePath("a.dib"));
    ASSERT_TRUE(dib.open(QIODevice::ReadOnly));
    EXPECT_EQ(dib.read(2), "BM");
    EXPECT_EQ(formatOf("a.tiff"), "tiff");
    EXPECT_EQ(formatOf("a.PNG"), "png");
}

TEST_F(Saving, JpegNamesGiveJpegAtTheGivenQuality) {
    const QImage picture = richPicture(160, 120);
    for (const char* name : {"a.jpg", "a.JPEG", "a.jfif", "a.jpe"}) {
        ASSERT_TRUE(save(picture, name)) << name;
        EXPECT_EQ(formatOf(name), "jpeg") << name;
        EXPECT_GT(psnr(loadPicture(dir.filePath(name)), picture), 30.0) << name;
    }
    ASSERT_TRUE(save(picture, "low.jpg", 10));
    EXPECT_LT(QFileInfo(dir.filePath("low.jpg")).size(), QFileInfo(dir.filePath("a.jpg")).size());
}

TEST_F(Saving, GifKeepsUpTo256ColoursExactlyAndReducesRicherPictures) {
    for (int colours : {1, 2, 3, 200, 256}) {
        const QImage picture = palettePicture(50, 40, colours);
        ASSERT_TRUE(save(picture, "few.gif")) << colours;
        EXPECT_EQ(formatOf("few.gif"), "gif");
        EXPECT_EQ(differingPixels(loadPicture(dir.filePath("few.gif")), picture), 0) << colours;
    }
    const QImage rich = richPicture(200, 150);
    ASSERT_GT(distinctColours(rich), 256);
    ASSERT_TRUE(save(rich, "rich.GIF"));
    const QImage back = loadPicture(dir.filePath("rich.GIF"));
    ASSERT_EQ(back.size(), rich.size());
    EXPECT_LE(distinctColours(back), 256);
    EXPECT_GT(psnr(back, rich), 24.0);
    // Error diffusion keeps local averages: a plain 5-bit median cut bands to about 28 dB here.
    EXPECT_GT(blurredPsnr(back, rich), 33.0);
}

TEST(Quantiser, RicherPictureGetsFullPaletteAndIndicesWithinIt) {
    const QImage rich = richPicture(97, 53);
    const PalettePicture reduced =
        quantiseTo256(rich.constBits(), rich.width(), rich.height(), std::size_t(rich.bytesPerLine()));
    EXPECT_EQ(reduced.palette.size(), 256u);
    ASSERT_EQ(reduced.indices.size(), std::size_t(97 * 53));
    for (std::uint8_t i : reduced.indices) ASSERT_LT(i, reduced.palette.size());
}

TEST_F(Saving, OwnBmpWriterWritesTwentyFourBitBottomUpFiles) {
    const QImage picture = richPicture(5, 3);
    const QString path = dir.filePath("own.BMP");
    ASSERT_TRUE(savePictureAsBmp(picture, path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const int stride = 16; // 5 * 3 bytes padded to 4
    ASSERT_EQ(bytes.size(), 54 + stride * 3);
    EXPECT_EQ(bytes.left(2), "BM");
    EXPECT_EQ(quint8(bytes[28]), 24);
    // The first stored row is the bottom one, in blue, green, red order.
    const QRgb bottomLeft = picture.pixel(0, 2);
    EXPECT_EQ(quint8(bytes[54]), qBlue(bottomLeft));
    EXPECT_EQ(quint8(bytes[56]), qRed(bottomLeft));
    EXPECT_EQ(differingPixels(loadPicture(path), picture), 0);

    EXPECT_FALSE(savePictureAsBmp(QImage(), dir.filePath("empty.BMP")));
    EXPECT_FALSE(QFile::exists(dir.filePath("empty.BMP")));
}

TEST_F(Saving, ReplacingKeepsPermissionsAndLeavesNoTemporaryFile) {
    const QString path = dir.filePath("keep.png");
    QFile::remove(path);
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(save(richPicture(20, 20), "keep.png"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(filesInDir(), QStringList{"keep.png"});
}

TEST_F(Saving, FailingWriteLeavesTheOldFileIntact) {
    const QString path = dir.filePath("old.png");
    const QByteArray old(5000, 'o');
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    // Files may not grow past 1000 bytes: the encoded picture cannot be written (as on a full disk).
    QSignalSpy errors(&gdip, &ImageFileWriter::Error);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = save(richPicture(120, 120), "old.png");
    const bool writtenOwn = savePictureAsBmp(richPicture(120, 120), path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_FALSE(writtenOwn);
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors[0][0].toInt(), 7);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), old);
    EXPECT_EQ(filesInDir(), QStringList{"old.png"});
}

// Run as an unprivileged user by the test below; it only runs when that test starts it.
TEST(UnprivilegedChild, SavesIntoAFolderItMayNotWriteFail) {
    const QString folder = qEnvironmentVariable("KAVI_UNPRIVILEGED_FOLDER");
    if (folder.isEmpty()) GTEST_SKIP() << "started by SavingAsUnprivilegedUser";
    ASSERT_NE(::getuid(), 0u);
    StandardImageEncoders encoders;
    ImageFileWriter gdip(encoders);
    QSignalSpy errors(&gdip, &ImageFileWriter::Error);
    StretchedPicture box;
    box.setPicture(richPicture(30, 30));
    EXPECT_FALSE(gdip.PictureBoxToFile(box, folder + "/cover.png", 85));
    EXPECT_FALSE(gdip.PictureBoxToFile(box, folder + "/new.jpg", 85));
    ASSERT_EQ(errors.count(), 2);
    EXPECT_EQ(errors[0][0].toInt(), 12);
    EXPECT_EQ(errors[0][1].toString(), "Access Denied");
    EXPECT_FALSE(savePictureAsBmp(box.picture(), folder + "/cover.BMP"));
}

TEST(SavingAsUnprivilegedUser, OldFileSurvivesAndNothingIsLeftBehind) {
    if (::getuid() != 0) GTEST_SKIP() << "needs root to switch to the user nobody";
    // A folder only root may write, holding files that anybody may write.
    const QString folder = "/tmp/kavi-scan-unprivileged-" + QString::number(QCoreApplication::applicationPid());
    ASSERT_TRUE(QDir().mkpath(folder));
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    for (const char* name : {"cover.png", "cover.BMP"}) {
        QFile f(folder + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("the old picture");
        f.close();
        ::chmod(QFile::encodeName(f.fileName()).constData(), 0666);
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KAVI_UNPRIVILEGED_FOLDER", folder);
    env.insert("XDG_RUNTIME_DIR", folder + "-runtime");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start("setpriv",
                {"--reuid=nobody", "--regid=nogroup", "--clear-groups", QCoreApplication::applicationFilePath(),
                 "--gtest_filter=UnprivilegedChild.*"});
    ASSERT_TRUE(child.waitForFinished(-1));
    EXPECT_EQ(child.exitCode(), 0);
    for (const char* name : {"cover.png", "cover.BMP"}) {
        QFile f(folder + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), "the old picture") << name;
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);
    QDir(folder).removeRecursively();
}

TEST(AtomicFile, RefusesFoldersAndMissingFoldersAndMapsErrors) {
    QTemporaryDir dir;
    EXPECT_EQ(writeFileAtomicallyOrErrno(dir.path(), "x"), EISDIR);
    EXPECT_EQ(writeFileAtomicallyOrErrno(dir.filePath("none/a.png"), "x"), ENOENT);
    EXPECT_EQ(statusForErrno(ENOENT), StatusFileNotFound);
    EXPECT_EQ(statusForErrno(EACCES), StatusAccessDenied);
    EXPECT_EQ(statusForErrno(ENOSPC), StatusWin32Error);
    // A new file gets the permissions of the user's umask, not those of a private temporary file.
    const mode_t oldMask = ::umask(027);
    const int written = writeFileAtomicallyOrErrno(dir.filePath("new.txt"), "hello");
    ::umask(oldMask);
    EXPECT_EQ(written, 0);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(dir.filePath("new.txt")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    QFile f(dir.filePath("new.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "hello");
}

} // namespace
} // namespace kavi
