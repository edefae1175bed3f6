// SPDX-License-Identifier: GPL-3.0-or-later
// The kavi-transform command: one toolbar command over a picture file, bad arguments refused clearly.
#include "tests/support/program_run.h"
#include "tests/support/tool_test.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

using kavi::testing::ToolRun;
using kavi::testing::toolTestPicture;

class KaviTransformTool : public kavi::testing::ToolTest {
protected:
    KaviTransformTool() : ToolTest("kavi-transform") {}
    QImage result(const QString& name) { return QImage(dir.filePath(name)).convertToFormat(QImage::Format_RGB32); }
};

} // namespace

TEST_F(KaviTransformTool, RunsEachToolbarCommandAsTheWindowDoes) {
    ASSERT_EQ(runTool({"mirror", "x", input, dir.filePath("m.png")}).status, 0) << "VALUE is ignored";
    EXPECT_EQ(result("m.png"), toolTestPicture().mirrored(true, false));
    ASSERT_EQ(runTool({"flip", "0", input, dir.filePath("f.BMP")}).status, 0);
    EXPECT_EQ(result("f.BMP"), toolTestPicture().mirrored(false, true));
    ASSERT_EQ(runTool({"rotate", "0", input, dir.filePath("r.png")}).status, 0);
    EXPECT_EQ(result("r.png").size(), QSize(4, 6));
    ASSERT_EQ(runTool({"brightness", "-99", input, dir.filePath("b.png")}).status, 0);
    EXPECT_EQ(result("b.png").pixel(5, 3) & 0xFFFFFF, qRgb(101, 81, 51) & 0xFFFFFF);
    ASSERT_EQ(runTool({"brightness", "+99", input, dir.filePath("b2.png")}).status, 0);
    EXPECT_EQ(result("b2.png").pixel(0, 0) & 0xFFFFFF, qRgb(99, 99, 255) & 0xFFFFFF);
}

TEST_F(KaviTransformTool, RefusesBadArgumentsAndMissingFilesWithOneLine) {
    const QString out = dir.filePath("out.png");
    const QStringList bad[] = {{"turn", "0", input, out},
                               {"brightness", "100", input, out},
                               {"brightness", "1.5", input, out},
                               {"brightness", "", input, out},
                               {"mirror", "0", input, dir.filePath("out.jpg")},
                               {"mirror", "0", dir.filePath("missing.png"), out},
                               {"mirror", "0", input}};
    for (const QStringList& args : bad) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.stderrText.startsWith("kavi-transform: ")) << run.stderrText.toStdString();
        EXPECT_EQ(run.stderrText.count('\n'), 1);
    }
    EXPECT_FALSE(QFile::exists(out));

    QFile damaged(dir.filePath("damaged.png"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("\x89PNG\r\n\x1a\nnot really");
    damaged.close();
    EXPECT_EQ(runTool({"flip", "0", damaged.fileName(), out}).status, 2);
}

TEST_F(KaviTransformTool, AnUnwritableFolderFailsAndLeavesTheOldFileAlone) {
    QDir(dir.path()).mkdir("locked");
    const QString target = dir.filePath("locked/out.png");
    ASSERT_TRUE(toolTestPicture().save(target));
    QFile::setPermissions(dir.filePath("locked"),
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup |
                              QFile::ExeGroup);
    QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther | QFile::ReadOther);
    QFile::setPermissions(input, QFile::permissions(input) | QFile::ReadOther);
    const ToolRun run =
        runTool({"mirror", "0", input, target}, {"--reuid=nobody", "--regid=nogroup", "--clear-groups"});
    EXPECT_EQ(run.status, 2) << run.stderrText.toStdString();
    EXPECT_TRUE(run.stderrText.contains("cannot write")) << run.stderrText.toStdString();
    EXPECT_EQ(QImage(target).convertToFormat(QImage::Format_RGB32), toolTestPicture());
    QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(KaviTransformTool, HelpNamesTheCommandsAndArgumentsVersionAnswersUnknownOptionsFail) {
    using kavi::testing::runProgram;
    const kavi::testing::ProgramRun help = runProgram("kavi-transform", {"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"rotate", "mirror", "flip", "brightness", "VALUE", "-99 to 99", "INPUT", "OUTPUT"})
        EXPECT_TRUE(help.out.contains(word)) << word;
    EXPECT_TRUE(help.err.isEmpty());

    const kavi::testing::ProgramRun version = runProgram("kavi-transform", {"--version"});
    EXPECT_EQ(version.status, 0);
    ASSERT_FALSE(kavi::testing::projectVersion().isEmpty());
    EXPECT_EQ(version.out, "kavi-transform (Kavi) " + kavi::testing::projectVersion() + "\n");

    for (const QStringList& arguments : {QStringList{"--bogus"}, QStringList{"--help", "0", input, "x.png"}}) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.stderrText.count('\n'), 1);
    }
}
