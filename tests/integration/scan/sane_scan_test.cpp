// SPDX-License-Identifier: GPL-3.0-or-later
// Scanning through SANE's test backend, set up in a private configuration folder, in the main
// window: choosing the source, acquiring into the scanned picture, cancelling, and saving the scan
// so that it can be picked into a cover slot through the file list.
#include "app/file_list.h"
#include "app/folder_list.h"
#include "app/main_window.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "output/scan/image_file_writer.h"
#include "output/scan/scan_tab.h"
#include "platform/files/atomic_file.h"
#include "platform/scan/sane_device.h"
#include "platform/scan/scan_dialogs.h"
#include "tests/support/file_resolution.h"
#include "tests/support/test_platform.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cerrno>
#include <dlfcn.h>
#include <functional>

namespace kavi {
namespace {

using namespace kavi::testing;

// A private SANE configuration: only the test backend, or no backend at all. SANE reads the
// folder's name once per process, so every test uses the same folder and rewrites its files.
class SaneConfig {
public:
    explicit SaneConfig(bool withTestScanner, const QByteArray& moreTestOptions = {}) {
        static QTemporaryDir dir;
        static const bool named = qputenv("SANE_CONFIG_DIR", QFile::encodeName(dir.path())); // no system config
        (void)named;
        writeFile(dir.filePath("dll.conf"), withTestScanner ? "test\n" : "");
        writeFile(dir.filePath("test.conf"),
                  "number_of_devices 2\nmode Color\ntest-picture \"Color pattern\"\nresolution 75.0\n" +
                      moreTestOptions);
    }

private:
    static void writeFile(const QString& path, const QByteArray& text) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) f.write(text);
    }
};

// Acts on the next modal dialog of type D once it is shown (the dialogs run their own event loop).
template <class D>
void whenShown(std::function<void(D&)> act) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(*dialog);
        }
    });
    poll->start(0);
}

void click(QWidget& dialog, const char* button) {
    auto* b = dialog.findChild<QPushButton*>(button);
    ASSERT_NE(b, nullptr) << button;
    b->click();
}

class SaneScanning : public ::testing::Test {
protected:
    explicit SaneScanning(bool withTestScanner = true, const QByteArray& moreTestOptions = {})
        : config(withTestScanner, moreTestOptions) {
        QFile::remove(ScanTab::scanFilePath());
        window.settingsFile = settings.filePath("kavi4.ini");
        window.Form_Load();
        window.SSTab1->setCurrentIndex(10);
    }
    ~SaneScanning() override { QFile::remove(ScanTab::scanFilePath()); }

    SaneConfig config;
    QTemporaryDir settings;
    TestPlatform t;
    SaneScanner scanner;
    StandardImageEncoders encoders;
    Platform platform{t.messages, t.saveDialog,   t.shell,   t.help,  t.tray,   t.screen,   t.facts,  t.http,
                      t.sound,    t.systemColors, t.desktop, scanner, encoders, t.printers, t.printer};
    MainWindow window{platform};
    ScanTab& tab = *window.scanTab;
};

void scanAt75Dpi(ScanDialog& dialog) {
    auto* resolution = dialog.findChild<QComboBox*>("resolution");
    auto* mode = dialog.findChild<QComboBox*>("mode");
    ASSERT_TRUE(resolution && mode);
    resolution->setCurrentIndex(resolution->findData(75.0));
    mode->setCurrentText("Color");
    click(dialog, "scanButton");
}

TEST_F(SaneScanning, ChosenSourceScansIntoTheScannedPictureAndTheSavedFileIsPickedIntoASlot) {
    const QImage cover(20, 10, QImage::Format_RGB32);
    window.Image(1)->setPicture(cover);
    window.Image_Click(1);

    whenShown<SourceChooserDialog>([](SourceChooserDialog& d) {
        auto* list = d.findChild<QListWidget*>("sources");
        ASSERT_EQ(list->count(), 2);
        EXPECT_TRUE(list->item(1)->text().contains("test:1"));
        list->setCurrentRow(1);
        click(d, "selectButton");
    });
    tab.cmdSource->click();
    EXPECT_EQ(scanner.currentSource(), "test:1");
    EXPECT_TRUE(t.messages.shown.empty());

    whenShown<ScanDialog>(scanAt75Dpi);
    tab.cmdAquire->click();
    EXPECT_TRUE(t.messages.shown.empty());
    ASSERT_TRUE(tab.Image20->hasPicture());
    EXPECT_EQ(tab.Image20->picture().size(), QSize(236, 295)); // 80 x 100 mm at 75 dpi
    EXPECT_FALSE(QFile::exists(ScanTab::scanFilePath()));
    const QImage scanned = tab.Image20->picture();
    QSet<QRgb> colours; // a colour pattern, not a blank page
    for (int y = 0; y < scanned.height(); ++y) colours.insert(scanned.pixel(y % scanned.width(), y));
    EXPECT_GE(colours.size(), 3);

    // Scanning changed no slot and not the selection.
    EXPECT_EQ(window.SelectedImage, "Image1");
    EXPECT_EQ(window.Image(1)->picture(), cover);
    for (int n = 2; n <= 10; ++n) EXPECT_FALSE(window.Image(n)->hasPicture()) << n;

    // Saved, then picked from the file list into the DVD slot.
    QTemporaryDir out;
    t.saveDialog.answers.push_back({true, out.filePath("scan.bmp"), 0});
    tab.cmdSave->click();
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, "File Saved");

    window.SSTab1->setCurrentIndex(3);
    ASSERT_TRUE(window.dirSelect->setPath(out.path()));
    window.dirSelect_Change();
    const int row = int(window.fileSelect->entries().indexOf("scan.bmp"));
    ASSERT_GE(row, 0) << window.fileSelect->entries().join(", ").toStdString();
    window.fileSelect->selectRow(row);
    EXPECT_EQ(window.fileSelect->selectedEntry(), "scan.bmp");
    ASSERT_TRUE(window.Image(4)->hasPicture());
    EXPECT_EQ(window.Image(4)->picture(), scanned);
}

TEST_F(SaneScanning, CancelledScanKeepsThePreviousPicture) {
    whenShown<ScanDialog>(scanAt75Dpi);
    tab.cmdAquire_Click();
    ASSERT_TRUE(tab.Image20->hasPicture());
    const QImage first = tab.Image20->picture();

    whenShown<ScanDialog>([](ScanDialog& d) {
        auto* area = d.findChild<QWidget*>("areaRight");
        EXPECT_NE(area, nullptr); // the scan area is offered
        click(d, "cancelButton");
    });
    tab.cmdAquire_Click();
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, "Unable to aquire image!");
    EXPECT_EQ(t.messages.shown[0].title, "Unable to aquire image!");
    EXPECT_EQ(tab.Image20->picture(), first);
}

TEST_F(SaneScanning, TheScansResolutionGoesIntoTheSavedFile) {
    whenShown<ScanDialog>([](ScanDialog& dialog) {
        auto* resolution = dialog.findChild<QComboBox*>("resolution");
        ASSERT_TRUE(resolution && resolution->findData(150.0) >= 0);
        resolution->setCurrentIndex(resolution->findData(150.0));
        click(dialog, "scanButton");
    });
    tab.cmdAquire_Click();
    EXPECT_EQ(tab.Image20->picture().size(), QSize(472, 590)); // 80 x 100 mm at 150 dpi
    QTemporaryDir out;
    t.saveDialog.answers.push_back({true, out.filePath("scan.png"), 0});
    tab.cmdSave_Click();
    const auto dpi = fileDpi(out.filePath("scan.png"));
    ASSERT_TRUE(dpi);
    EXPECT_NEAR(dpi->first, 150, 0.5);
    EXPECT_NEAR(dpi->second, 150, 0.5);
}

TEST_F(SaneScanning, AScanFileThatCannotBeWrittenIsReportedAndLeavesNothing) {
    const QImage previous(30, 20, QImage::Format_RGB32);
    tab.Image20->setPicture(previous);
    for (const int error : {ENOSPC, EROFS}) {
        t.messages.shown.clear();
        setAtomicWriteFault(
            [error](AtomicWriteStep step, const QString&) { return step == AtomicWriteStep::WriteData ? error : 0; });
        whenShown<ScanDialog>(scanAt75Dpi);
        tab.cmdAquire_Click();
        setAtomicWriteFault({});
        ASSERT_EQ(t.messages.shown.size(), 1u);
        EXPECT_EQ(t.messages.shown[0].text, "Unable to aquire image!");
        EXPECT_EQ(tab.Image20->picture(), previous);
        EXPECT_FALSE(QFile::exists(ScanTab::scanFilePath()));
        const QStringList left = QDir(QFileInfo(ScanTab::scanFilePath()).absolutePath())
                                     .entryList({".temp.bmp*"}, QDir::Files | QDir::Hidden);
        EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
    }
}

// The test scanner's reads fail with an I/O error: the scan breaks off as a device would that
// fails part way through.
class FailingScanner : public SaneScanning {
protected:
    FailingScanner() : SaneScanning(true, "read-status-code \"SANE_STATUS_IO_ERROR\"\n") {}
};

TEST_F(FailingScanner, AScanThatBreaksOffIsReportedAndKeepsThePreviousPicture) {
    // A broken-off scan loses the test backend's reader buffer like a cancelled one (see below):
    // the backend stays loaded so that the leak checker can name it.
    static void* const keepLoaded = dlopen(KAVI_SANE_TEST_BACKEND, RTLD_NOW | RTLD_NODELETE);
    (void)keepLoaded;
    const QImage previous(30, 20, QImage::Format_RGB32);
    tab.Image20->setPicture(previous);
    window.Image(2)->setPicture(previous);
    whenShown<ScanDialog>(scanAt75Dpi);
    tab.cmdAquire_Click();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the scan dialog stays open";
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, "Unable to aquire image!");
    EXPECT_EQ(tab.Image20->picture(), previous);
    EXPECT_EQ(window.Image(2)->picture(), previous);
    EXPECT_FALSE(QFile::exists(ScanTab::scanFilePath()));
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

class NoScanner : public SaneScanning {
protected:
    NoScanner() : SaneScanning(false) {}
};

TEST_F(NoScanner, AcquiringFailsAtOnceAndTheChooserSaysSo) {
    tab.cmdAquire_Click();
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, "Unable to aquire image!");
    EXPECT_FALSE(tab.Image20->hasPicture());

    bool selectEnabled = true;
    whenShown<SourceChooserDialog>([&](SourceChooserDialog& d) {
        selectEnabled = d.findChild<QPushButton*>("selectButton")->isEnabled();
        click(d, "cancelButton");
    });
    tab.cmdSource_Click();
    EXPECT_FALSE(selectEnabled);
    EXPECT_EQ(t.messages.shown.size(), 1u); // choosing a source reports nothing
}

TEST(SaneSilence, AScannerThatStopsAnsweringIsGivenUpWhileAPatientLimitStillScans) {
    // The test backend's reader thread drops its buffer when a scan is cancelled halfway. SANE
    // unloads its backends at exit, which would hide where that leak comes from; keeping the
    // backend loaded lets the leak checker name it and the suppression file excuse it.
    static void* const keepLoaded = dlopen(KAVI_SANE_TEST_BACKEND, RTLD_NOW | RTLD_NODELETE);
    (void)keepLoaded;
    // Every read of the test scanner now takes 0.2 s.
    SaneConfig config(true, "read-delay true\nread-delay-duration 200000\n");
    SaneLibrary sane;
    ASSERT_TRUE(sane.started());
    SaneDevice device;
    ASSERT_TRUE(device.open("test:0"));
    device.setSilenceLimit(std::chrono::milliseconds(20));
    EXPECT_TRUE(device.scan({}).isNull());
    EXPECT_TRUE(device.lastScanGaveUp());

    device.setSilenceLimit(std::chrono::seconds(60));
    const QImage scanned = device.scan({});
    EXPECT_FALSE(device.lastScanGaveUp());
    EXPECT_FALSE(scanned.isNull());
}

} // namespace
} // namespace kavi
