// The kavi-transform command: one toolbar command over a picture file, bad arguments refused clearly.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

struct ToolRun {
    int status;
    QString stderrText;
};

ToolRun runTool(const QStringList& arguments, const QStringList& asUser = {}) {
    QProcess tool;
    const QString program = QString::fromLocal8Bit(std::getenv("KAVI_BUILD_DIR")) + "/kavi-transform";
    if (asUser.isEmpty()) tool.start(program, arguments);
    else tool.start("setpriv", asUser + QStringList{program} + arguments);
    tool.waitForFinished(-1);
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            QString::fromLocal8Bit(tool.readAllStandardError())};
}

QImage picture() {
    QImage image(6, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) image.setPixel(x, y, qRgb(x * 40, y * 60, 200 - x * 10));
    return image;
}

class KaviTransformTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        input = dir.filePath("in.png");
        ASSERT_TRUE(picture().save(input));
    }
    QImage result(const QString& name) { return QImage(dir.filePath(name)).convertToFormat(QImage::Format_RGB32); }
    QTemporaryDir dir;
    QString input;
};

} // namespace

TEST_F(KaviTransformTool, RunsEachToolbarCommandAsTheWindowDoes) {
    ASSERT_EQ(runTool({"mirror", "x", input, dir.filePath("m.png")}).status, 0) << "VALUE is ignored";
    EXPECT_EQ(result("m.png"), picture().mirrored(true, false));
    ASSERT_EQ(runTool({"flip", "0", input, dir.filePath("f.BMP")}).status, 0);
    EXPECT_EQ(result("f.BMP"), picture().mirrored(false, true));
    ASSERT_EQ(runTool({"rotate", "0", input, dir.filePath("r.png")}).status, 0);
    EXPECT_EQ(result("r.png").size(), QSize(4, 6));
    ASSERT_EQ(runTool({"brightness", "-99", input, dir.filePath("b.png")}).status, 0);
    EXPECT_EQ(result("b.png").pixel(5, 3) & 0xFFFFFF, qRgb(101, 81, 51) & 0xFFFFFF);
    ASSERT_EQ(runTool({"brightness", "+99", input, dir.filePath("b2.png")}).status, 0);
    EXPECT_EQ(result("b2.png").pixel(0, 0) & 0xFFFFFF, qRgb(99, 99, 255) & 0xFFFFFF);
}

TEST_F(KaviTransformTool, RefusesBadArgumentsAndMissingFilesWithOneLine) {
    const QString out = dir.filePath("out.png");
    const QStringList bad[] = {{"turn", "0", input, out},  {"brightness", "100", input, out},
                               {"brightness", "1.5", input, out}, {"brightness", "", input, out},
                               {"mirror", "0", input, dir.filePath("out.jpg")},
                               {"mirror", "0", dir.filePath("missing.png"), out}, {"mirror", "0", input}};
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
    ASSERT_TRUE(picture().save(target));
    QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                                      QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther | QFile::ReadOther);
    QFile::setPermissions(input, QFile::permissions(input) | QFile::ReadOther);
    const ToolRun run = runTool({"mirror", "0", input, target},
                                {"--reuid=nobody", "--regid=nogroup", "--clear-groups"});
    EXPECT_EQ(run.status, 2) << run.stderrText.toStdString();
    EXPECT_TRUE(run.stderrText.contains("cannot write")) << run.stderrText.toStdString();
    EXPECT_EQ(QImage(target).convertToFormat(QImage::Format_RGB32), picture());
    QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
