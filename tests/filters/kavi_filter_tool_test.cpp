// SPDX-License-Identifier: GPL-3.0-or-later
// The kavi-filter command: runs a filter over picture files and refuses bad arguments clearly.
#include "tests/support/program_run.h"
#include "tests/support/tool_test.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

using kavi::testing::ToolRun;
using kavi::testing::toolTestPicture;

class KaviFilterTool : public kavi::testing::ToolTest {
protected:
    KaviFilterTool() : ToolTest("kavi-filter") {}
};

} // namespace

TEST_F(KaviFilterTool, WritesTheFilteredPictureAsPngOrBmp) {
    const QString png = dir.filePath("neg.png");
    ASSERT_EQ(runTool({"2", "0", input, png}).status, 0);
    QImage negative = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(negative.size(), QSize(6, 4));
    EXPECT_EQ(negative.pixel(3, 2) & 0xFFFFFF, (qRgb(255 - 120, 255 - 120, 255 - 170) & 0xFFFFFF));

    // Numbers without a routine give the picture back unchanged, also through BMP.
    for (const char* number : {"0", "32"}) {
        const QString bmp = dir.filePath(QString("same%1.BMP").arg(number));
        ASSERT_EQ(runTool({number, "0", input, bmp}).status, 0);
        EXPECT_EQ(QImage(bmp).convertToFormat(QImage::Format_RGB32), toolTestPicture());
    }

    // A colour parameter as its decimal value; the seed repeats Add Noise.
    EXPECT_EQ(runTool({"18", "11842740", input, dir.filePath("bw.png")}).status, 0);
    const QString a = dir.filePath("a.png"), b = dir.filePath("b.png");
    ASSERT_EQ(runTool({"29", "50", input, a, "--seed", "42"}).status, 0);
    ASSERT_EQ(runTool({"29", "50", input, b, "--seed", "42"}).status, 0);
    EXPECT_EQ(QImage(a), QImage(b));
}

TEST_F(KaviFilterTool, BadArgumentsGiveOneLineAndAFailureStatus) {
    const QString out = dir.filePath("out.png");
    const QList<QStringList> bad{
        {"x", "0", input, out},
        {"1.5", "0", input, out},
        {"", "0", input, out},
        {"2", "0x10", input, out},
        {"2", "99999999999", input, out},
        {"2", "0", dir.filePath("missing.png"), out},
        {"2", "0", input, dir.filePath("out.jpg")},
        {"2", "0", input, dir.filePath("no/such/folder/out.png")},
        {"2", "0", input},
        {"29", "50", input, out, "--seed", "-1"},
        {"1", "-8", input, out}, // divisor zero
    };
    for (const QStringList& arguments : bad) {
        const ToolRun run = runTool(arguments);
        EXPECT_NE(run.status, 0) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.stderrText.count('\n'), 1) << run.stderrText.toStdString();
        EXPECT_TRUE(run.stderrText.startsWith("kavi-filter: ")) << run.stderrText.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out)) << "no output is left behind by a failed run";
}

TEST_F(KaviFilterTool, HelpNamesTheArgumentsAndEveryFilterCommandVersionAnswersUnknownOptionsFail) {
    using kavi::testing::runProgram;
    const kavi::testing::ProgramRun help = runProgram("kavi-filter", {"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"NUMBER", "PARAMETER", "INPUT", "OUTPUT", "--seed", "--version"})
        EXPECT_TRUE(help.out.contains(word)) << word;
    // The twenty menu entries with the number and the amount each passes, from the window's table.
    EXPECT_EQ(help.out.count(QRegularExpression("^ +-?\\d+ +-?\\d+  \\S.*$", QRegularExpression::MultilineOption)), 20);
    EXPECT_TRUE(help.out.contains(QRegularExpression("^ +3 +0  Blur$", QRegularExpression::MultilineOption)));
    EXPECT_TRUE(
        help.out.contains(QRegularExpression("^ +18 +11842740  Black & White$", QRegularExpression::MultilineOption)));
    EXPECT_TRUE(help.out.contains(QRegularExpression("^ +17 +-10  Contrast -$", QRegularExpression::MultilineOption)));
    EXPECT_TRUE(help.err.isEmpty());
    EXPECT_EQ(runProgram("kavi-filter", {"-h"}).out, help.out);

    const kavi::testing::ProgramRun version = runProgram("kavi-filter", {"--version"});
    EXPECT_EQ(version.status, 0);
    ASSERT_FALSE(kavi::testing::projectVersion().isEmpty());
    EXPECT_EQ(version.out, "kavi-filter (Kavi) " + kavi::testing::projectVersion() + "\n");

    // An unknown option, or --help among a run's arguments, is still a bad command line.
    for (const QStringList& arguments :
         {QStringList{"--bogus"}, QStringList{"--version", "x"}, QStringList{"2", "0", input, "--help"}}) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.stderrText.count('\n'), 1);
    }
}
