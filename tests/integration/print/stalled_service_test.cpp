// SPDX-License-Identifier: GPL-3.0-or-later
// A print service that stops answering: the private cupsd frozen with SIGSTOP keeps its socket, so
// connections succeed, but no question gets an answer. Print then says that the service cannot be
// reached, naming it, instead of freezing the window; every other question answers "unreachable"
// at once; a job cut off by the freeze leaves nothing behind; and after SIGCONT the next Print
// works and no message blames the default printer.
#include "output/print/cover_printing.h"
#include "platform/print/cups_call.h"
#include "platform/print/cups_job.h"
#include "platform/print/printer.h"
#include "tests/integration/print/private_cups.h"
#include "tests/output/print/pdf_probe.h"
#include "tests/support/process_events.h"
#include "tests/support/test_platform.h"

#include <QFile>
#include <QTimer>
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace kavi;
using namespace kavi::testing;

namespace {

// Lets the frozen server go on should the code under test wait on it past the test's own deadline,
// so that a regression fails the test instead of hanging the run.
class HangGuard {
public:
    explicit HangGuard(PrivateCups& cups)
        : thread_([this, &cups] {
              std::unique_lock lock(mutex_);
              if (!ended_.wait_for(lock, std::chrono::milliseconds(kEventWaitDeadlineMs / 2),
                                   [this] { return finished_; })) {
                  tripped = true;
                  cups.resume();
              }
          }) {}
    ~HangGuard() { finish(); }
    void finish() {
        {
            const std::lock_guard lock(mutex_);
            finished_ = true;
        }
        ended_.notify_all();
        if (thread_.joinable()) thread_.join();
    }
    std::atomic<bool> tripped{false};

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool finished_ = false;
    std::thread thread_;
};

class StalledService : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cups = new PrivateCups;
        if (cups->failure().isEmpty() &&
            !(cups->addQueue("Desk", KAVI_PASSTHROUGH_PPD) && cups->setServerDefault("Desk")))
            queueFailure = "the test queue could not be added";
    }
    static void TearDownTestSuite() {
        delete cups;
        cups = nullptr;
    }
    void SetUp() override {
        if (!cups->failure().isEmpty()) GTEST_SKIP() << "CUPS cannot start here: " << cups->failure().toStdString();
        ASSERT_TRUE(queueFailure.empty()) << queueFailure;
        QFile::remove(cups->jobFile("Desk"));
        selection.ticked[3] = true;
        selection.pictures[3] = darkPicture(120, 80, "Image4");
    }
    void TearDown() override {
        if (!cups->failure().isEmpty()) return;
        cups->resume();
        processEventsUntil([] { return !printServiceHanging(); });
    }

    static PrivateCups* cups;
    static std::string queueFailure;
    TestPlatform doubles;
    CupsPrinters printers;
    CupsPrinterObject printer{printers};
    Platform platform{doubles.messages, doubles.saveDialog, doubles.shell,         doubles.help,  doubles.tray,
                      doubles.screen,   doubles.facts,      doubles.http,          doubles.sound, doubles.systemColors,
                      doubles.desktop,  doubles.scanner,    doubles.imageEncoders, printers,      printer};
    PrintSelection selection;
};

PrivateCups* StalledService::cups = nullptr;
std::string StalledService::queueFailure;

} // namespace

TEST_F(StalledService, PrintSaysTheServiceCannotBeReachedWhileTheWindowGoesOnAndWorksAfterSigcont) {
    cups->pause();
    bool eventHandled = false;
    QTimer::singleShot(0, [&eventHandled] { eventHandled = true; }); // comes while Kavi waits
    HangGuard guard(*cups);
    doubles.messages.answers = {MsgResult::No}; // no PDF instead
    const PrintOutcome outcome = printCovers(platform, selection);
    guard.finish();
    EXPECT_FALSE(guard.tripped) << "Print waited on the frozen server";
    EXPECT_TRUE(eventHandled) << "the window's events were held up while Kavi waited";
    EXPECT_FALSE(outcome.sent);
    ASSERT_EQ(doubles.messages.shown.size(), 1u);
    const QString text = doubles.messages.shown[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("The print service cannot be reached (CUPS at %1)")
                                    .arg(QString::fromUtf8(qgetenv("CUPS_SERVER")))))
        << text.toStdString();

    // While the first question still waits, every other one answers at once, and nothing changes.
    HangGuard again(*cups);
    EXPECT_TRUE(printServiceHanging());
    EXPECT_TRUE(printers.installedPrinters().empty());
    EXPECT_EQ(printers.defaultPrinterEntry(), "");
    EXPECT_EQ(printers.printerPortsEntry("Desk"), "");
    EXPECT_FALSE(printers.writeDefaultPrinterEntry("Desk,x,y"));
    EXPECT_FALSE(printers.setSpoolerDefault("Desk"));
    EXPECT_FALSE(printers.printService().reachable);
    EXPECT_FALSE(printer.printableArea(Paper::Legal, Orientation::Landscape));
    again.finish();
    EXPECT_FALSE(again.tripped);
    EXPECT_FALSE(QFile::exists(cups->userOptionsFile()));

    cups->resume();
    ASSERT_TRUE(processEventsUntil([] { return !printServiceHanging(); }));
    doubles.messages.shown.clear();
    doubles.messages.answers = {MsgResult::Ok}; // the paper question
    const PrintOutcome next = printCovers(platform, selection);
    EXPECT_TRUE(next.sent);
    EXPECT_EQ(next.printer, "Desk");
    ASSERT_TRUE(cups->waitForJobs());
    EXPECT_EQ(pdfPageSizes(cups->jobFile("Desk")).size(), 1u);
}

TEST_F(StalledService, AServiceThatAnswersAgainIsNotTakenForOneWithoutADefault) {
    cups->pause();
    HangGuard guard(*cups);
    EXPECT_FALSE(printer.setFollowDefault(true)) << "no default could be read from the frozen server";
    guard.finish();
    EXPECT_FALSE(guard.tripped);
    cups->resume();
    ASSERT_TRUE(processEventsUntil([] { return !printServiceHanging(); }));
    const QString why = whyNoPrinter(printers);
    EXPECT_TRUE(why.startsWith("The print service cannot be reached")) << why.toStdString();
    EXPECT_TRUE(printer.setFollowDefault(true));
}

TEST_F(StalledService, AJobCutOffByAFrozenServiceIsCancelledOnceItAnswersAgain) {
    ASSERT_TRUE(cups->activeJobs().empty());
    HangGuard guard(*cups);
    const bool sent = printPdfJob("Desk", "Kavi covers", {}, [](const pdf::Sink& sink) {
        const QByteArray chunk(64 * 1024, ' ');
        for (int i = 0; i < 400; ++i) {
            if (i == 2) cups->pause();
            if (!sink(chunk.constData(), std::size_t(chunk.size()))) return false;
        }
        return true;
    });
    guard.finish();
    EXPECT_FALSE(guard.tripped);
    EXPECT_FALSE(sent);
    cups->resume();
    // Once the service answers, nothing of the cut-off send is left.
    ASSERT_TRUE(processEventsUntil([] { return !printServiceHanging(); }));
    EXPECT_TRUE(printers.printService().reachable);
    EXPECT_TRUE(cups->activeJobs().empty()) << "a job of the cut-off send is still waiting in the queue";

    // Frozen before the job is even created: the server takes the request once it runs again and
    // holds an empty job whose number Kavi never heard. The next job finds and cancels it.
    cups->pause();
    HangGuard before(*cups);
    EXPECT_FALSE(printPdfJob("Desk", "Kavi covers", {}, [](const pdf::Sink&) { return true; }));
    before.finish();
    EXPECT_FALSE(before.tripped);
    cups->resume();
    ASSERT_TRUE(processEventsUntil([] { return !printServiceHanging() && !cups->activeJobs().empty(); }))
        << "the request was taken late";
    const int empty = cups->activeJobs().front();
    EXPECT_TRUE(printPdfJob("Desk", "Kavi covers", {}, [](const pdf::Sink& sink) {
        const QByteArray pdf = "%PDF-1.4\n%%EOF\n";
        return sink(pdf.constData(), std::size_t(pdf.size()));
    }));
    EXPECT_EQ(cups->jobState(empty), IPP_JSTATE_CANCELED) << "the empty job is still held";
}
