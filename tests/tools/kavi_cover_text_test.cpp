// SPDX-License-Identifier: GPL-3.0-or-later
// Cover text in the PDF that kavi-cover writes from a cover set, as poppler renders it at 600 dpi:
// a title of known size lands centred on its place at its size, spine text is turned clockwise and
// centred on the spine, text that runs past the cover's edge ends at the cut line, and the text goes
// in as vector outlines with words a reader finds. Also a picture's transparent parts print as paper.
#include "covers/cover_kinds.h"
#include "coverset/cover_set_file.h"
#include "tests/output/print/pdf_probe.h"
#include "tests/support/tool_test.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
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

TEST_F(PrintedCoverText, TextGoesInAsOutlinesWithWordsAReaderFindsSharpAndSmall) {
    kavi::CoverText text = emptyCoverText(kDvd);
    text.title.text = "HHHH Title";
    text.title.style.family = "DejaVu Sans";
    text.title.style.sizePoints = 72;
    text.title.anchor = {Length::fromInches(7.5), Length::fromInches(1.5)};
    text.subtitle.text = "Subtitle with shadow";
    text.subtitle.style.effect = TextEffect::Shadow;
    text.spine.text = "Spine outlined";
    text.spine.style.effect = TextEffect::Outline;
    text.boxes.push_back({"Box", {}, newBoxAnchor(kDvd)});
    const QString pdf = pdfOf(text);

    // No picture for any text: the only image is the cover's own.
    const QString listing = kavi::testing::runTool("pdfimages", {"-list", pdf});
    EXPECT_EQ(listing.split('\n').filter(QRegularExpression("^\\s*1\\s+\\d+\\s+image ")).size(), 1)
        << listing.toStdString();
    EXPECT_FALSE(listing.contains("smask")) << listing.toStdString();
    // The words, upright and along the spine alike, are found by a reader.
    const QString words = kavi::testing::runTool("pdftotext", {pdf, "-"});
    for (const char* word : {"HHHH Title", "Subtitle with shadow", "Spine outlined", "Box"})
        EXPECT_TRUE(words.contains(QString::fromUtf8(word))) << word << " in:\n" << words.toStdString();
    // Four texts, one with an outline and one with a shadow, add far less than 100 KB.
    EXPECT_LT(QFileInfo(pdf).size(), 100 * 1024);

    // At 1200 dpi a stem of the title's H has sharp sides: across each, at most one pixel between
    // ink and paper (a 600 dpi picture scaled up blurs them over two or more).
    QTemporaryDir renders;
    const QString prefix = renders.filePath("fine");
    const int fine = 1200;
    const double left = kCoverLeft + 6, top = kCoverTop + 0.5;
    kavi::testing::runTool("pdftoppm",
                           {"-r", QString::number(fine), "-gray", "-singlefile", "-x",
                            QString::number(int(left * fine)), "-y", QString::number(int(top * fine)), "-W",
                            QString::number(3 * fine), "-H", QString::number(2 * fine), pdf, prefix});
    const QImage part(prefix + ".pgm");
    ASSERT_FALSE(part.isNull());
    const QRect ink = inkBox(part);
    ASSERT_FALSE(ink.isEmpty());
    const int row = ink.top() + ink.height() / 4; // through the stems, above the crossbar
    int between = 0, edges = 0;
    bool inInk = false;
    for (int x = std::max(0, ink.left() - 2); x < std::min(part.width(), ink.right() + 3); ++x) {
        const int grey = qGray(part.pixel(x, row));
        if (grey > 40 && grey < 215) ++between;
        if ((grey < 128) != inInk) {
            inInk = !inInk;
            ++edges;
        }
    }
    EXPECT_GE(edges, 8) << "both sides of each stem of the first H's";
    EXPECT_LE(between, edges) << "blurred sides";
}

TEST_F(PrintedCoverText, TextPastTheCoversEdgeEndsAtTheCutLineUprightAndTurned) {
    kavi::CoverText text = emptyCoverText(kDvd);
    // Full blocks, which join without gaps: the ink runs unbroken to wherever it is cut. Twenty
    // of them at 32 points are wider than the front.
    for (int i = 0; i < 20; ++i) text.title.text += "\xE2\x96\x88";
    text.title.style.sizePoints = 32;
    for (int i = 0; i < 12; ++i) text.spine.text += "\xE2\x96\x88";
    text.spine.anchor.y = Length::fromMillimetres(5); // half of it above the cover's top
    const QString pdf = pdfOf(text);
    const double coverRight = kCoverLeft + 15390 / 1440.0;

    // The title's row, from 1.5 in inside the cover's right edge to 0.5 in past it.
    const double partLeft = coverRight - 1.5, partTop = kCoverTop + 0.6;
    const QImage title = renderPart(pdf, partLeft, partTop, 2, 0.8);
    const QRect titleInk = inkBox(title);
    ASSERT_FALSE(titleInk.isEmpty()) << "no title near the edge";
    EXPECT_NEAR(partLeft + (titleInk.right() + 1) / double(kDpi), coverRight, 2.0 / kDpi)
        << "the title ends exactly at the cover's right edge, neither short of it nor past it";

    // The spine, from 0.3 in above the cover to 1 in down it.
    const double spineMiddle = kCoverLeft + 15390 / 1440.0 / 2;
    const double spineTop = kCoverTop - 0.3;
    const QImage spine = renderPart(pdf, spineMiddle - 0.3, spineTop, 0.6, 1.3);
    const QRect spineInk = inkBox(spine);
    ASSERT_FALSE(spineInk.isEmpty()) << "no spine text at the top";
    EXPECT_NEAR(spineTop + spineInk.top() / double(kDpi), kCoverTop, 2.0 / kDpi)
        << "the turned text ends at the cover's top edge";
}

TEST_F(PrintedCoverText, ALogosTransparentPartsPrintAsPaperInsideTheFillClip) {
    // 600 x 200: opaque red, blue at half coverage, and black that no one may see, in three bands.
    QImage logo(600, 200, QImage::Format_ARGB32);
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 0; x < logo.width(); ++x)
            logo.setPixel(x, y, x < 200 ? qRgba(200, 0, 0, 255) : x < 400 ? qRgba(0, 0, 255, 128) : qRgba(0, 0, 0, 0));
    const QString png = dir.filePath("logo.png"), pdf = dir.filePath("logo.pdf");
    ASSERT_TRUE(QImageWriter(png, "png").write(logo));
    const ToolRun run = runTool({"--fit", "fill", "-o", pdf, "dvd=" + png});
    ASSERT_EQ(run.status, 0) << run.stderrText.toStdString();

    // Filled onto the 10.6875 x 7.125 in cover, the logo is 21.375 in wide, and only its middle
    // half shows: red on the first 1.78 in, half blue to 8.91 in, then the hidden black.
    const QImage cover = renderPart(pdf, kCoverLeft - 0.5, kCoverTop, 15390 / 1440.0 + 1, 1);
    ASSERT_FALSE(cover.isNull());
    const auto at = [&cover](double inchesFromCoverLeft) {
        return cover.pixelColor(int((inchesFromCoverLeft + 0.5) * kDpi), kDpi / 2);
    };
    EXPECT_EQ(at(-0.25), QColor(Qt::white)) << "the Fill clip: no red left of the cover";
    EXPECT_EQ(at(0.9), QColor(200, 0, 0)) << "opaque";
    // Blue at 128 of 255 over white paper: 255 * 127 / 255 of white in red and green.
    const QColor half = at(5);
    EXPECT_NEAR(half.red(), 127, 2);
    EXPECT_NEAR(half.green(), 127, 2);
    EXPECT_EQ(half.blue(), 255);
    EXPECT_EQ(at(9.8), QColor(Qt::white)) << "fully transparent: white paper, not a black box";
    EXPECT_EQ(at(10.6875 + 0.25), QColor(Qt::white)) << "the Fill clip on the right";
}
