// SPDX-License-Identifier: GPL-3.0-or-later
// The print command with a print layout: covers that do not fit the printable area, A4, cut marks,
// a queue's calibration, the PDF export and the notice that confirms a job.
#include "cover_printing.h"
#include "output/print/pdf_probe.h"
#include "print/printer.h"
#include "support/test_platform.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::TestPlatform;

namespace {

PrintSelection tick(std::initializer_list<int> kinds) {
    PrintSelection s;
    for (int n : kinds) {
        s.ticked[std::size_t(n - 1)] = true;
        s.pictures[std::size_t(n - 1)] = kavi::testing::darkPicture(8, 6, QStringLiteral("Image%1").arg(n));
    }
    return s;
}

std::vector<QString> opsStartingWith(const std::vector<QString>& ops, const QString& prefix) {
    std::vector<QString> found;
    for (const QString& op : ops)
        if (op.startsWith(prefix)) found.push_back(op);
    return found;
}

} // namespace

TEST(PrintLayout, ACoverOutsideThePrintableAreaIsNamedAndTheUserChooses) {
    for (MsgResult answer : {MsgResult::Cancel, MsgResult::Ok}) {
        TestPlatform t;
        t.printers.install({"Office"});
        t.printer.margins = std::array<double, 4>{0.5, 0.5, 0.5, 0.5};
        t.messages.answers = {answer, MsgResult::Ok};
        const PrintOutcome outcome = printCovers(t.platform, tick({9}));
        ASSERT_GE(t.messages.shown.size(), 1u);
        const QString warning = t.messages.shown[0].text;
        EXPECT_TRUE(warning.contains("HD-DVD loses 0.50 in (12.7 mm) at the right edge")) << warning.toStdString();
        EXPECT_EQ(t.messages.shown[0].buttons, MsgButtons::OkCancel);
        if (answer == MsgResult::Cancel) {
            EXPECT_EQ(t.messages.shown.size(), 1u) << "no paper question after Cancel";
            EXPECT_TRUE(opsStartingWith(t.printer.ops, "draw").empty());
            EXPECT_FALSE(outcome.sent);
        } else {
            EXPECT_EQ(t.messages.shown.size(), 2u) << "then the paper question";
            EXPECT_EQ(opsStartingWith(t.printer.ops, "draw"), std::vector<QString>{"draw Image9 0,0 15120x8460"})
                << "the cover still goes to the printable area's corner";
            EXPECT_TRUE(outcome.sent);
            EXPECT_EQ(outcomeNotice(outcome), "Sent 1 page to Office.");
        }
    }
    // Within the printable area nothing is asked but the paper question.
    TestPlatform t;
    t.printers.install({"Office"});
    t.printer.margins = std::array<double, 4>{0.25, 0.25, 0.25, 0.25};
    printCovers(t.platform, tick({1, 2, 3}));
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_TRUE(t.messages.shown[0].text.startsWith("Please make sure your printer is on"));
    EXPECT_EQ(outcomeNotice({true, 2, "Office", {}}), "Sent 2 pages to Office.");
}

TEST(PrintLayout, A4MarksAndCalibrationReachThePrinter) {
    TestPlatform t;
    t.printers.install({"Office"});
    t.printer.margins = std::array<double, 4>{0.25, 0.25, 0.25, 0.25};
    PrintSelection s = tick({4});
    s.layout = {PaperChoice::A4, true};
    std::vector<std::pair<QString, Orientation>> asked;
    s.calibrationOf = [&asked](const QString& queue, Orientation o) {
        asked.emplace_back(queue, o);
        return Calibration{2, -1, 100, 100};
    };
    printCovers(t.platform, s);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, "Please make sure your printer is on and you are using A4 sized paper!");
    EXPECT_EQ(opsStartingWith(t.printer.ops, "paper"), (std::vector<QString>{"paper 9", "paper 9"}));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, "Office");
    EXPECT_EQ(asked[0].second, Orientation::Landscape);
    // Moved by 2 mm right and 1 mm up from the printable corner.
    const double mm = 1440 / 25.4;
    EXPECT_EQ(opsStartingWith(t.printer.ops, "draw"),
              std::vector<QString>{QStringLiteral("draw Image4 %1,%2 15390x10260").arg(2 * mm).arg(-1 * mm)});
    const auto lines = opsStartingWith(t.printer.ops, "line");
    EXPECT_FALSE(lines.empty());
    const auto end = std::find(t.printer.ops.begin(), t.printer.ops.end(), "end document");
    EXPECT_TRUE(std::find(t.printer.ops.begin(), end, lines.back()) != end) << "marks belong to the page";
}

TEST(PrintLayout, ExportPdfCentresTheCoversAndSaysWhenItCannotWrite) {
    QTemporaryDir dir;
    TestPlatform t;
    CupsPrinterObject writer(t.printers); // the real PDF writer; a file needs no printer
    Platform platform = t.platform;
    Platform withWriter{
        platform.messages, platform.saveDialog, platform.shell,         platform.help,     platform.tray,
        platform.screen,   platform.facts,      platform.http,          platform.sound,    platform.systemColors,
        platform.desktop,  platform.scanner,    platform.imageEncoders, platform.printers, writer};
    const QString pdf = dir.filePath("covers.pdf");
    t.saveDialog.answers = {{true, pdf, 0}};
    const PrintOutcome outcome = exportCoversPdf(withWriter, tick({5}));
    ASSERT_TRUE(outcome.sent);
    EXPECT_EQ(outcomeNotice(outcome), QStringLiteral("Saved 1 page of covers as %1.").arg(pdf));
    EXPECT_TRUE(t.messages.shown.empty()) << "no paper question for a file";
    const int dpi = 100;
    const QRect box = kavi::testing::inkBox(kavi::testing::renderPdfPage(pdf, 1, dpi));
    EXPECT_NEAR(box.left() / double(dpi), (11 - 3.25) / 2, 0.02) << "Mini CD centred on Letter landscape";
    EXPECT_NEAR(box.top() / double(dpi), (8.5 - 3.45) / 2, 0.02);

    t.saveDialog.answers = {{true, dir.filePath("no/such/folder/covers.pdf"), 0}};
    EXPECT_FALSE(exportCoversPdf(withWriter, tick({5})).sent);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].icon, MsgIcon::Critical);
}
