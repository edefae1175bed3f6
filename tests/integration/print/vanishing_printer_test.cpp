// SPDX-License-Identifier: GPL-3.0-or-later
// Printers that go away under Kavi, through a private CUPS server: the queue chosen in the printer
// chooser deleted, stopped or refusing jobs before the covers are printed, and the server itself
// stopped while a job is being sent (last, since it takes the server away). Each ends with a
// clear message or a job that waits in its queue; the window stays usable and keeps its pictures.
#include "app/main_window.h"
#include "app/picture_slot.h"
#include "output/print/cover_printing.h"
#include "output/print/printer_chooser.h"
#include "platform/print/cups_job.h"
#include "tests/integration/print/private_cups.h"
#include "tests/output/print/pdf_probe.h"
#include "tests/support/test_platform.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <cups/cups.h>
#include <gtest/gtest.h>

using namespace kavi;
using namespace kavi::testing;

namespace {

class VanishingPrinter : public ::testing::Test {
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
        QFile::remove(cups->userOptionsFile());
        QFile::remove(cups->home() + "/kavi4.ini");
        window.settingsFile = cups->home() + "/kavi4.ini";
        window.Form_Load();
    }
    void TearDown() override {
        if (!cups->failure().isEmpty()) return;
        window.Form_Unload();
    }

    // Chooses the queue in the printer chooser, as the user would.
    void choose(const QString& queue) {
        window.A_Click();
        PrinterChooser* chooser = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<PrinterChooser*>(w); f && f->isVisible()) chooser = f;
        ASSERT_NE(chooser, nullptr);
        const auto found = chooser->List1->findItems(queue, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << queue.toStdString();
        found[0]->setSelected(true);
        chooser->Command1->click();
        doubles.messages.shown.clear();
    }

    // Ticks DVD with a picture and presses Print, answering OK to the paper question and No to
    // saving as a PDF instead; returns the texts of the messages shown.
    QStringList printDvd() {
        window.Image(4)->setPicture(picture);
        if (!window.Check(4)->isChecked()) window.Check(4)->click();
        doubles.messages.answers = {MsgResult::Ok, MsgResult::No, MsgResult::Ok};
        window.cmdPrint->click();
        QStringList texts;
        for (const MessageRequest& m : doubles.messages.shown) texts << m.text;
        doubles.messages.shown.clear();
        return texts;
    }

    void expectUsableWithPictureKept() {
        EXPECT_TRUE(window.isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(window.Image(4)->picture(), picture);
        EXPECT_TRUE(window.cmdPrint->isEnabled());
    }

    static PrivateCups* cups;
    static std::string queueFailure;
    TestPlatform doubles;
    CupsPrinters printers;
    CupsPrinterObject printer{printers};
    Platform platform{doubles.messages, doubles.saveDialog, doubles.shell,         doubles.help,  doubles.tray,
                      doubles.screen,   doubles.facts,      doubles.http,          doubles.sound, doubles.systemColors,
                      doubles.desktop,  doubles.scanner,    doubles.imageEncoders, printers,      printer};
    MainWindow window{platform};
    const QImage picture = darkPicture(120, 80, "Image4");
};

PrivateCups* VanishingPrinter::cups = nullptr;
std::string VanishingPrinter::queueFailure;

bool anyStartsWith(const QStringList& texts, const QString& start) {
    return std::any_of(texts.begin(), texts.end(), [&](const QString& t) { return t.startsWith(start); });
}

} // namespace

TEST_F(VanishingPrinter, AChosenQueueDeletedBeforePrintingPrintsNowhereElseAndSaysSo) {
    ASSERT_TRUE(cups->addQueue("Gone", KAVI_PASSTHROUGH_PPD));
    choose("Gone");
    ASSERT_TRUE(cups->removeQueue("Gone"));
    const int before = cups->completedJobs();
    const QStringList texts = printDvd();
    ASSERT_TRUE(cups->waitForJobs());
    EXPECT_EQ(cups->completedJobs(), before) << "the job went to another printer than the one chosen";
    EXPECT_FALSE(QFile::exists(cups->jobFile("Desk")));
    EXPECT_TRUE(anyStartsWith(texts, "None of the installed printers is the default printer."))
        << texts.join('|').toStdString();
    expectUsableWithPictureKept();
}

TEST_F(VanishingPrinter, AQueueDeletedWhileTheChooserShowsItCannotBeChosen) {
    ASSERT_TRUE(cups->addQueue("Brief", KAVI_PASSTHROUGH_PPD));
    window.A_Click();
    PrinterChooser* chooser = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<PrinterChooser*>(w); f && f->isVisible()) chooser = f;
    ASSERT_NE(chooser, nullptr);
    const auto found = chooser->List1->findItems("Brief", Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    ASSERT_TRUE(cups->removeQueue("Brief"));
    found[0]->setSelected(true);
    chooser->Command1->click();
    ASSERT_EQ(doubles.messages.shown.size(), 1u);
    EXPECT_EQ(doubles.messages.shown[0].text, "Brief has failed to be set as the temporary printer.");
    EXPECT_TRUE(chooser->isVisible()) << "the chooser stays to choose another";
    EXPECT_FALSE(QFile::exists(cups->userOptionsFile())) << "the user's default is not changed";
    chooser->close();
}

TEST_F(VanishingPrinter, AQueueThatRefusesJobsSaysTheCoversWereNotSent) {
    ASSERT_TRUE(cups->addQueue("Refusing", KAVI_PASSTHROUGH_PPD));
    choose("Refusing");
    ASSERT_TRUE(cups->rejectJobs("Refusing"));
    const QStringList texts = printDvd();
    EXPECT_TRUE(anyStartsWith(texts, "The covers could not be sent to Refusing.")) << texts.join('|').toStdString();
    expectUsableWithPictureKept();
    ASSERT_TRUE(cups->removeQueue("Refusing"));
}

TEST_F(VanishingPrinter, AStoppedQueueKeepsTheJobUntilItIsStartedAgain) {
    ASSERT_TRUE(cups->addQueue("Paused", KAVI_PASSTHROUGH_PPD));
    choose("Paused");
    ASSERT_TRUE(cups->stopQueue("Paused"));
    const QStringList texts = printDvd();
    EXPECT_FALSE(anyStartsWith(texts, "The covers could not be sent")) << "the queue took the job";
    EXPECT_FALSE(QFile::exists(cups->jobFile("Paused")));
    ASSERT_TRUE(cups->startQueue("Paused"));
    ASSERT_TRUE(cups->waitForJobs());
    EXPECT_EQ(pdfPageSizes(cups->jobFile("Paused")).size(), 1u) << "the waiting job prints once the queue starts";
    expectUsableWithPictureKept();
    ASSERT_TRUE(cups->removeQueue("Paused"));
}

TEST_F(VanishingPrinter, AServerStoppedWhileAJobIsSentEndsTheJobAndTheNextPrintSaysWhy) {
    // Runs last: it stops the server.
    int chunks = 0;
    const bool sent = printPdfJob("Desk", "interrupted", {}, [&](const pdf::Sink& sink) {
        const QByteArray chunk(64 * 1024, ' ');
        for (int i = 0; i < 200; ++i) {
            if (i == 2) cups->stop();
            if (!sink(chunk.constData(), std::size_t(chunk.size()))) return false;
            ++chunks;
        }
        return true;
    });
    EXPECT_FALSE(sent);
    EXPECT_LT(chunks, 200) << "writing went on into a server that was gone";
    const QStringList texts = printDvd();
    EXPECT_TRUE(anyStartsWith(texts, "The print service cannot be reached")) << texts.join('|').toStdString();
    expectUsableWithPictureKept();
}
