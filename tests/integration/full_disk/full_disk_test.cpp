// SPDX-License-Identifier: GPL-3.0-or-later
// Every file Kavi writes, on a full file system and on read-only media: the earlier file stays as it
// was, no partial or temporary file is left, and the user hears of it where a save reports its
// result (never for the settings at exit).
#include "app/main_window.h"
#include "app/picture_slot.h"
#include "jpeg/cjpeg.h"
#include "jpeg/jpeg_error.h"
#include "output/print/cover_printing.h"
#include "output/scan/image_file_writer.h"
#include "output/scan/scan_tab.h"
#include "platform/print/printer.h"
#include "tests/integration/full_disk/small_file_system.h"
#include "tests/support/test_platform.h"

#include "formats/raster/device_context.h"

#include <QCheckBox>
#include <QFile>
#include <gtest/gtest.h>

namespace kavi {
namespace {

using namespace kavi::testing;

struct Fault {
    DiskFault fault;
    bool injected;
};

std::string faultName(const ::testing::TestParamInfo<Fault>& info) {
    return std::string(info.param.fault == DiskFault::Full ? "Full" : "ReadOnly") +
        (info.param.injected ? "Injected" : "Tmpfs");
}

QImage pattern(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 3, y * 5, (x ^ y) & 255));
    return image;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

class FullDisk : public ::testing::TestWithParam<Fault> {
protected:
    void SetUp() override {
        if (!GetParam().injected && !disk.isRealFileSystem())
            GTEST_SKIP() << "no tmpfs can be mounted here; the injected cases stand in";
    }
    void earlierFile(const QString& name, const QByteArray& bytes) {
        QFile f(disk.file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void breakDisk() { disk.fail(GetParam().fault, GetParam().injected); }

    SmallFileSystem disk;
    TestPlatform t;
};

TEST_P(FullDisk, SettingsAtExitKeepTheEarlierFileAndSayNothing) {
    const QByteArray earlier = "[MAIN]\nTab=3\nDVD=1\n";
    earlierFile("kavi4.ini", earlier);
    MainWindow window(t.platform);
    window.settingsFile = disk.file("kavi4.ini");
    window.programFolderPath = disk.path();
    window.Form_Load();
    window.Check(4)->click(); // DVD unticked: the settings would change
    window.Check(1)->click();
    breakDisk();
    window.Form_Unload();
    EXPECT_EQ(contents(disk.file("kavi4.ini")), earlier);
    EXPECT_EQ(disk.names(), "kavi4.ini");
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST_P(FullDisk, SavedPicturesInEveryFormatReportTheFailureAndKeepTheEarlierFiles) {
    StandardImageEncoders encoders;
    Platform platform{t.messages, t.saveDialog,   t.shell,   t.help,    t.tray,   t.screen,   t.facts,  t.http,
                      t.sound,    t.systemColors, t.desktop, t.scanner, encoders, t.printers, t.printer};
    ImageFileWriter gdip(encoders);
    ScanTab tab(
        platform, [&gdip] { return &gdip; }, [](const QString& name) { return QFile::exists(name); });
    tab.Image20->setPicture(pattern(160, 120)); // larger than what is left of the disk
    const QStringList names = {"cover.BMP", "cover.bmp", "cover.gif", "cover.jpg", "cover.png", "cover.tif"};
    for (const QString& name : names) earlierFile(name, "earlier " + name.toUtf8());
    breakDisk();
    for (const QString& name : names) {
        t.messages.shown.clear();
        t.messages.answers = {MsgResult::Yes}; // replace the earlier file
        t.saveDialog.answers.push_back({true, disk.file(name), 0});
        tab.cmdSave_Click();
        ASSERT_EQ(t.messages.shown.size(), 2u) << name.toStdString();
        EXPECT_EQ(t.messages.shown[1].text, "File Not Saved") << name.toStdString();
        EXPECT_EQ(t.messages.shown[1].title, "Unable to save file.");
        EXPECT_EQ(contents(disk.file(name)), "earlier " + name.toUtf8()) << name.toStdString();
        // A new name is not left behind half-written either.
        t.messages.shown.clear();
        t.saveDialog.answers.push_back({true, disk.file("new-" + name), 0});
        tab.cmdSave_Click();
        ASSERT_EQ(t.messages.shown.size(), 1u);
        EXPECT_EQ(t.messages.shown[0].text, "File Not Saved") << name.toStdString();
    }
    QStringList sorted = names;
    sorted.sort();
    EXPECT_EQ(disk.names(), sorted.join(' ').toStdString());
}

TEST_P(FullDisk, ExportedPdfSaysItWasNotWrittenAndKeepsTheEarlierFile) {
    CupsPrinterObject printer(t.printers);
    Platform platform{t.messages, t.saveDialog,   t.shell,   t.help,    t.tray,          t.screen,   t.facts, t.http,
                      t.sound,    t.systemColors, t.desktop, t.scanner, t.imageEncoders, t.printers, printer};
    earlierFile("covers.pdf", "earlier pdf");
    PrintSelection selection;
    selection.ticked[3] = true;
    selection.pictures[3] = pattern(300, 200);
    breakDisk();
    t.saveDialog.answers.push_back({true, disk.file("covers.pdf"), 0});
    const PrintOutcome outcome = exportCoversPdf(platform, selection);
    EXPECT_FALSE(outcome.sent);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_TRUE(t.messages.shown[0].text.startsWith("The PDF file could not be written."));
    EXPECT_EQ(contents(disk.file("covers.pdf")), "earlier pdf");
    EXPECT_EQ(disk.names(), "covers.pdf");
}

TEST_P(FullDisk, JpegFilesAreWrittenWholeOrNotAtAll) {
    if (GetParam().injected) GTEST_SKIP() << "cJpeg writes through its own file code: only a real file system fails it";
    raster::Bitmap picture(200, 150, 32);
    std::uint32_t state = 12345;
    for (std::size_t i = 0; i < picture.byteCount(); ++i) { // noise: it hardly compresses
        state = state * 1103515245u + 12345u;
        picture.bits()[i] = std::uint8_t(state >> 24);
    }
    raster::DeviceContext dc;
    dc.select(&picture);
    jpeg::cJpeg encoder;
    encoder.quality(100); // noise at full quality: far more than the disk holds
    ASSERT_EQ(encoder.SampleHDC(&dc, picture.width(), picture.height(), 0, 0), 0);
    earlierFile("earlier.jpg", "earlier jpeg");
    breakDisk();
    EXPECT_THROW(encoder.SaveFile(disk.file("cover.jpg").toStdString()), jpeg::JpegError);
    EXPECT_EQ(encoder.SaveFile(disk.file("earlier.jpg").toStdString()), 2) << "an existing file is never replaced";
    EXPECT_EQ(contents(disk.file("earlier.jpg")), "earlier jpeg");
    EXPECT_EQ(disk.names(), "earlier.jpg");
}

TEST_P(FullDisk, CoverSetsSayTheyWereNotSavedKeepTheEarlierFileAndStayUnsaved) {
    earlierFile("covers.kavi", "earlier set");
    MainWindow window(t.platform);
    window.settingsFile = disk.file("kavi4.ini");
    window.programFolderPath = disk.path();
    window.Image(4)->setPicture(pattern(400, 300)); // larger than what is left of the disk
    window.markUnsavedWork();
    breakDisk();
    for (const QString& name : {QStringLiteral("covers.kavi"), QStringLiteral("new.kavi")}) {
        t.messages.shown.clear();
        t.saveDialog.answers.push_back({true, disk.file(name), 0});
        EXPECT_FALSE(window.SaveCoverSet_Click()) << name.toStdString();
        ASSERT_EQ(t.messages.shown.size(), 1u);
        EXPECT_TRUE(t.messages.shown[0].text.startsWith("The covers could not be saved"))
            << t.messages.shown[0].text.toStdString();
        EXPECT_TRUE(window.hasUnsavedWork()) << "Exit still asks";
    }
    EXPECT_EQ(contents(disk.file("covers.kavi")), "earlier set");
    EXPECT_EQ(disk.names(), "covers.kavi");
}

INSTANTIATE_TEST_SUITE_P(Faults, FullDisk,
                         ::testing::Values(Fault{DiskFault::Full, false}, Fault{DiskFault::ReadOnly, false},
                                           Fault{DiskFault::Full, true}, Fault{DiskFault::ReadOnly, true}),
                         faultName);

} // namespace
} // namespace kavi
