// SPDX-License-Identifier: GPL-3.0-or-later
// Printing through a private CUPS server whose two queues write each job to a file through a
// pass-through PPD with a lopsided printable area (left 10, top 40, right 30, bottom 20 points);
// one test adds a queue with CUPS's PDF filter in the chain. The printed files are read back as a
// user would look at them: page sizes and rendered pages. Last, the built kavi program itself is
// stopped with SIGTERM.
#include "app/file_list.h"
#include "app/folder_list.h"
#include "app/main_window.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "coverset/cover_set_file.h"
#include "document/cover_document.h"
#include "output/print/calibrate_printer.h"
#include "output/print/cover_document_printing.h"
#include "output/print/cover_printing.h"
#include "output/print/print_layout_settings.h"
#include "output/print/printer_chooser.h"
#include "output/print/temporary_printer_record.h"
#include "platform/imaging/picture_loader.h"
#include "platform/print/cups_job.h"
#include "platform/system/process_identity.h"
#include "tests/integration/print/private_cups.h"
#include "tests/output/print/pdf_probe.h"
#include "tests/support/test_platform.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QThread>
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <signal.h>

using namespace kavi;
using namespace kavi::testing;

namespace {

constexpr int kDpi = 200; // rendering resolution: 0.005 in a pixel
constexpr double kTolerance = 0.01; // inches
double inches(int pixels) { return pixels / double(kDpi); }

QString readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void writeFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(text);
}

// The box of the clearly red pixels of a rendered page.
QRect redBox(const QImage& page) {
    QImage mask(page.size(), QImage::Format_RGB32);
    mask.fill(Qt::white);
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb p = page.pixel(x, y);
            if (qRed(p) > 150 && qGreen(p) < 100 && qBlue(p) < 100) mask.setPixel(x, y, qRgb(0, 0, 0));
        }
    return inkBox(mask);
}

// A dark picture whose top-left quarter is red, so a turned page shows which way it turned.
QImage markedPicture(int width, int height, const QString& slot) {
    QImage picture = darkPicture(width, height, slot);
    for (int y = 0; y < height / 4; ++y)
        for (int x = 0; x < width / 4; ++x) picture.setPixel(x, y, qRgb(220, 20, 20));
    return picture;
}

class PrintThroughCups : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cups = new PrivateCups;
        if (!cups->failure().isEmpty()) return;
        if (!cups->addQueue("KaviA", KAVI_PASSTHROUGH_PPD) || !cups->addQueue("KaviB", KAVI_PASSTHROUGH_PPD) ||
            !cups->setServerDefault("KaviA"))
            queueFailure = "the test queues could not be added";
    }
    static void TearDownTestSuite() {
        delete cups; // stops our cupsd by its pid
        cups = nullptr;
    }
    void SetUp() override {
        if (!cups->failure().isEmpty())
            GTEST_SKIP() << "CUPS cannot start here, so printing is not tried: " << cups->failure().toStdString();
        ASSERT_TRUE(queueFailure.empty()) << queueFailure;
        QFile::remove(cups->userOptionsFile());
        QFile::remove(cups->home() + "/kavi4.ini"); // the main window starts with nothing ticked
        QFile::remove(cups->jobFile("KaviA"));
        QFile::remove(cups->jobFile("KaviB"));
    }

    // Runs the print command and waits for the server to finish the job.
    void print(const PrintSelection& selection) {
        printCovers(platform, selection);
        ASSERT_TRUE(cups->waitForJobs()) << "the job did not finish";
    }

    static PrivateCups* cups;
    static std::string queueFailure;
    TestPlatform doubles;
    CupsPrinters printers;
    CupsPrinterObject printer{printers};
    Platform platform{doubles.messages, doubles.saveDialog, doubles.shell,         doubles.help,  doubles.tray,
                      doubles.screen,   doubles.facts,      doubles.http,          doubles.sound, doubles.systemColors,
                      doubles.desktop,  doubles.scanner,    doubles.imageEncoders, printers,      printer};
};

PrivateCups* PrintThroughCups::cups = nullptr;
std::string PrintThroughCups::queueFailure;

} // namespace

TEST_F(PrintThroughCups, DvdPrintsOneLegalLandscapePageAtRealSizeFromThePrintableCorner) {
    PrintSelection s;
    s.ticked[3] = true;
    s.pictures[3] = darkPicture(1200, 800, "Image4");
    const int before = cups->completedJobs();
    print(s);
    EXPECT_EQ(cups->completedJobs(), before + 1);
    EXPECT_EQ(cups->lastJobAttribute("print-scaling"), "none");
    EXPECT_EQ(printer.paperSize(), Paper::Letter) << "Letter again after a Legal kind";

    const QString pdf = cups->jobFile("KaviA");
    const auto sizes = pdfPageSizes(pdf);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_NEAR(sizes[0].width(), 1008, 0.5);
    EXPECT_NEAR(sizes[0].height(), 612, 0.5);

    // Landscape turns the portrait margins (10, 40, 30, 20): the corner is 20 pt in and 10 pt down.
    const QRect box = inkBox(renderPdfPage(pdf, 1, kDpi));
    EXPECT_NEAR(inches(box.left()), 20 / 72.0, kTolerance);
    EXPECT_NEAR(inches(box.top()), 10 / 72.0, kTolerance);
    EXPECT_NEAR(inches(box.width()), 10.6875, kTolerance);
    EXPECT_NEAR(inches(box.height()), 7.125, kTolerance);

    // The picture is in the job at its own size and without lossy compression.
    const QString images = runTool("pdfimages", {"-list", pdf});
    EXPECT_TRUE(images.contains(QRegularExpression(R"(\s1200\s+800\s+rgb\s+3\s+8\s+image\s)"))) << images.toStdString();
}

TEST_F(PrintThroughCups, ThreeJewelCaseCoversPrintOneJobOfTwoLetterPages) {
    PrintSelection s;
    for (int i = 0; i < 3; ++i) s.ticked[std::size_t(i)] = true;
    s.pictures[0] = darkPicture(300, 300, "Image1");
    s.pictures[1] = darkPicture(300, 300, "Image2");
    s.pictures[2] = darkPicture(590, 465, "Image3");
    const int before = cups->completedJobs();
    print(s);
    EXPECT_EQ(cups->completedJobs(), before + 1);

    const QString pdf = cups->jobFile("KaviA");
    const auto sizes = pdfPageSizes(pdf);
    ASSERT_EQ(sizes.size(), 2u);
    for (const QSizeF& size : sizes) {
        EXPECT_NEAR(size.width(), 612, 0.5);
        EXPECT_NEAR(size.height(), 792, 0.5);
    }
    const QImage first = renderPdfPage(pdf, 1, kDpi);
    const QRect both = inkBox(first);
    EXPECT_NEAR(inches(both.left()), 10 / 72.0, kTolerance);
    EXPECT_NEAR(inches(both.top()), 40 / 72.0, kTolerance);
    EXPECT_NEAR(inches(both.width()), 4.75, kTolerance);
    // Inside starts 7563 twips below Front and is as tall: its bottom is 14403 twips down.
    EXPECT_NEAR(inches(both.height()), 14403 / 1440.0, kTolerance);
    const QRect inside = inkBox(first.copy(0, both.top() + int(5.0 * kDpi), first.width(), first.height()));
    EXPECT_NEAR(inches(inside.top()) + 5.0, 7563 / 1440.0, kTolerance);

    const QRect back = inkBox(renderPdfPage(pdf, 2, kDpi));
    EXPECT_NEAR(inches(back.left()), 10 / 72.0, kTolerance);
    EXPECT_NEAR(inches(back.top()), 40 / 72.0, kTolerance);
    EXPECT_NEAR(inches(back.width()), 5.9, kTolerance);
    EXPECT_NEAR(inches(back.height()), 4.65, kTolerance);
}

TEST_F(PrintThroughCups, TheChosenPrinterTakesTheNextJobAndUnloadPutsTheUsersDefaultBack) {
    for (const bool userHadDefault : {false, true}) {
        QFile::remove(cups->jobFile("KaviA"));
        QFile::remove(cups->jobFile("KaviB"));
        const QString startOptions = userHadDefault ? QStringLiteral("Default KaviA\n") : QString();
        QFile::remove(cups->userOptionsFile());
        QFile::remove(cups->home() + "/kavi4.ini"); // no ticks carried over from the last round
        if (userHadDefault) {
            QDir().mkpath(cups->home() + "/.cups");
            QFile f(cups->userOptionsFile());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(startOptions.toUtf8());
        }
        {
            MainWindow window(platform);
            window.settingsFile = cups->home() + "/kavi4.ini";
            window.Form_Load();
            ASSERT_TRUE(window.OriginalPrinter.found);
            EXPECT_EQ(window.OriginalPrinter.deviceName, "KaviA");
            EXPECT_EQ(window.OriginalPrinter.driverName, "Kavi Pass-through PDF");
            EXPECT_EQ(window.OriginalPrinter.port, "file://" + cups->jobFile("KaviA"));

            window.A_Click();
            PrinterChooser* chooser = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* f = qobject_cast<PrinterChooser*>(w); f && f->isVisible()) chooser = f;
            ASSERT_NE(chooser, nullptr);
            ASSERT_EQ(chooser->List1->count(), 2);
            EXPECT_EQ(chooser->List1->item(0)->text(), "KaviA");
            chooser->List1->item(1)->setSelected(true);
            chooser->Command1->click();
            EXPECT_EQ(doubles.messages.shown.back().text, "KaviB has successfully been set as the temporary printer.");
            EXPECT_EQ(readAll(cups->userOptionsFile()).trimmed(), "Default KaviB");

            window.Image(7)->setPicture(darkPicture(100, 50, "Image7"));
            window.Check(7)->click();
            window.cmdPrint->click();
            ASSERT_TRUE(cups->waitForJobs());
            EXPECT_TRUE(QFile::exists(cups->jobFile("KaviB")));
            EXPECT_FALSE(QFile::exists(cups->jobFile("KaviA")));
            const QRect ds = inkBox(renderPdfPage(cups->jobFile("KaviB"), 1, kDpi));
            EXPECT_NEAR(inches(ds.width()), 10.87, kTolerance);
            EXPECT_NEAR(inches(ds.height()), 4.57, kTolerance);

            window.Form_Unload();
        }
        EXPECT_EQ(readAll(cups->userOptionsFile()).trimmed(), startOptions.trimmed())
            << (userHadDefault ? "the user's own default comes back" : "no default line is left behind");
        EXPECT_EQ(deviceNameOfEntry(printers.defaultPrinterEntry()), "KaviA");
    }
}

TEST_F(PrintThroughCups, ADefaultTheUserSetWithLpoptionsAfterSelectPrinterStandsAtExit) {
    ASSERT_TRUE(cups->addQueue("KaviC", KAVI_PASSTHROUGH_PPD));
    QFile::remove(cups->userOptionsFile());
    QFile::remove(cups->home() + "/kavi4.ini");
    {
        MainWindow window(platform);
        window.settingsFile = cups->home() + "/kavi4.ini";
        window.Form_Load();
        window.A_Click();
        PrinterChooser* chooser = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<PrinterChooser*>(w); f && f->isVisible()) chooser = f;
        ASSERT_NE(chooser, nullptr);
        const auto found = chooser->List1->findItems("KaviB", Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        found[0]->setSelected(true);
        chooser->Command1->click();
        ASSERT_EQ(readAll(cups->userOptionsFile()).trimmed(), "Default KaviB");

        QProcess lpoptions; // the user, in a shell
        lpoptions.start("lpoptions", {"-d", "KaviC"});
        ASSERT_TRUE(lpoptions.waitForFinished(-1));
        ASSERT_EQ(lpoptions.exitCode(), 0);
        window.Form_Unload();
    }
    EXPECT_EQ(deviceNameOfEntry(printers.defaultPrinterEntry()), "KaviC") << "the user's own choice stands";
    EXPECT_FALSE(QFile::exists(cups->home() + "/kavi4-printer-restore.txt"));
    QFile::remove(cups->userOptionsFile());
    EXPECT_TRUE(cups->removeQueue("KaviC"));
}

TEST_F(PrintThroughCups, PickedPictureGoesThroughTheFileListToThePrintedPage) {
    QTemporaryDir pictures;
    QImage photo(800, 600, QImage::Format_RGB32);
    photo.fill(QColor(10, 60, 20));
    ASSERT_TRUE(photo.save(pictures.filePath("cover.jpg"), "JPEG", 90));

    MainWindow window(platform);
    window.settingsFile = cups->home() + "/kavi4.ini";
    window.Form_Load();
    window.SSTab1->setCurrentIndex(3); // the DVD tab
    ASSERT_TRUE(window.dirSelect->setPath(pictures.path()));
    window.dirSelect_Change();
    const int row = int(window.fileSelect->entries().indexOf("cover.jpg"));
    ASSERT_GE(row, 0);
    window.fileSelect->selectRow(row);
    ASSERT_TRUE(window.Image(4)->hasPicture());
    EXPECT_EQ(window.Image(4)->picture().size(), QSize(800, 600));

    window.Check(4)->click();
    doubles.messages.answers = {MsgResult::Ok};
    window.cmdPrint->click();
    ASSERT_TRUE(cups->waitForJobs());
    EXPECT_EQ(doubles.messages.shown.back().text,
              "Please make sure your printer is on and you are using LEGAL sized paper!");
    const QRect box = inkBox(renderPdfPage(cups->jobFile("KaviA"), 1, kDpi));
    EXPECT_NEAR(inches(box.left()), 20 / 72.0, kTolerance);
    EXPECT_NEAR(inches(box.width()), 10.6875, kTolerance);
    window.Form_Unload();
}

TEST_F(PrintThroughCups, ADefaultNamedInTheEnvironmentIsNotReportedAsChangedAndTheUsersFileStays) {
    for (const QByteArray& before : {QByteArray(), QByteArray("Default KaviA\n")}) {
        QFile::remove(cups->userOptionsFile());
        if (!before.isEmpty()) {
            QDir().mkpath(cups->home() + "/.cups");
            QFile f(cups->userOptionsFile());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(before);
        }
        qputenv("PRINTER", "KaviA"); // outranks the user's own setting
        const bool written = printers.writeDefaultPrinterEntry("KaviB,x,y");
        qunsetenv("PRINTER");
        EXPECT_FALSE(written);
        EXPECT_EQ(readAll(cups->userOptionsFile()).toUtf8().trimmed(), before.trimmed());
    }
    EXPECT_TRUE(printers.writeDefaultPrinterEntry("KaviB,x,y")); // with nothing above it, it takes effect
    EXPECT_EQ(deviceNameOfEntry(printers.defaultPrinterEntry()), "KaviB");
}

TEST_F(PrintThroughCups, TheSpoolerMethodSetsTheServerDefault) {
    EXPECT_TRUE(printers.setSpoolerDefault("KaviB"));
    EXPECT_EQ(QString::fromUtf8(cupsGetDefault2(CUPS_HTTP_DEFAULT)), "KaviB");
    EXPECT_FALSE(QFile::exists(cups->userOptionsFile())) << "the user's own settings are not touched";
    EXPECT_FALSE(printers.setSpoolerDefault("NoSuchQueue"));
    EXPECT_TRUE(printers.setSpoolerDefault("KaviA"));
    EXPECT_EQ(deviceNameOfEntry(printers.defaultPrinterEntry()), "KaviA");
}

TEST_F(PrintThroughCups, AJobWhoseDocumentBreaksOffIsCancelledAndAnUnknownQueueRefused) {
    const bool sent = printPdfJob("KaviA", "broken", {{"print-scaling", "none"}}, [](const pdf::Sink& sink) {
        return sink("%PDF-1.4\n", 9) && false; // the document cannot be finished
    });
    EXPECT_FALSE(sent);
    ASSERT_TRUE(cups->waitForJobs());
    EXPECT_EQ(cups->lastJobAttribute("job-state"), "canceled");
    EXPECT_FALSE(QFile::exists(cups->jobFile("KaviA"))) << "nothing of a broken document is printed";

    const int before = cups->completedJobs();
    EXPECT_FALSE(printPdfJob("NoSuchQueue", "lost", {}, [](const pdf::Sink&) { return true; }));
    EXPECT_EQ(cups->completedJobs(), before);
}

TEST_F(PrintThroughCups, LandscapeCoversAreTurnedOnceByTheFilterChainFromThePrintableCorner) {
    ASSERT_TRUE(cups->addQueue("KaviFiltered", KAVI_FILTERED_PPD));
    writeFile(cups->userOptionsFile(), "Default KaviFiltered\n");
    const struct {
        int kind;
        double longSide, shortSide, sheetHeight;
    } rows[] = {{4, 10.6875, 7.125, 14}, {6, 8.25, 6.625, 11}, {7, 10.87, 4.57, 14}};
    for (const auto& row : rows) {
        QFile::remove(cups->jobFile("KaviFiltered"));
        PrintSelection s;
        s.ticked[std::size_t(row.kind - 1)] = true;
        s.pictures[std::size_t(row.kind - 1)] = markedPicture(400, 200, "cover");
        print(s);
        EXPECT_EQ(cups->lastJobAttribute("orientation-requested"), "landscape") << row.kind;
        EXPECT_EQ(cups->lastJobAttribute("landscape"), "") << "no empty landscape option, which CUPS reads as false";

        // The filter lays the landscape page onto the portrait sheet with a quarter turn: the
        // cover's top-left corner (the red quarter) lies at the sheet's bottom-left, the portrait
        // printable corner's turn (10 pt in from the left, 20 pt up from the bottom).
        const QImage page = renderPdfPage(cups->jobFile("KaviFiltered"), 1, kDpi);
        ASSERT_FALSE(page.isNull()) << row.kind;
        EXPECT_NEAR(inches(page.width()), 8.5, kTolerance) << row.kind;
        EXPECT_NEAR(inches(page.height()), row.sheetHeight, kTolerance) << row.kind;
        const QRect box = inkBox(page), red = redBox(page);
        EXPECT_NEAR(inches(box.left()), 10 / 72.0, kTolerance) << row.kind;
        EXPECT_NEAR(inches(box.bottom() + 1), row.sheetHeight - 20 / 72.0, kTolerance) << row.kind;
        EXPECT_NEAR(inches(box.width()), row.shortSide, kTolerance) << row.kind;
        EXPECT_NEAR(inches(box.height()), row.longSide, kTolerance) << row.kind;
        EXPECT_NEAR(red.left(), box.left(), 2) << "turned once, the right way: kind " << row.kind;
        EXPECT_NEAR(red.bottom(), box.bottom(), 2) << row.kind;
        EXPECT_NEAR(inches(red.height()), row.longSide / 4, 0.03) << row.kind; // its edge is blended
    }
    EXPECT_TRUE(cups->removeQueue("KaviFiltered"));
}

TEST_F(PrintThroughCups, AnUnreachablePrintServiceIsNotTakenForNoPrinter) {
    const QByteArray server = qgetenv("CUPS_SERVER");
    const QByteArray nowhere = QFileInfo(cups->home()).absolutePath().toUtf8() + "/no-such-cups.sock";
    qputenv("CUPS_SERVER", nowhere);
    cupsSetServer(nullptr);
    EXPECT_FALSE(printers.printService().reachable);
    PrintSelection s;
    s.ticked[3] = true;
    s.pictures[3] = darkPicture(100, 60, "Image4");
    doubles.messages.answers = {MsgResult::No};
    printCovers(platform, s);
    qputenv("CUPS_SERVER", server);
    cupsSetServer(nullptr);

    ASSERT_EQ(doubles.messages.shown.size(), 1u);
    const QString text = doubles.messages.shown[0].text;
    EXPECT_TRUE(text.startsWith("The print service cannot be reached")) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8(nowhere))) << "the server is named";
    EXPECT_TRUE(printers.printService().reachable) << "the private server again";
    EXPECT_FALSE(printers.installedPrinters().empty());
}

// The built program, started from a folder of its own (its settings live beside it), under the
// offscreen platform, with this private server.
TEST_F(PrintThroughCups, KaviStoppedBySigtermPutsTheDefaultBackAndWritesItsSettings) {
    QTemporaryDir programDir;
    const QString kavi = programDir.filePath("kavi");
    ASSERT_TRUE(QFile::copy(KAVI_EXECUTABLE, kavi));
    QFile::setPermissions(kavi, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // A killed Kavi left KaviB as the user's default, and its record says KaviA was theirs.
    QProcess killed;
    killed.start("sleep", {"600"});
    ASSERT_TRUE(killed.waitForStarted());
    const auto dead = processIdentity(killed.processId());
    killed.kill();
    killed.waitForFinished();
    ASSERT_TRUE(dead);
    TemporaryPrinterRecord left;
    left.owner = *dead;
    left.original = {true, "KaviA", "Kavi Pass-through PDF", "file://" + cups->jobFile("KaviA"), "KaviA", {}, {}, {}};
    const QString record = programDir.filePath("kavi4-printer-restore.txt");
    writeFile(record, formatTemporaryPrinterRecord(left));
    writeFile(cups->userOptionsFile(), "Default KaviB\n");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // A folder of its own for recovery copies: one left by another program's run would be offered at start.
    env.insert("XDG_DATA_HOME", programDir.filePath("data"));
    {
        // Stopped during the splash (once it watches for the signal): it just ends, cleanly.
        QProcess early;
        early.setProcessEnvironment(env);
        early.setProcessChannelMode(QProcess::ForwardedChannels);
        early.start(kavi, {});
        ASSERT_TRUE(early.waitForStarted());
        const QString status = QStringLiteral("/proc/%1/status").arg(early.processId());
        auto catchesSigterm = [&status] {
            const QString caught = readAll(status).section("SigCgt:", 1).section('\n', 0, 0).trimmed();
            return (caught.toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1u;
        };
        for (int attempt = 0; attempt < 2400 && !catchesSigterm(); ++attempt) QThread::msleep(5);
        ASSERT_TRUE(catchesSigterm());
        ASSERT_EQ(::kill(pid_t(early.processId()), SIGTERM), 0);
        ASSERT_TRUE(early.waitForFinished(120000));
        EXPECT_EQ(early.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(early.exitCode(), 0);
        QFile::remove(programDir.filePath("kavi4.ini"));
        if (!QFile::exists(record)) writeFile(record, formatTemporaryPrinterRecord(left)); // a slow splash ended
        writeFile(cups->userOptionsFile(), "Default KaviB\n");
    }

    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(kavi, {});
    ASSERT_TRUE(program.waitForStarted());
    // The main window's start-up (after the splash) puts the user's default back first.
    for (int attempt = 0; attempt < 2400 && QFile::exists(record); ++attempt) QThread::msleep(50);
    ASSERT_FALSE(QFile::exists(record)) << "the record was not taken up at start";
    EXPECT_EQ(readAll(cups->userOptionsFile()).trimmed(), "Default KaviA");

    // The user changes the default during the run (lpoptions -d KaviB): Kavi never set a printer
    // itself, so that choice stands when it ends.
    writeFile(cups->userOptionsFile(), "Default KaviB\n");
    ASSERT_EQ(::kill(pid_t(program.processId()), SIGTERM), 0);
    ::kill(pid_t(program.processId()), SIGTERM); // a second one while it ends changes nothing
    ASSERT_TRUE(program.waitForFinished(120000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(readAll(cups->userOptionsFile()).trimmed(), "Default KaviB");
    EXPECT_TRUE(QFile::exists(programDir.filePath("kavi4.ini"))) << "the settings were written";
}

TEST_F(PrintThroughCups, TheCalibrationJobHasItsSquareAtThirtyMillimetresOnBothPages) {
    ASSERT_TRUE(printCalibrationJob(printer, PaperChoice::LetterAndLegal));
    ASSERT_TRUE(cups->waitForJobs());
    const QString pdf = cups->jobFile("KaviA");
    const auto sizes = pdfPageSizes(pdf);
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_NEAR(sizes[0].width(), 612, 0.5);
    EXPECT_NEAR(sizes[1].width(), 792, 0.5) << "the second page is sideways";
    const double mm = 1 / 25.4;
    for (int page = 1; page <= 2; ++page) {
        // Away from the rulers (within 20 mm of the paper's top and left edges), only the square is drawn.
        const int from = int(25 * mm * kDpi);
        const QImage rendered = renderPdfPage(pdf, page, kDpi);
        const QRect square = inkBox(rendered.copy(from, from, int(110 * mm * kDpi), int(110 * mm * kDpi)));
        EXPECT_NEAR(inches(from + square.left()), 30 * mm, kTolerance) << page;
        EXPECT_NEAR(inches(from + square.top()), 30 * mm, kTolerance) << page;
        EXPECT_NEAR(inches(square.width()), 100 * mm, kTolerance) << page;
        EXPECT_NEAR(inches(square.height()), 100 * mm, kTolerance) << page;
    }
}

// kavi-cover, copied into a folder of its own with a settings file in which KaviB is calibrated.
// The window's print command and kavi-cover on a saved set of the same covers (a DVD from a JPEG
// file with a title over it) send the same job, byte for byte.
TEST_F(PrintThroughCups, KaviCoverSendsTheJobThePrintCommandSendsForTheSameCovers) {
    QTemporaryDir programDir; // kavi-cover beside a settings file of its own: no calibration
    const QString tool = programDir.filePath("kavi-cover");
    ASSERT_TRUE(QFile::copy(KAVI_COVER_EXECUTABLE, tool));
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString jpeg = programDir.filePath("dvd.jpg");
    QImage photo(400, 260, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x) photo.setPixel(x, y, qRgb(x * 255 / 400, 60, y * 255 / 260));
    ASSERT_TRUE(photo.save(jpeg, "JPEG", 85));
    PictureLoad picked = loadPictureFile(jpeg);
    CoverDocument covers;
    covers.setPickedPicture(Kind(4), picked.picture, picked.originalJpeg);
    CoverText title = emptyCoverText(4);
    title.title.text = "Same job";
    covers.setText(Kind(4), title);
    covers.setTicked(Kind(4), true);
    const QString set = programDir.filePath("dvd.kavi");
    ASSERT_EQ(saveCoverSetFile(set, covers.toCoverSet()), 0);
    const auto bytesOf = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };

    QFile::remove(cups->jobFile("KaviA"));
    print(printSelectionOf(covers));
    const QByteArray fromWindow = bytesOf(cups->jobFile("KaviA"));
    ASSERT_FALSE(fromWindow.isEmpty());
    EXPECT_GE(fromWindow.indexOf(picked.originalJpeg), 0) << "the JPEG file goes in as it is";
    QFile::remove(cups->jobFile("KaviA"));
    QProcess p;
    p.start(tool, {"--print", set});
    ASSERT_TRUE(p.waitForFinished(120000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    ASSERT_TRUE(cups->waitForJobs());
    EXPECT_TRUE(bytesOf(cups->jobFile("KaviA")) == fromWindow) << "the same covers, the same job";
}

TEST_F(PrintThroughCups, KaviCoverPrintsWithTheQueuesCalibrationAndTheUncalibratedQueueAsBefore) {
    QTemporaryDir programDir;
    const QString tool = programDir.filePath("kavi-cover");
    ASSERT_TRUE(QFile::copy(KAVI_COVER_EXECUTABLE, tool));
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString ini = programDir.filePath("kavi4.ini");
    const Calibration portrait{3, 2, 102, 98}, landscape{4, 5, 99, 101};
    ASSERT_TRUE(writeCalibration(ini, "KaviB", Orientation::Portrait, portrait));
    ASSERT_TRUE(writeCalibration(ini, "KaviB", Orientation::Landscape, landscape));
    const QString picture = programDir.filePath("cover.png");
    ASSERT_TRUE(darkPicture(300, 200, "cover").save(picture));
    const auto run = [&](const QStringList& args) {
        QProcess p;
        p.start(tool, args);
        EXPECT_TRUE(p.waitForFinished(120000));
        return std::pair{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                         QString::fromLocal8Bit(p.readAllStandardError())};
    };
    const double mm = 1 / 25.4;
    // Front (Letter, portrait, corner 10 and 40 pt) and DVD (Legal, landscape, corner 20 and 10 pt).
    const struct {
        const char* kind;
        double left, top, width, height;
        const Calibration* c;
    } pages[] = {{"front", 10 / 72.0, 40 / 72.0, 4.75, 4.75, &portrait},
                 {"dvd", 20 / 72.0, 10 / 72.0, 10.6875, 7.125, &landscape}};
    for (const auto& page : pages) {
        for (const QString queue : {"KaviA", "KaviB"}) {
            QFile::remove(cups->jobFile(queue));
            // KaviA is the default: plain --print goes there.
            const auto [status, errors] =
                run({queue == "KaviA" ? "--print" : "--print=KaviB", QString(page.kind) + "=" + picture});
            ASSERT_EQ(status, 0) << errors.toStdString();
            ASSERT_TRUE(cups->waitForJobs());
            EXPECT_EQ(cups->lastJobAttribute("print-scaling"), "none");
            const QRect box = inkBox(renderPdfPage(cups->jobFile(queue), 1, kDpi));
            const Calibration c = queue == "KaviB" ? *page.c : Calibration{};
            EXPECT_NEAR(inches(box.left()), page.left * c.scaleXPercent / 100 + c.offsetXMillimetres * mm, kTolerance)
                << page.kind << " " << queue.toStdString();
            EXPECT_NEAR(inches(box.top()), page.top * c.scaleYPercent / 100 + c.offsetYMillimetres * mm, kTolerance)
                << page.kind << " " << queue.toStdString();
            EXPECT_NEAR(inches(box.width()), page.width * c.scaleXPercent / 100, kTolerance) << page.kind;
            EXPECT_NEAR(inches(box.height()), page.height * c.scaleYPercent / 100, kTolerance) << page.kind;
        }
    }
    EXPECT_FALSE(QFile::exists(cups->userOptionsFile())) << "--print=KaviB leaves the default alone";
    EXPECT_EQ(deviceNameOfEntry(printers.defaultPrinterEntry()), "KaviA");

    // An offset on the command line replaces the stored calibration.
    QFile::remove(cups->jobFile("KaviB"));
    ASSERT_EQ(run({"--print=KaviB", "--offset", "0,0", "front=" + picture}).first, 0);
    ASSERT_TRUE(cups->waitForJobs());
    const QRect plain = inkBox(renderPdfPage(cups->jobFile("KaviB"), 1, kDpi));
    EXPECT_NEAR(inches(plain.left()), 10 / 72.0, kTolerance);
    EXPECT_NEAR(inches(plain.width()), 4.75, kTolerance);

    const int before = cups->completedJobs();
    const auto [status, errors] = run({"--print=NoSuchQueue", "front=" + picture});
    EXPECT_EQ(status, 1);
    EXPECT_EQ(errors, "kavi-cover: there is no printer queue named \"NoSuchQueue\"\n");
    ASSERT_TRUE(cups->waitForJobs());
    EXPECT_EQ(cups->completedJobs(), before);
}

TEST_F(PrintThroughCups, WithNoQueueLeftTheJobCanBeSavedAsAPdf) {
    // Runs last: it takes the queues away.
    ASSERT_TRUE(cups->removeQueue("KaviA"));
    ASSERT_TRUE(cups->removeQueue("KaviB"));
    QTemporaryDir out;
    PrintSelection s;
    s.ticked[8] = true;
    s.pictures[8] = darkPicture(150, 84, "Image9");
    doubles.messages.answers = {MsgResult::Yes};
    doubles.saveDialog.answers = {{true, out.filePath("hd.pdf"), 0}};
    printCovers(platform, s);
    EXPECT_TRUE(printers.printService().reachable) << "a server without queues";
    ASSERT_EQ(doubles.messages.shown.size(), 1u);
    EXPECT_TRUE(doubles.messages.shown[0].text.startsWith("No printer is installed."));
    const auto sizes = pdfPageSizes(out.filePath("hd.pdf"));
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_NEAR(sizes[0].width(), 792, 0.5); // Letter landscape
    // A file has no margins: the cover is centred on the sheet.
    const QRect box = inkBox(renderPdfPage(out.filePath("hd.pdf"), 1, kDpi));
    EXPECT_NEAR(inches(box.left()), (11 - 10.5) / 2, kTolerance);
    EXPECT_NEAR(inches(box.top()), (8.5 - 5.875) / 2, kTolerance);
    EXPECT_NEAR(inches(box.width()), 10.5, kTolerance);
    EXPECT_NEAR(inches(box.height()), 5.875, kTolerance);
}
