// SPDX-License-Identifier: GPL-3.0-or-later
// Cover text in the PDF that kavi-cover writes from a cover set, as poppler renders it at 600 dpi:
// a title of known size lands centred on its place at its size, spine text is turned clockwise and
// centred on the spine, and the text goes in as 600 dpi pictures, not screen-sized ones.
#include "cover_kinds.h"
#include "cover_set_file.h"
#include "output/print/pdf_probe.h"
#include "support/tool_test.h"

#include <gtest/gtest.h>

using namespace kavi;
using namespace kavi::testing;

namespace {

constexpr int kDpi = 600;
constexpr int kDvd = 4;

// The DVD cover on a Legal sheet in a PDF file: centred on the sheet.
const double kCoverLeft = (14 - 15390 / 1440.0) / 2, kCoverTop = (8.5 - 10260 / 1440.0) / 2;

// A part of page 1 at 600 dpi, given in inches of the sheet.
QImage renderPart(const QString& pdf, double left, double top, double width, double height) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath("part");
    runTool("pdftoppm",
            {"-r", QString::number(kDpi), "-png", "-singlefile", "-x", QString::number(int(left * kDpi)), "-y",
             QString::number(int(top * kDpi)), "-W", QString::number(int(width * kDpi)), "-H",
             QString::number(int(height * kDpi)), pdf, prefix});
    return QImage(prefix + ".png");
}

class PrintedCoverText : public ToolTest {
protected:
    PrintedCoverText() : ToolTest("kavi-cover") {}

    // A white DVD cover with the given texts, ticked, written as a cover set and made into a PDF.
    QString pdfOf(const kavi::CoverText& text) {
        CoverSet set = CoverSet::empty();
        QImage white(64, 43, QImage::Format_RGB32);
        white.fill(Qt::white);
        set.cover(kDvd).picture = white;
        set.cover(kDvd).text = text;
        set.ticked[kDvd - 1] = true;
        const QString setPath = dir.filePath("covers.kavi"), pdf = dir.filePath("covers.pdf");
        EXPECT_EQ(saveCoverSetFile(setPath, set), 0);
        const ToolRun run = runTool({"-o", pdf, setPath});
        EXPECT_EQ(run.status, 0) << run.stderrText.toStdString();
        return pdf;
    }
};

} // namespace

TEST_F(PrintedCoverText, ATitleOfKnownSizeLandsCentredOnItsPlace) {
    kavi::CoverText text = emptyCoverText(kDvd);
    text.title.text = "HHHH";
    text.title.style.family = "DejaVu Sans";
    text.title.style.sizePoints = 72;
    text.title.style.bold = true;
    text.title.anchor = {Length::fromInches(7.5), Length::fromInches(1.5)};
    const QString pdf = pdfOf(text);
    // A 3 x 2 in part of the sheet around the title's place.
    const double partLeft = kCoverLeft + 6, partTop = kCoverTop + 0.5;
    const QImage part = renderPart(pdf, partLeft, partTop, 3, 2);
    ASSERT_FALSE(part.isNull());
    const QRect ink = inkBox(part);
    ASSERT_FALSE(ink.isEmpty()) << "no title on the page";
    const double centreX = partLeft + (ink.left() + ink.right() + 1) / 2.0 / kDpi;
    const double centreY = partTop + (ink.top() + ink.bottom() + 1) / 2.0 / kDpi;
    EXPECT_NEAR(centreX, kCoverLeft + 7.5, 0.01) << "centred across its place";
    EXPECT_NEAR(centreY, kCoverTop + 1.5, 0.03) << "the capitals' middle at its place";
    // DejaVu Sans capitals stand 0.729 of the letters' size: 72 points make 0.729 in.
    EXPECT_NEAR((ink.height()) / double(kDpi), 0.729, 0.015) << "the title's size in points";
}

TEST_F(PrintedCoverText, SpineTextIsTurnedClockwiseAndCentredOnTheSpine) {
    kavi::CoverText text = emptyCoverText(kDvd);
    text.spine.text = "L";
    text.spine.style.sizePoints = 30;
    text.spine.style.bold = false;
    text.spine.anchor.y = Length::fromInches(3);
    const QString pdf = pdfOf(text);
    const double spineMiddle = kCoverLeft + 15390 / 1440.0 / 2;
    const double partLeft = spineMiddle - 1, partTop = kCoverTop + 2;
    const QImage part = renderPart(pdf, partLeft, partTop, 2, 2);
    const QRect ink = inkBox(part);
    ASSERT_FALSE(ink.isEmpty()) << "no spine text on the page";
    const double centreX = partLeft + (ink.left() + ink.right() + 1) / 2.0 / kDpi;
    EXPECT_NEAR(centreX, spineMiddle, 0.01) << "centred on the spine";
    EXPECT_LT(ink.width() / double(kDpi), Length::fromMillimetres(14).inches()) << "within the spine's width";
    // An L turned a quarter clockwise: its stem lies along the top, its foot down the left side,
    // and the bottom right is empty (turned the other way the ink would be at the bottom right).
    const auto dark = [&part](double fx, double fy, const QRect& box) {
        return qGray(part.pixel(box.left() + int(fx * box.width()), box.top() + int(fy * box.height()))) < 128;
    };
    EXPECT_TRUE(dark(0.05, 0.05, ink)) << "top left";
    EXPECT_TRUE(dark(0.5, 0.05, ink)) << "the stem along the top";
    EXPECT_FALSE(dark(0.8, 0.8, ink)) << "bottom right";
    EXPECT_GT(ink.width(), ink.height()) << "the stem, once upright, now lies across";
}

TEST_F(PrintedCoverText, TextGoesInAtPrintResolution) {
    kavi::CoverText text = emptyCoverText(kDvd);
    text.title.text = "Title";
    text.spine.text = "Spine";
    text.boxes.push_back({"Box", {}, newBoxAnchor(kDvd)});
    const QString listing = kavi::testing::runTool("pdfimages", {"-list", pdfOf(text)});
    int texts = 0;
    for (const QString& line : listing.split('\n')) {
        const QStringList f = line.simplified().split(' ');
        if (f.size() < 14 || f[2] != "smask") continue;
        ++texts;
        EXPECT_NEAR(f[12].toDouble(), 600, 1) << line.toStdString(); // x-ppi
        EXPECT_NEAR(f[13].toDouble(), 600, 1) << line.toStdString(); // y-ppi
    }
    EXPECT_EQ(texts, 3) << "one transparent picture for each text:\n" << listing.toStdString();
}
