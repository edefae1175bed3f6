// SPDX-License-Identifier: GPL-3.0-or-later
// The print choices through a private CUPS server whose queues write each job to a file through the
// pass-through PPD (portrait margins left 10, top 40, right 30, bottom 20 points): Print To... a
// second queue leaves the default where it was before, during and after the job and uses that
// queue's calibration; a stopped queue shows as stopped; and kavi-cover's placements and Legal
// sheet measured at 600 dpi, every cut mark on the page where the cover leaves room for it.
#include "covers/cut_marks.h"
#include "output/print/print_layout_settings.h"
#include "output/print/print_to.h"
#include "platform/print/cups_printers.h"
#include "platform/print/printer.h"
#include "tests/integration/print/private_cups.h"
#include "tests/output/print/pdf_probe.h"
#include "tests/support/test_platform.h"

#include <QFile>
#include <QImageReader>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kavi;
using namespace kavi::testing;

namespace {

constexpr int kDpi = 600;
constexpr double kTolerance = 0.005; // inches

QString lpstatDefault() {
    QProcess p;
    p.start("lpstat", {"-d"});
    p.waitForFinished(-1);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// The box of the pixels darker than mid-grey, in inches, read off the rows directly.
QRectF inkInches(const QImage& page) {
    const QImage grey = page.convertToFormat(QImage::Format_Grayscale8);
    int left = grey.width(), top = grey.height(), right = -1, bottom = -1;
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            if (row[x] < 128) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    }
    if (right < 0) return {};
    return {left / double(kDpi), top / double(kDpi), (right + 1 - left) / double(kDpi),
            (bottom + 1 - top) / double(kDpi)};
}

// The box of the cover's dark blue (the marks are black, the paper white).
QRectF blueInches(const QImage& page) {
    int left = page.width(), top = page.height(), right = -1, bottom = -1;
    const QImage rgb = page.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            if (qBlue(row[x]) > 60 && qRed(row[x]) < 60) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    }
    if (right < 0) return {};
    return {left / double(kDpi), top / double(kDpi), (right + 1 - left) / double(kDpi),
            (bottom + 1 - top) / double(kDpi)};
}

void expectRect(const QRectF& got, double left, double top, double width, double height, const std::string& what) {
    EXPECT_NEAR(got.left(), left, kTolerance) << what;
    EXPECT_NEAR(got.top(), top, kTolerance) << what;
    EXPECT_NEAR(got.width(), width, kTolerance) << what;
    EXPECT_NEAR(got.height(), height, kTolerance) << what;
}

// Looks at the system default each time a message is shown, then answers as the script says.
class WatchingMessages final : public MessageBoxes {
public:
    explicit WatchingMessages(MessageBoxes& inner) : inner_(inner) {}
    MsgResult show(const MessageRequest& request) override {
        defaultSeen = lpstatDefault();
        return inner_.show(request);
    }
    QString defaultSeen;

private:
    MessageBoxes& inner_;
};

class PrintChoicesThroughCups : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cups = new PrivateCups;
        if (!cups->failure().isEmpty()) return;
        if (!cups->addQueue("Front", KAVI_PASSTHROUGH_PPD) || !cups->addQueue("Second", KAVI_PASSTHROUGH_PPD) ||
            !cups->addQueue("Halted", KAVI_PASSTHROUGH_PPD) || !cups->setServerDefault("Front") ||
            !cups->stopQueue("Halted"))
            queueFailure = "the test queues could not be set up";
    }
    static void TearDownTestSuite() {
        delete cups;
        cups = nullptr;
    }
    void SetUp() override {
        if (!cups->failure().isEmpty())
            GTEST_SKIP() << "CUPS cannot start here, so printing is not tried: " << cups->failure().toStdString();
        ASSERT_TRUE(queueFailure.empty()) << queueFailure;
        QImageReader::setAllocationLimit(1024); // a Legal page at 600 dpi is over Qt's usual 256 MB limit
        QFile::remove(cups->jobFile("Front"));
        QFile::remove(cups->jobFile("Second"));
    }
    // Runs kavi-cover beside a settings file of its own; its status and what it wrote on stderr.
    std::pair<int, QString> runCoverTool(const QStringList& args) {
        const QString tool = programDir.filePath("kavi-cover");
        if (!QFile::exists(tool)) {
            QFile::copy(KAVI_COVER_EXECUTABLE, tool);
            QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        QProcess p;
        p.start(tool, args);
        p.waitForFinished(-1);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromLocal8Bit(p.readAllStandardError())};
    }
    QString coverPicture() {
        const QString path = programDir.filePath("cover.png");
        if (!QFile::exists(path)) darkPicture(300, 200, "cover").save(path);
        return path;
    }

    static PrivateCups* cups;
    static std::string queueFailure;
    QTemporaryDir programDir;
    TestPlatform doubles;
    CupsPrinters printers;
    CupsPrinterObject printer{printers};
    Platform platformWith(MessageBoxes& messages) {
        return {messages,        doubles.saveDialog, doubles.shell,         doubles.help,  doubles.tray,
                doubles.screen,  doubles.facts,      doubles.http,          doubles.sound, doubles.systemColors,
                doubles.desktop, doubles.scanner,    doubles.imageEncoders, printers,      printer};
    }
    Platform platform = platformWith(doubles.messages);
};

PrivateCups* PrintChoicesThroughCups::cups = nullptr;
std::string PrintChoicesThroughCups::queueFailure;

// The pass-through queue's printable area of a landscape page, turned from its portrait margins:
// left 20, top 10, right 40, bottom 30 points.
constexpr double kLandLeft = 20 / 72.0, kLandTop = 10 / 72.0;

} // namespace

TEST_F(PrintChoicesThroughCups, PrintToSendsTheJobToTheSecondQueueWithItsCalibrationAndTheDefaultNeverChanges) {
    const QString before = lpstatDefault();
    ASSERT_TRUE(before.endsWith("Front")) << before.toStdString();
    PrintSelection s;
    s.ticked[3] = true;
    s.pictures[3] = darkPicture(300, 200, "Image4");
    const Calibration second{3, 2, 100, 100};
    s.calibrationOf = [&](const QString& queue, Orientation) { return queue == "Second" ? second : Calibration{}; };
    // The paper question is asked once the job is laid out for Second: the default is looked at then too.
    WatchingMessages watch(doubles.messages);
    doubles.messages.answers = {MsgResult::Ok};
    printer.setFollowDefault(true); // as after an earlier Print: Print To... must not follow it
    Platform watched = platformWith(watch);
    const PrintOutcome outcome = printCoversTo(watched, s, "Second", 1);
    const QString duringQuestion = watch.defaultSeen;
    const QString whileQueued = lpstatDefault();
    ASSERT_TRUE(outcome.sent);
    EXPECT_EQ(outcome.printer, "Second");
    ASSERT_TRUE(cups->waitForJobs());
    EXPECT_EQ(duringQuestion, before);
    EXPECT_EQ(whileQueued, before);
    EXPECT_EQ(lpstatDefault(), before);
    EXPECT_FALSE(QFile::exists(cups->userOptionsFile())) << "no per-user default was written";
    EXPECT_FALSE(QFile::exists(cups->jobFile("Front")));
    ASSERT_TRUE(QFile::exists(cups->jobFile("Second")));
    // Second's calibration: 3 mm right and 2 mm down from its printable corner.
    const QRectF cover = blueInches(renderPdfPage(cups->jobFile("Second"), 1, kDpi));
    expectRect(cover, kLandLeft + 3 / 25.4, kLandTop + 2 / 25.4, 10.6875, 7.125, "the DVD on Second");

    // The next plain print goes to the default printer again, uncalibrated.
    doubles.messages.answers = {MsgResult::Ok};
    ASSERT_TRUE(printCovers(platform, s).sent);
    ASSERT_TRUE(cups->waitForJobs());
    ASSERT_TRUE(QFile::exists(cups->jobFile("Front")));
    expectRect(blueInches(renderPdfPage(cups->jobFile("Front"), 1, kDpi)), kLandLeft, kLandTop, 10.6875, 7.125,
               "the DVD on Front");
}

TEST_F(PrintChoicesThroughCups, AStoppedQueueIsShownAsStoppedAndRefused) {
    PrintToDialog dialog(platform, {});
    QStringList shown;
    for (int i = 0; i < dialog.lstPrinters->count(); ++i) shown << dialog.lstPrinters->item(i)->text();
    EXPECT_TRUE(shown.contains("Halted - stopped")) << shown.join(" | ").toStdString();
    EXPECT_TRUE(shown.contains("Front (default)")) << shown.join(" | ").toStdString();
    EXPECT_TRUE(shown.contains("Second")) << shown.join(" | ").toStdString();
    dialog.lstPrinters->setCurrentRow(int(shown.indexOf("Halted - stopped")));
    dialog.cmdPrint_Click();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_FALSE(doubles.messages.shown.empty());
    EXPECT_EQ(doubles.messages.shown.back().text,
              "Halted is stopped: it would keep the job without printing it. Please choose another printer.");
}

// The DVD on Legal sideways with marks, placed each way: the cover where the placement puts it, at
// its size, and the ink of its marks reaching out on every side where they are all on the page.
TEST_F(PrintChoicesThroughCups, EachPlacementPutsTheCoverWhereItSaysAndTheOtherTwoKeepEveryMark) {
    const double reach = (kMarkGap + kMarkLength).inches(), w = 10.6875, h = 7.125;
    const double half = kMarkWidth.inches() / 2;
    struct Case {
        const char* place;
        double left, top;
        bool allMarks;
    } cases[] = {{"corner", kLandLeft, kLandTop, false},
                 {"marks", kLandLeft + reach + half, kLandTop + reach + half, true},
                 {"centre", (14 - w) / 2, (8.5 - h) / 2, true}};
    for (const Case& c : cases) {
        QFile::remove(cups->jobFile("Second"));
        const auto [status, errors] =
            runCoverTool({"--print=Second", "--marks", "--place", c.place, "dvd=" + coverPicture()});
        ASSERT_EQ(status, 0) << errors.toStdString();
        ASSERT_TRUE(cups->waitForJobs());
        const QImage page = renderPdfPage(cups->jobFile("Second"), 1, kDpi);
        ASSERT_FALSE(page.isNull()) << c.place;
        expectRect(blueInches(page), c.left, c.top, w, h, c.place);
        const QRectF ink = inkInches(page);
        // Marks reach past the cover by their gap and length (their ends are cut square).
        const double out = reach;
        if (c.allMarks) {
            expectRect(ink, c.left - out, c.top - out, w + 2 * out, h + 2 * out, std::string(c.place) + " marks");
        } else {
            EXPECT_NEAR(ink.left(), c.left, kTolerance) << "no mark left of the cover at the corner";
            EXPECT_NEAR(ink.top(), c.top, kTolerance) << "no mark above it";
            EXPECT_NEAR(ink.right(), c.left + w + out, kTolerance) << "the marks right of it";
        }
    }
    EXPECT_TRUE(lpstatDefault().endsWith("Front"));
}

TEST_F(PrintChoicesThroughCups, HdDvdOnLegalFitsWhereLetterLosesPartOfIt) {
    const auto [status, errors] =
        runCoverTool({"--print=Second", "--sheet", "hd=legal", "--place", "marks", "hd=" + coverPicture()});
    ASSERT_EQ(status, 0) << errors.toStdString();
    EXPECT_FALSE(errors.contains("reaches")) << errors.toStdString();
    ASSERT_TRUE(cups->waitForJobs());
    const auto sizes = pdfPageSizes(cups->jobFile("Second"));
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_NEAR(sizes[0].width(), 1008, 0.5) << "Legal sideways";
    const double reach = (kMarkGap + kMarkLength + kMarkWidth / 2).inches();
    expectRect(blueInches(renderPdfPage(cups->jobFile("Second"), 1, kDpi)), kLandLeft + reach, kLandTop + reach, 10.5,
               5.875, "HD-DVD on Legal");
    // On Letter the queue's 40-point right margin cuts it.
    const auto [letterStatus, letterErrors] = runCoverTool({"--print=Second", "hd=" + coverPicture()});
    ASSERT_EQ(letterStatus, 0);
    EXPECT_TRUE(letterErrors.contains("HD-DVD reaches")) << letterErrors.toStdString();
    ASSERT_TRUE(cups->waitForJobs());
}
