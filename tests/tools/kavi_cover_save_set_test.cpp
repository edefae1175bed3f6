// SPDX-License-Identifier: GPL-3.0-or-later
// kavi-cover --save-set: the covers given as KIND=PICTURE saved as a cover set, ticked, with the
// fit mode given; a JPEG as its file's bytes, another picture as its pixels; bad requests refused.
#include "coverset/cover_set_file.h"
#include "formats/zip/stored_zip.h"
#include "tests/support/picture_files.h"
#include "tests/support/tool_test.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace kavi;
using namespace kavi::testing;

namespace {

class SaveSet : public ToolTest {
protected:
    SaveSet() : ToolTest("kavi-cover") {}
};

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST_F(SaveSet, CoversAreSavedTickedWithTheirFitAndTheJpegAsItsFile) {
    const QString jpeg = dir.filePath("photo.jpg");
    {
        QFile f(jpeg);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(rotatedPhoto(24, 16)); // turned upright when picked
    }
    const QString out = dir.filePath("out.kavi");
    const ToolRun run = runTool({"--fit", "fill", "--save-set", out, "front=" + jpeg, "BACK=" + input});
    ASSERT_EQ(run.status, 0) << run.stderrText.toStdString();

    const CoverSetReading reading = loadCoverSetFile(out);
    ASSERT_EQ(reading.problem, CoverSetProblem::None);
    const CoverSet& set = *reading.set;
    KindFlags ticked{};
    ticked[0] = ticked[2] = true;
    EXPECT_EQ(set.ticked, ticked);
    EXPECT_EQ(set.cover(1).picture.encoding(), CoverSetPicture::Encoding::Jpeg);
    EXPECT_EQ(set.cover(1).picture.encoded(), fileBytes(jpeg)) << "the JPEG file's bytes, exactly";
    EXPECT_EQ(set.cover(1).picture.image().size(), QSize(16, 24)) << "upright, as picking shows it";
    EXPECT_EQ(set.cover(3).picture.encoding(), CoverSetPicture::Encoding::Png);
    EXPECT_TRUE(samePixels(set.cover(3).picture.image(), toolTestPicture()));
    EXPECT_EQ(set.cover(1).fit, FitMode::Fill);
    EXPECT_EQ(set.cover(3).fit, FitMode::Fill);
    EXPECT_TRUE(set.cover(2).picture.isNull());

    // Without --fit each cover stretches; a missing picture or a second output is refused, and
    // nothing is written then.
    const QString plain = dir.filePath("plain.kavi");
    ASSERT_EQ(runTool({"--save-set=" + plain, "dvd=" + input}).status, 0);
    EXPECT_EQ(loadCoverSetFile(plain).set->cover(4).fit, FitMode::Stretch);
    const QString never = dir.filePath("never.kavi");
    EXPECT_NE(runTool({"--save-set", never, "dvd=" + dir.filePath("missing.png")}).status, 0);
    EXPECT_NE(runTool({"--save-set", never, "-o", dir.filePath("x.pdf"), "dvd=" + input}).status, 0);
    EXPECT_NE(runTool({"--save-set", never, plain}).status, 0) << "a cover set is no KIND=PICTURE";
    EXPECT_FALSE(QFile::exists(never));
}
