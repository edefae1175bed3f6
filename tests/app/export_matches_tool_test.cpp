// SPDX-License-Identifier: GPL-3.0-or-later
// The window's Export PDF and kavi-cover on a saved set of the same covers write the same bytes:
// a CD front from a JPEG file with a title over it and the inside from a PNG with transparency,
// filled, with cut marks, on two pages.
#include "app/main_window.h"
#include "document/cover_document.h"
#include "platform/imaging/picture_loader.h"
#include "platform/print/printer.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace kavi;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(ExportMatchesTool, TheWindowsPdfAndKaviCoversAreTheSameBytesForTheSameCovers) {
    kavi::testing::TestPlatform services;
    kavi::testing::TempFolder dir;
    CupsPrinterObject writer(services.printers); // no printer installed: jobs are PDF files
    Platform withWriter = services.withPrinter(writer);
    MainWindow window(withWriter);
    window.settingsFile = dir.file("kavi4.ini");
    window.programFolderPath = dir.path();
    window.recoveryFolder = dir.file("recovery");
    window.Form_Load();

    QImage photo(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x) photo.setPixel(x, y, qRgb(x * 255 / 300, y * 255 / 200, 90));
    ASSERT_TRUE(photo.save(dir.file("front.jpg"), "JPEG", 90));
    PictureLoad front = loadPictureFile(dir.file("front.jpg"));
    ASSERT_FALSE(front.originalJpeg.isEmpty());
    QImage logo(120, 80, QImage::Format_ARGB32);
    logo.fill(qRgba(200, 30, 30, 128));
    CoverDocument& covers = window.document();
    covers.setPickedPicture(Kind(1), front.picture, front.originalJpeg);
    CoverText title = emptyCoverText(1);
    title.title.text = "Front title";
    covers.setText(Kind(1), title);
    covers.setPickedPicture(Kind(2), logo, {});
    covers.setFitMode(Kind(2), FitMode::Fill);
    covers.setTicked(Kind(1), true);
    covers.setTicked(Kind(2), true);
    window.CutMarks->trigger();
    ASSERT_TRUE(window.CutMarks->isChecked());

    services.saveDialog.answers = {{true, dir.file("covers.kavi"), 0}, {true, dir.file("window.pdf"), 0}};
    ASSERT_TRUE(window.SaveCoverSet_Click());
    window.ExportPdf_Click();
    const QByteArray fromWindow = readAll(dir.file("window.pdf"));
    ASSERT_FALSE(fromWindow.isEmpty());

    QProcess tool;
    tool.start(qEnvironmentVariable("KAVI_BUILD_DIR") + "/kavi-cover",
               {"--marks", "-o", dir.file("tool.pdf"), dir.file("covers.kavi")});
    ASSERT_TRUE(tool.waitForFinished(-1));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_TRUE(readAll(dir.file("tool.pdf")) == fromWindow) << "the same covers, the same bytes";
    EXPECT_GE(fromWindow.indexOf(front.originalJpeg), 0) << "the JPEG file goes in as it is, under its title";
    window.Form_Unload();
}
