// SPDX-License-Identifier: GPL-3.0-or-later
// kavi-cover --bleed, measured on the PDF as poppler renders it at 600 dpi: a DVD photo filled or
// stretched with 3 mm of bleed reaches 3 mm past each cut line and no further, its cut marks start
// beyond the bleed, and a bleed the program does not know is refused with one line.
#include "tests/output/print/pdf_probe.h"
#include "tests/support/tool_test.h"

#include <gtest/gtest.h>

using namespace kavi::testing;

namespace {

constexpr int kDpi = 600;
constexpr double kMm = kDpi / 25.4; // pixels per millimetre
// The DVD page: Legal turned, the cover centred on it.
constexpr double kSheetWidth = 355.6, kSheetHeight = 215.9;
constexpr double kCoverWidth = 15390 / 1440.0 * 25.4, kCoverHeight = 10260 / 1440.0 * 25.4;
constexpr double kLeft = (kSheetWidth - kCoverWidth) / 2, kTop = (kSheetHeight - kCoverHeight) / 2;

// One row (at y mm) or column (at x mm) of the first page, 600 dpi.
QImage line(const QString& pdf, double at, bool row) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath("line");
    const int pos = int(at * kMm);
    QStringList args = {"-r", QString::number(kDpi), "-png", "-singlefile", "-f", "1", "-l", "1"};
    if (row)
        args << "-x"
             << "0"
             << "-y" << QString::number(pos) << "-W" << QString::number(int(kSheetWidth * kMm)) << "-H"
             << "1";
    else
        args << "-x" << QString::number(pos) << "-y"
             << "0"
             << "-W"
             << "1"
             << "-H" << QString::number(int(kSheetHeight * kMm));
    runTool("pdftoppm", args << pdf << prefix);
    return QImage(prefix + ".png");
}

// The pixel of a row or column at a position in millimetres.
int grey(const QImage& image, double mm, bool row) {
    const int p = int(mm * kMm);
    return qGray(row ? image.pixel(p, 0) : image.pixel(0, p));
}

// A dark photo-like picture, wider than the DVD cover, every pixel different and every one dark.
QImage darkPhoto() {
    QImage photo(600, 300, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x) photo.setPixel(x, y, qRgb(x % 70, y % 90, 60 + (x + y) % 50));
    return photo;
}

class CoverBleed : public ToolTest {
protected:
    CoverBleed() : ToolTest("kavi-cover") {}
};

} // namespace

TEST_F(CoverBleed, AFilledOrStretchedPhotoReachesThreeMillimetresPastEachCutLineAndTheMarksStartBeyond) {
    const QString photo = dir.filePath("photo.jpg");
    ASSERT_TRUE(darkPhoto().save(photo, "JPEG", 95));
    for (const char* fit : {"fill", "stretch"}) {
        const QString pdf = dir.filePath(QStringLiteral("dvd-%1.pdf").arg(fit));
        const ToolRun run = this->runTool({"--bleed", "3", "--marks", "--fit", fit, "-o", pdf, "dvd=" + photo});
        ASSERT_EQ(run.status, 0) << run.stderrText.toStdString();
        const QImage across = line(pdf, kTop + kCoverHeight / 2, true);
        const QImage down = line(pdf, kLeft + kCoverWidth / 3, false);
        ASSERT_FALSE(across.isNull() || down.isNull());
        const auto inkAt = [&](const QImage& l, double mm, bool row) { return grey(l, mm, row) < 128; };
        const auto whiteAt = [&](const QImage& l, double mm, bool row) { return grey(l, mm, row) > 240; };
        for (double out : {2.8, -2.8}) { // past the left and right cut lines, then the top and bottom ones
            const double beyond = out > 0 ? 3.2 : -3.2;
            EXPECT_TRUE(inkAt(across, out > 0 ? kLeft - out : kLeft + kCoverWidth - out, true)) << fit << out;
            EXPECT_TRUE(whiteAt(across, out > 0 ? kLeft - beyond : kLeft + kCoverWidth - beyond, true)) << fit << out;
            EXPECT_TRUE(inkAt(down, out > 0 ? kTop - out : kTop + kCoverHeight - out, false)) << fit << out;
            EXPECT_TRUE(whiteAt(down, out > 0 ? kTop - beyond : kTop + kCoverHeight - beyond, false)) << fit << out;
        }
        // Along the top cut line: the bleed, then the gap, then the mark 4.5 to 9.5 mm out, then paper.
        const QImage cutLine = line(pdf, kTop, true);
        EXPECT_TRUE(inkAt(cutLine, kLeft - 2.8, true)) << fit;
        EXPECT_TRUE(whiteAt(cutLine, kLeft - 3.5, true)) << fit << ": the gap between bleed and mark";
        EXPECT_TRUE(whiteAt(cutLine, kLeft - 4.2, true)) << fit;
        EXPECT_TRUE(inkAt(cutLine, kLeft - 4.8, true)) << fit << ": the mark";
        EXPECT_TRUE(inkAt(cutLine, kLeft - 9.2, true)) << fit;
        EXPECT_TRUE(whiteAt(cutLine, kLeft - 9.8, true)) << fit;
        EXPECT_TRUE(inkAt(cutLine, kLeft + kCoverWidth + 4.8, true)) << fit << ": the right one";
    }
}

TEST_F(CoverBleed, ABleedOtherThanNoneTwoOrThreeMillimetresIsRefusedWithOneLine) {
    const QString pdf = dir.filePath("out.pdf");
    for (const char* bad : {"5", "2.5", "-3", "three"}) {
        const ToolRun run = this->runTool({"--bleed", bad, "-o", pdf, "dvd=" + input});
        EXPECT_EQ(run.status, 2) << bad << ": a bad command line";
        EXPECT_EQ(run.stderrText.count('\n'), 1) << run.stderrText.toStdString();
        EXPECT_TRUE(run.stderrText.contains(QStringLiteral("unknown bleed \"%1\"").arg(bad)))
            << run.stderrText.toStdString();
    }
    EXPECT_FALSE(QFile::exists(pdf));
    const ToolRun none = this->runTool({"--bleed=0", "-o", pdf, "dvd=" + input});
    EXPECT_EQ(none.status, 0) << none.stderrText.toStdString();
}
