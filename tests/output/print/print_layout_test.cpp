// SPDX-License-Identifier: GPL-3.0-or-later
// The print command with a print layout: covers that do not fit the printable area, A4, cut marks,
// a queue's calibration, the PDF export and the notice that confirms a job.
#include "output/print/cover_printing.h"
#include "platform/print/printer.h"
#include "tests/output/print/pdf_probe.h"
#include "tests/support/test_platform.h"

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
    Platform withWriter = t.withPrinter(writer);
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

namespace {

// The four numbers of a recorded "line X1,Y1 X2,Y2 wW".
std::array<double, 4> lineEnds(const QString& op) {
    const QStringList parts = op.split(' ');
    const QStringList from = parts.at(1).split(','), to = parts.at(2).split(',');
    return {from.at(0).toDouble(), from.at(1).toDouble(), to.at(0).toDouble(), to.at(1).toDouble()};
}

} // namespace

TEST(PrintLayout, WithMarginsTheFillClipAndTheCalibratedMarksOfEveryPageAreFromThePrintableCorner) {
    // Two Letter pages (Front and Inside, then Back) on a printer with uneven margins, the Front
    // filled from a wide picture, cut marks on; once plain, once through a calibration.
    const double left = 0.25 * 1440, top = 0.5 * 1440, mm = 1440 / 25.4;
    const Calibration c{2, -1, 101, 99};
    std::array<std::vector<QString>, 2> ops;
    for (const bool calibrated : {false, true}) {
        TestPlatform t;
        t.printers.install({"Office"});
        t.printer.margins = std::array<double, 4>{0.25, 0.5, 0.3, 0.2};
        PrintSelection s = tick({1, 2, 3});
        s.pictures[0] = kavi::testing::darkPicture(80, 20, QStringLiteral("Image1"));
        s.fitModes[0] = FitMode::Fill;
        s.layout = {PaperChoice::LetterAndLegal, true};
        if (calibrated) s.calibrationOf = [c](const QString&, Orientation) { return c; };
        t.messages.answers = {MsgResult::Ok};
        ASSERT_TRUE(printCovers(t.platform, s).sent);
        ops[calibrated] = t.printer.ops;
    }

    // The Front lies at the printable corner, so its clip starts there: at 0,0, not at the margins.
    const LengthSize front = coverKind(1).printSize;
    const auto draws = opsStartingWith(ops[0], "draw Image1 ");
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_TRUE(draws[0].endsWith(QStringLiteral(" clip 0,0 %1x%2").arg(front.width.twips()).arg(front.height.twips())))
        << draws[0].toStdString();
    EXPECT_TRUE(draws[0].startsWith("draw Image1 -")) << "the wide picture reaches past the clip on the left";

    // Each page has its own marks.
    for (const auto& job : ops) {
        const auto page = std::find(job.begin(), job.end(), "new page");
        ASSERT_NE(page, job.end());
        const auto linesIn = [](auto from, auto to) {
            return std::count_if(from, to, [](const QString& op) { return op.startsWith("line "); });
        };
        EXPECT_GT(linesIn(job.begin(), page), 0) << "the first page's marks";
        EXPECT_GT(linesIn(page, job.end()), 0) << "the second page's marks";
    }

    // The calibration moves both ends of every mark, on the sheet, from its corner.
    const auto plainLines = opsStartingWith(ops[0], "line "), calibratedLines = opsStartingWith(ops[1], "line ");
    ASSERT_EQ(plainLines.size(), calibratedLines.size());
    const auto x = [&](double fromCorner) { return (fromCorner + left) * 1.01 + 2 * mm - left; };
    const auto y = [&](double fromCorner) { return (fromCorner + top) * 0.99 - 1 * mm - top; };
    for (std::size_t i = 0; i < plainLines.size(); ++i) {
        const auto p = lineEnds(plainLines[i]), q = lineEnds(calibratedLines[i]);
        EXPECT_NEAR(q[0], x(p[0]), 0.5) << i;
        EXPECT_NEAR(q[1], y(p[1]), 0.5) << i;
        EXPECT_NEAR(q[2], x(p[2]), 0.5) << "the end of mark " << i;
        EXPECT_NEAR(q[3], y(p[3]), 0.5) << "the end of mark " << i;
    }
}
