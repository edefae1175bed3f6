// SPDX-License-Identifier: GPL-3.0-or-later
// The print command against the recording printer: every row of the single-kind and jewel-case
// tables, the paper question, Cancel, covers without a picture, failing steps and the no-printer
// PDF offer.
#include "covers/page_plan.h"
#include "output/print/cover_printing.h"
#include "tests/support/test_platform.h"

#include <QGuiApplication>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::TestPlatform;

namespace {

QImage namedPicture(int kind) {
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setText("slot", QStringLiteral("Image%1").arg(kind));
    return picture;
}

// Ticks the given kinds; every slot holds a picture unless listed as empty.
PrintSelection tick(std::initializer_list<int> kinds, std::initializer_list<int> empty = {}) {
    PrintSelection s;
    for (int n = 1; n <= 10; ++n) s.pictures[std::size_t(n - 1)] = namedPicture(n);
    for (int n : empty) s.pictures[std::size_t(n - 1)] = QImage();
    for (int n : kinds) s.ticked[std::size_t(n - 1)] = true;
    return s;
}

std::vector<QString> run(TestPlatform& t, const PrintSelection& s) {
    t.printers.install({"Office"});
    printCovers(t.platform, s);
    return t.printer.ops;
}

using Ops = std::vector<QString>;
const QString kLegal = "Please make sure your printer is on and you are using LEGAL sized paper!";
const QString kFull = "Please make sure your printer is on and full of paper.";

struct SingleRow {
    int kind;
    Ops ops;
    QString question;
};

// The plan's steps as the recording printer notes them, each cover drawn with its slot's picture.
Ops planOps(const PrintJob& job) {
    kavi::testing::RecordingPrinter printer;
    for (const PrintStep& step : printSteps(job)) {
        if (const auto* paper = std::get_if<SetPaper>(&step)) printer.setPaperSize(paper->paper);
        if (const auto* turn = std::get_if<SetOrientation>(&step)) printer.setOrientation(turn->orientation);
        if (const auto* draw = std::get_if<DrawCover>(&step))
            printer.drawPicture(namedPicture(draw->cover.kind), draw->cover.rect);
        if (std::holds_alternative<NewPage>(step)) printer.newPage();
        if (std::holds_alternative<EndDocument>(step)) printer.endDocument();
    }
    return printer.ops;
}

} // namespace

TEST(PrintCommand, EverySingleKindRunsItsStepsInOrder) {
    const std::vector<SingleRow> rows = {
        {4, {"paper 5", "orientation 2", "draw Image4 0,0 15390x10260", "end document", "paper 1"}, kLegal},
        {5, {"paper 1", "orientation 2", "draw Image5 0,0 4680x4968", "end document"}, kFull},
        {6, {"paper 1", "orientation 2", "draw Image6 0,0 11880x9540", "end document"}, kFull},
        {7, {"orientation 2", "paper 5", "draw Image7 0,0 15652.8x6580.8", "end document", "paper 1"}, kLegal},
        {8, {"paper 5", "orientation 2", "draw Image8 0,0 15030x10260", "end document", "paper 1"}, kLegal},
        {9, {"paper 1", "orientation 2", "draw Image9 0,0 15120x8460", "end document"}, kFull},
        {10, {"paper 1", "orientation 2", "draw Image10 0,0 15120x8460", "end document"}, kFull},
    };
    for (const SingleRow& row : rows) {
        TestPlatform t;
        Ops expected = {"follow 1"};
        expected.insert(expected.end(), row.ops.begin(), row.ops.end());
        EXPECT_EQ(run(t, tick({row.kind})), expected) << "kind " << row.kind;
        ASSERT_EQ(t.messages.shown.size(), 1u);
        const MessageRequest& q = t.messages.shown[0];
        EXPECT_EQ(q.text, row.question) << "kind " << row.kind;
        EXPECT_EQ(q.title, "Printing Covers");
        EXPECT_EQ(q.icon, MsgIcon::Information);
        EXPECT_EQ(q.buttons, MsgButtons::OkCancel);
        EXPECT_EQ(q.defaultButton, MsgDefault::First);
        EXPECT_EQ(t.printer.paperSize(), Paper::Letter) << "kind " << row.kind;
        EXPECT_EQ(t.printer.orientation(), Orientation::Landscape) << "kind " << row.kind;
    }
}

TEST(PrintCommand, TheFirstTickedSingleKindWins) {
    // The selection rules never allow two, but the branch order decides if they do.
    TestPlatform t;
    const Ops ops = run(t, tick({9, 6, 5}));
    EXPECT_EQ(ops.at(3), "draw Image5 0,0 4680x4968");
    EXPECT_EQ(ops.size(), 5u);
}

TEST(PrintCommand, EveryJewelCaseSumHasItsLayout) {
    const Ops head = {"follow 1", "paper 1", "orientation 1"};
    const struct {
        std::initializer_list<int> kinds;
        Ops body;
    } rows[] = {
        {{1}, {"draw Image1 0,0 6840x6840", "end document"}},
        {{2}, {"draw Image2 0,0 6840x6840", "end document"}},
        {{1, 2}, {"draw Image1 0,0 6840x6840", "draw Image2 0,7563 6840x6840", "end document"}},
        {{3}, {"draw Image3 0,0 8496x6696", "end document"}},
        {{1, 3}, {"draw Image1 0,0 6840x6840", "draw Image3 0,7563 8496x6696", "end document"}},
        {{2, 3}, {"draw Image2 0,0 6840x6840", "draw Image3 0,7563 8496x6696", "end document"}},
        {{3, 2, 1},
         {"draw Image1 0,0 6840x6840", "draw Image2 0,7563 6840x6840", "new page", "orientation 1",
          "draw Image3 0,0 8496x6696", "end document"}},
    };
    for (const auto& row : rows) {
        TestPlatform t;
        Ops expected = head;
        expected.insert(expected.end(), row.body.begin(), row.body.end());
        EXPECT_EQ(run(t, tick(row.kinds)), expected);
        EXPECT_EQ(t.messages.shown.at(0).text, kFull);
    }
}

TEST(PrintCommand, SendsExactlyThePagePlanOfEveryTickCombination) {
    TestPlatform t;
    t.printers.install({"Office"});
    for (unsigned mask = 0; mask < 1024; ++mask) {
        PrintSelection s = tick({});
        for (int n = 0; n < 10; ++n) s.ticked[std::size_t(n)] = (mask >> n) & 1u;
        t.printer.ops = {};
        t.messages.shown = {};
        printCovers(t.platform, s);
        const PrintJob job = planPrintJob(s.ticked);
        Ops expected = planOps(job);
        expected.insert(expected.begin(), "follow 1");
        ASSERT_EQ(t.printer.ops, expected) << "mask " << mask;
        ASSERT_EQ(t.messages.shown.at(0).text, job.question == PaperQuestion::LegalPaper ? kLegal : kFull) << mask;
    }
}

TEST(PrintCommand, CancelSendsNothingAndKeepsTheSettings) {
    TestPlatform t;
    t.printer.paper = Paper::Legal;
    t.printer.orient = Orientation::Landscape;
    t.messages.answers = {MsgResult::Cancel};
    EXPECT_EQ(run(t, tick({1, 2})), Ops{"follow 1"});
    EXPECT_EQ(t.printer.paperSize(), Paper::Legal);
    EXPECT_EQ(t.printer.orientation(), Orientation::Landscape);
    EXPECT_TRUE(t.printer.followDefault);
}

TEST(PrintCommand, SettingsPersistFromOneCommandToTheNext) {
    TestPlatform t;
    run(t, tick({6}));
    EXPECT_EQ(t.printer.orientation(), Orientation::Landscape); // PSP leaves landscape behind
    t.printer.ops.clear();
    printCovers(t.platform, tick({4}));
    EXPECT_EQ(t.printer.paperSize(), Paper::Letter); // DVD puts Letter back
    EXPECT_EQ(t.printer.orientation(), Orientation::Landscape);
}

TEST(PrintCommand, ThePointerIsBusyWhileTheJobIsWrittenAndNotAfter) {
    TestPlatform t;
    run(t, tick({1, 2, 3}));
    EXPECT_TRUE(t.printer.pointerBusyAtEnd);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    t.printer.failing = {"end document"};
    printCovers(t.platform, tick({4}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "not left busy by a failed job";
}

TEST(PrintCommand, TickedCoversWithoutAPictureAreNamedAndLeftOut) {
    {
        TestPlatform t; // Front empty: named first; Inside keeps its place below, Back its own page
        const Ops ops = run(t, tick({1, 2, 3}, {1}));
        ASSERT_EQ(t.messages.shown.size(), 2u);
        const MessageRequest& box = t.messages.shown[0];
        EXPECT_TRUE(box.text.contains("Front")) << box.text.toStdString();
        EXPECT_FALSE(box.text.contains("Inside"));
        EXPECT_EQ(box.buttons, MsgButtons::OkCancel);
        EXPECT_EQ(t.messages.shown[1].text, kFull) << "the paper question comes after";
        EXPECT_EQ(ops,
                  (Ops{"follow 1", "paper 1", "orientation 1", "draw Image2 0,7563 6840x6840", "new page",
                       "orientation 1", "draw Image3 0,0 8496x6696", "end document"}));
    }
    {
        TestPlatform t; // Cancel on that box ends the command before anything reaches the printer
        t.messages.answers = {MsgResult::Cancel};
        EXPECT_TRUE(run(t, tick({1, 3}, {3})).empty());
        EXPECT_EQ(t.messages.shown.size(), 1u);
    }
    {
        TestPlatform t; // Front and Inside empty: their page is not printed blank, Back prints alone
        const Ops ops = run(t, tick({1, 2, 3}, {1, 2}));
        EXPECT_TRUE(t.messages.shown.at(0).text.contains("Front, Inside"));
        EXPECT_EQ(ops, (Ops{"follow 1", "paper 1", "orientation 1", "draw Image3 0,0 8496x6696", "end document"}));
    }
    for (const auto& empty : {std::vector<int>{4}, std::vector<int>{1, 2, 3}}) {
        TestPlatform t; // nothing ticked has a picture: one OK box, no paper question, nothing sent
        PrintSelection s = tick({});
        for (int n : empty) {
            s.ticked[std::size_t(n - 1)] = true;
            s.pictures[std::size_t(n - 1)] = QImage();
        }
        EXPECT_TRUE(run(t, s).empty());
        ASSERT_EQ(t.messages.shown.size(), 1u);
        EXPECT_EQ(t.messages.shown[0].buttons, MsgButtons::Ok);
        EXPECT_TRUE(t.messages.shown[0].text.contains(empty.size() == 1 ? "DVD" : "Front, Inside, Back"));
    }
}

TEST(PrintCommand, FailingStepsAreSkipped) {
    TestPlatform t; // every printer step failing: the command still goes through to the end
    t.printer.failing = {"paper", "orientation", "draw", "new page", "end document"};
    EXPECT_EQ(run(t, tick({7})).size(), 6u);
    // The job never went out (its end failed): after the paper question the user hears so.
    ASSERT_EQ(t.messages.shown.size(), 2u);
    EXPECT_TRUE(t.messages.shown[1].text.startsWith("The covers could not be sent to Office."));
    EXPECT_EQ(t.messages.shown[1].icon, MsgIcon::Critical);
}

TEST(PrintCommand, NothingTickedPrintsNothing) {
    TestPlatform t;
    EXPECT_EQ(run(t, tick({})), (Ops{"follow 1"}));

    // Menu "&Print" and toolbar "Print Cover" go through requestPrint with cmdPrint disabled.
    TestPlatform menu;
    QPushButton cmdPrint("Print");
    cmdPrint.setEnabled(false);
    int pressed = 0;
    QObject::connect(&cmdPrint, &QPushButton::clicked, [&] { ++pressed; });
    requestPrint(menu.platform, cmdPrint);
    requestPrint(menu.platform, cmdPrint);
    EXPECT_EQ(pressed, 0);
    ASSERT_EQ(menu.messages.shown.size(), 2u);
    EXPECT_EQ(menu.messages.shown[0].text, "Please select a cover option to print!");
    EXPECT_EQ(menu.messages.shown[0].title, "No Cover Option Selected!");
    EXPECT_EQ(menu.messages.shown[0].icon, MsgIcon::Critical);
    EXPECT_EQ(menu.messages.shown[0].buttons, MsgButtons::Ok);
    EXPECT_TRUE(menu.printer.ops.empty());

    cmdPrint.setEnabled(true);
    requestPrint(menu.platform, cmdPrint);
    EXPECT_EQ(pressed, 1);
    EXPECT_EQ(menu.messages.shown.size(), 2u);
}

TEST(PrintCommand, NoPrinterOffersAPdfAtRealSize) {
    {
        TestPlatform t; // accepted: the same steps go into the chosen file, with no paper question
        t.printer.failing = {"follow"};
        t.messages.answers = {MsgResult::Yes};
        t.saveDialog.answers = {{true, "/tmp/covers.pdf", 0}};
        printCovers(t.platform, tick({4}));
        // A file has no margins, so the cover is centred on the Legal sheet: (20160 - 15390) / 2, (12240 - 10260) / 2.
        EXPECT_EQ(t.printer.ops,
                  (Ops{"follow 1", "to file /tmp/covers.pdf", "paper 5", "orientation 2",
                       "draw Image4 2385,990 15390x10260", "end document", "paper 1"}));
        ASSERT_EQ(t.messages.shown.size(), 1u);
        EXPECT_TRUE(t.messages.shown[0].text.startsWith("No printer is installed."));
        EXPECT_EQ(t.messages.shown[0].buttons, MsgButtons::YesNo);
        EXPECT_EQ(t.saveDialog.asked.at(0).defaultSuffix, "pdf");
    }
    {
        TestPlatform t; // declined, or the save dialog cancelled: nothing at all
        t.printer.failing = {"follow"};
        t.messages.answers = {MsgResult::No};
        printCovers(t.platform, tick({1}));
        t.messages.answers = {MsgResult::Yes};
        printCovers(t.platform, tick({1}));
        EXPECT_EQ(t.printer.ops, (Ops{"follow 1", "follow 1"}));
        EXPECT_EQ(t.saveDialog.asked.size(), 1u);
    }
    {
        TestPlatform t; // queues may be set up, but the print service does not answer: says so, by name
        t.printers.service = {"/run/cups/cups.sock", false};
        t.printer.failing = {"follow"};
        t.messages.answers = {MsgResult::No};
        printCovers(t.platform, tick({5}));
        ASSERT_EQ(t.messages.shown.size(), 1u);
        EXPECT_TRUE(t.messages.shown[0].text.startsWith("The print service cannot be reached"));
        EXPECT_TRUE(t.messages.shown[0].text.contains("/run/cups/cups.sock"));
    }
    {
        TestPlatform t; // printers but no default: says so; a file that cannot be written is reported
        t.printers.install({"A"});
        t.printers.deviceEntry.clear();
        t.printer.failing = {"follow", "end document"};
        t.messages.answers = {MsgResult::Yes};
        t.saveDialog.answers = {{true, "/tmp/x.pdf", 0}};
        printCovers(t.platform, tick({5}));
        ASSERT_EQ(t.messages.shown.size(), 2u);
        EXPECT_TRUE(t.messages.shown[0].text.startsWith("None of the installed printers is the default printer."));
        EXPECT_EQ(t.messages.shown[1].icon, MsgIcon::Critical);
        EXPECT_TRUE(t.messages.shown[1].text.startsWith("The PDF file could not be written."));
    }
}
