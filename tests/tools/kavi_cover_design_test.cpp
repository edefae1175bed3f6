// SPDX-License-Identifier: GPL-3.0-or-later
// kavi-cover and a set's designs: a further picture that does not decode stops the run for a ticked
// cover, naming it, and does not matter while its cover is not ticked.
#include "coverset/cover_set_file.h"
#include "tests/support/tool_test.h"

#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>

using namespace kavi;
using namespace kavi::testing;

namespace {

class DesignTool : public ToolTest {
protected:
    DesignTool() : ToolTest("kavi-cover") {}
};

QByteArray pngOf(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

CoverLayer logoLayer() {
    CoverLayer layer;
    layer.type = LayerType::Picture;
    layer.box = {Length::fromMillimetres(5), Length::fromMillimetres(5), Length::fromMillimetres(30),
                 Length::fromMillimetres(20)};
    return layer;
}

} // namespace

TEST_F(DesignTool, AFurtherPictureThatDoesNotDecodeStopsTheRunOnlyForATickedCover) {
    const QImage picture = toolTestPicture();
    const QByteArray good = pngOf(picture);
    // The header and the entry's checksum are right; the picture's own data is not.
    QByteArray broken = good;
    for (qsizetype i = 45; i < broken.size() - 16; ++i) broken[i] = char(broken[i] ^ 0x5A);

    CoverSet set = CoverSet::empty();
    for (int kind : {1, 4}) {
        set.cover(kind).picture = picture;
        set.cover(kind).design.layers.push_back(logoLayer());
    }
    set.cover(1).designPictures = {
        CoverSetPicture::ofEntry(good, CoverSetPicture::Encoding::Png, picture.size(), false)};
    set.cover(4).designPictures = {
        CoverSetPicture::ofEntry(broken, CoverSetPicture::Encoding::Png, picture.size(), false)};

    set.ticked[0] = true; // the front, whose logo is whole
    const QString frontSet = dir.filePath("front.kavi"), frontPdf = dir.filePath("front.pdf");
    ASSERT_EQ(saveCoverSetFile(frontSet, set), 0);
    const ToolRun fine = runTool({"-o", frontPdf, frontSet});
    EXPECT_EQ(fine.status, 0) << fine.stderrText.toStdString();
    EXPECT_TRUE(QFile::exists(frontPdf));

    set.ticked = {};
    set.ticked[3] = true; // the DVD, whose logo does not decode
    const QString dvdSet = dir.filePath("dvd.kavi"), dvdPdf = dir.filePath("dvd.pdf");
    ASSERT_EQ(saveCoverSetFile(dvdSet, set), 0);
    const ToolRun stopped = runTool({"-o", dvdPdf, dvdSet});
    EXPECT_NE(stopped.status, 0);
    EXPECT_TRUE(stopped.stderrText.contains(QStringLiteral("the DVD cover's design")))
        << stopped.stderrText.toStdString();
    EXPECT_FALSE(QFile::exists(dvdPdf)) << "nothing written";
}
