// SPDX-License-Identifier: GPL-3.0-or-later
// The pages kavi-cover writes, measured as poppler renders them at 600 dpi: every kind on the US
// sizes and on A4, centred on the sheet, with and without an offset and scale, within 0.005 in.
#include "covers/cover_kinds.h"
#include "covers/covers_together.h"
#include "tests/output/print/pdf_probe.h"
#include "tests/support/tool_test.h"

#include <gtest/gtest.h>

using namespace kavi;
using namespace kavi::testing;

namespace {

constexpr int kDpi = 600;
constexpr double kTolerance = 0.005; // inches
const char* const kNames[] = {"front", "inside", "back", "dvd", "mini", "psp", "ds", "slim", "hd", "blu"};

struct Expected {
    int page;
    double left, top, width, height; // inches
};

// First and last pixel of the run of the cover's colour that holds pixel `inside` of a rendered
// strip (a page may have two covers in one column).
bool isCoverColour(QRgb c) { return qBlue(c) > 60 && qRed(c) < 60; }

std::pair<int, int> extent(const QImage& strip, bool horizontal, int inside, bool (*colour)(QRgb) = isCoverColour) {
    const int length = horizontal ? strip.width() : strip.height();
    const auto isCover = [&](int i) {
        if (i < 0 || i >= length) return false;
        return colour(horizontal ? strip.pixel(i, strip.height() / 2) : strip.pixel(strip.width() / 2, i));
    };
    if (!isCover(inside)) return {-1, -1};
    int first = inside, last = inside;
    while (isCover(first - 1)) --first;
    while (isCover(last + 1)) ++last;
    return {first, last};
}

// A strip of the page at 600 dpi: a row (through y) or a column (through x), in inches.
QImage strip(const QString& pdf, int page, double at, bool horizontal, QSizeF sheet) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath("strip");
    const int pos = int(at * kDpi);
    QStringList args = {"-r", QString::number(kDpi), "-png", "-singlefile",
                        "-f", QString::number(page), "-l",   QString::number(page)};
    if (horizontal)
        args << "-x"
             << "0"
             << "-y" << QString::number(pos - 2) << "-W" << QString::number(int(sheet.width() * kDpi) + 2) << "-H"
             << "5";
    else
        args << "-x" << QString::number(pos - 2) << "-y"
             << "0"
             << "-W"
             << "5"
             << "-H" << QString::number(int(sheet.height() * kDpi) + 2);
    runTool("pdftoppm", args << pdf << prefix);
    return QImage(prefix + ".png");
}

class CoverGeometry : public ToolTest {
protected:
    CoverGeometry() : ToolTest("kavi-cover") {}
    void SetUp() override {
        ToolTest::SetUp();
        QImage dark(40, 30, QImage::Format_RGB32);
        dark.fill(QColor(20, 30, 90));
        picture = dir.filePath("cover.png");
        ASSERT_TRUE(dark.save(picture));
    }
    // Writes the kinds' PDF and checks every cover's four edges against what is expected.
    void check(const QStringList& options, const QStringList& kinds, const std::vector<Expected>& covers,
               const QString& what) {
        const QString pdf = dir.filePath("covers.pdf");
        QStringList args = options;
        args << "-o" << pdf;
        for (const QString& k : kinds) args << k + "=" + picture;
        const ToolRun run = runTool(args);
        ASSERT_EQ(run.status, 0) << what.toStdString() << ": " << run.stderrText.toStdString();
        const auto sizes = pdfPageSizes(pdf);
        for (const Expected& e : covers) {
            const QSizeF sheet = sizes.at(std::size_t(e.page - 1)) / 72.0;
            const int midX = int((e.left + e.width / 2) * kDpi), midY = int((e.top + e.height / 2) * kDpi);
            const auto [left, right] = extent(strip(pdf, e.page, e.top + e.height / 2, true, sheet), true, midX);
            const auto [top, bottom] = extent(strip(pdf, e.page, e.left + e.width / 2, false, sheet), false, midY);
            const std::string where = what.toStdString() + " page " + std::to_string(e.page);
            EXPECT_NEAR(left / double(kDpi), e.left, kTolerance) << where;
            EXPECT_NEAR((right + 1) / double(kDpi), e.left + e.width, kTolerance) << where;
            EXPECT_NEAR(top / double(kDpi), e.top, kTolerance) << where;
            EXPECT_NEAR((bottom + 1) / double(kDpi), e.top + e.height, kTolerance) << where;
        }
    }
    QString picture;
};

// The sheet of a kind's page in inches, as it lies.
QSizeF sheetOf(const CoverKind& k, bool a4) {
    const double w = a4 ? 210 / 25.4 : 8.5, h = a4 ? 297 / 25.4 : (k.paper == Paper::Legal ? 14.0 : 11.0);
    return k.orientation == Orientation::Landscape ? QSizeF(h, w) : QSizeF(w, h);
}

} // namespace

TEST_F(CoverGeometry, EverySingleKindIsCentredAtRealSizeAndCalibratedFromTheSheetCorner) {
    for (bool a4 : {false, true})
        for (bool calibrated : {false, true})
            for (int kind = 4; kind <= 10; ++kind) {
                const CoverKind& k = coverKind(kind);
                const QSizeF sheet = sheetOf(k, a4);
                const double w = k.printSize.width.inches(), h = k.printSize.height.inches();
                double left = (sheet.width() - w) / 2, top = (sheet.height() - h) / 2;
                double width = w, height = h;
                QStringList options = {"--paper", a4 ? "a4" : "us"};
                if (calibrated) {
                    options << "--offset"
                            << "-3.5,2"
                            << "--scale"
                            << "98.5,101.5";
                    left = left * 0.985 - 3.5 / 25.4, top = top * 1.015 + 2 / 25.4;
                    width *= 0.985, height *= 1.015;
                }
                check(
                    options, {kNames[kind - 1]}, {{1, left, top, width, height}},
                    QStringLiteral("%1 %2%3").arg(kNames[kind - 1], a4 ? "A4" : "US", calibrated ? " calibrated" : ""));
            }
}

TEST_F(CoverGeometry, TheJewelCaseCoversKeepTheirPlacesCentredAsAGroup) {
    const double square = 4.75, second = 7563.0 / 1440, backW = 5.9, backH = 4.65;
    for (bool a4 : {false, true}) {
        const QSizeF sheet = a4 ? QSizeF(210 / 25.4, 297 / 25.4) : QSizeF(8.5, 11);
        const double groupH = second + square;
        const double left = (sheet.width() - square) / 2, top = (sheet.height() - groupH) / 2;
        check({"--paper", a4 ? "a4" : "us"}, {"front", "inside", "back"},
              {{1, left, top, square, square},
               {1, left, top + second, square, square},
               {2, (sheet.width() - backW) / 2, (sheet.height() - backH) / 2, backW, backH}},
              a4 ? "jewel case A4" : "jewel case US");
    }
}

namespace {

// Half way between the picture's dark blue and the red of its mark, so a smoothed edge is found
// where the pixels meet.
bool isMarkColour(QRgb c) { return qRed(c) > 110; }

// A dark blue picture with a red square of a fifth of its short side in the middle.
QString markedPicture(const QTemporaryDir& dir, int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(QColor(20, 30, 90));
    const int side = std::min(width, height) / 2;
    for (int y = (height - side) / 2; y < (height + side) / 2; ++y)
        for (int x = (width - side) / 2; x < (width + side) / 2; ++x) picture.setPixel(x, y, qRgb(200, 20, 20));
    const QString path = dir.filePath(QStringLiteral("marked-%1x%2.png").arg(width).arg(height));
    return picture.save(path) ? path : QString();
}

} // namespace

// The DVD cover (10.6875 x 7.125 in, centred on Legal) with a picture four times wider than high
// and one four times higher than wide: the picture's edges where each fit mode puts them, and the
// square in its middle still square where the mode keeps proportions.
TEST_F(CoverGeometry, FitModesPlaceTheWholePictureOrFillTheCoverKeepingItsProportions) {
    const double coverW = 10.6875, coverH = 7.125, coverL = (14 - coverW) / 2, coverT = (8.5 - coverH) / 2;
    const QSizeF sheet(14, 8.5);
    struct Case {
        int width, height;
        const char* fit;
    };
    for (const Case& c : {Case{400, 100, "stretch"}, Case{400, 100, "fill"}, Case{400, 100, "fit"},
                          Case{100, 400, "stretch"}, Case{100, 400, "fill"}, Case{100, 400, "fit"}}) {
        const QString fit = QString::fromLatin1(c.fit);
        const std::string what = std::to_string(c.width) + "x" + std::to_string(c.height) + " " + c.fit;
        const QString path = markedPicture(dir, c.width, c.height);
        ASSERT_FALSE(path.isEmpty());
        const QString pdf = dir.filePath("fit.pdf");
        const ToolRun run = runTool({"--fit", fit, "-o", pdf, "dvd=" + path});
        ASSERT_EQ(run.status, 0) << what << ": " << run.stderrText.toStdString();

        // Where the whole picture lies (before the cover cuts it off) and its scale in each direction.
        double scaleX = coverW / c.width, scaleY = coverH / c.height;
        if (fit != "stretch") {
            const double s = fit == "fill" ? std::max(scaleX, scaleY) : std::min(scaleX, scaleY);
            scaleX = scaleY = s;
        }
        const double pictureW = c.width * scaleX, pictureH = c.height * scaleY;
        const double pictureL = coverL + (coverW - pictureW) / 2, pictureT = coverT + (coverH - pictureH) / 2;
        // The dark blue shows only inside the cover.
        const double shownL = std::max(pictureL, coverL), shownT = std::max(pictureT, coverT);
        const double shownR = std::min(pictureL + pictureW, coverL + coverW);
        const double shownB = std::min(pictureT + pictureH, coverT + coverH);

        // Measured along lines through the dark part, clear of the mark.
        const double rowY = shownT + (shownB - shownT) * 0.1, columnX = shownL + (shownR - shownL) * 0.1;
        const auto [left, right] = extent(strip(pdf, 1, rowY, true, sheet), true, int((shownL + 0.05) * kDpi));
        const auto [top, bottom] = extent(strip(pdf, 1, columnX, false, sheet), false, int((shownT + 0.05) * kDpi));
        EXPECT_NEAR(left / double(kDpi), shownL, kTolerance) << what;
        EXPECT_NEAR((right + 1) / double(kDpi), shownR, kTolerance) << what;
        EXPECT_NEAR(top / double(kDpi), shownT, kTolerance) << what;
        EXPECT_NEAR((bottom + 1) / double(kDpi), shownB, kTolerance) << what;

        // The mark: in the middle of the cover, its side scaled by the mode.
        const double side = std::min(c.width, c.height) / 2;
        const double markW = side * scaleX, markH = side * scaleY;
        const double midX = coverL + coverW / 2, midY = coverT + coverH / 2;
        const auto [markL, markR] = extent(strip(pdf, 1, midY, true, sheet), true, int(midX * kDpi), isMarkColour);
        const auto [markT, markB] = extent(strip(pdf, 1, midX, false, sheet), false, int(midY * kDpi), isMarkColour);
        const double measuredW = (markR + 1 - markL) / double(kDpi), measuredH = (markB + 1 - markT) / double(kDpi);
        // Poppler smooths an enlarged picture with its pixel centres on whole positions, which moves
        // what is inside the picture (not its edges, checked above) by up to half a picture pixel.
        const double smoothedX = kTolerance + scaleX / 2, smoothedY = kTolerance + scaleY / 2;
        EXPECT_NEAR(markL / double(kDpi), midX - markW / 2, smoothedX) << what;
        EXPECT_NEAR(measuredW, markW, kTolerance) << what;
        EXPECT_NEAR(markT / double(kDpi), midY - markH / 2, smoothedY) << what;
        EXPECT_NEAR(measuredH, markH, kTolerance) << what;
        if (fit != "stretch") {
            EXPECT_NEAR(measuredW / measuredH, 1.0, 0.005) << what << ": the square stays square";
        }
    }
}

// HD-DVD on Legal sideways: centred on the longer sheet at its real size.
TEST_F(CoverGeometry, HdDvdAndBluRayOnLegalAreCentredOnTheLongerSheet) {
    for (const char* kind : {"hd", "blu"}) {
        const double w = 10.5, h = 5.875;
        check({"--sheet", "hd=legal"}, {kind}, {{1, (14 - w) / 2, (8.5 - h) / 2, w, h}},
              QStringLiteral("%1 on Legal").arg(kind));
    }
    const auto sizes = pdfPageSizes(dir.filePath("covers.pdf"));
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_NEAR(sizes[0].width(), 1008, 0.5);
    EXPECT_NEAR(sizes[0].height(), 612, 0.5);
}

// Covers put together on a PDF file's sheet: largest first in rows, the gap for both covers' marks
// between them, the group centred; each cover exact and none overlapping.
TEST_F(CoverGeometry, CoversPutTogetherShareASheetAtTheirRealSizes) {
    const double gap = gapBetweenCovers().inches(), square = 4.75, backW = 5.9, backH = 4.65;
    for (bool a4 : {false, true}) {
        const QSizeF sheet = a4 ? QSizeF(210 / 25.4, 297 / 25.4) : QSizeF(8.5, 11);
        const double groupH = backH + gap + square;
        const double left = (sheet.width() - backW) / 2, top = (sheet.height() - groupH) / 2;
        check({"--together", "--paper", a4 ? "a4" : "us"}, {"front", "back"},
              {{1, left, top, backW, backH}, {1, left, top + backH + gap, square, square}},
              a4 ? "front and back on A4" : "front and back on Letter");
        EXPECT_EQ(pdfPageSizes(dir.filePath("covers.pdf")).size(), 1u) << "one sheet";
    }
    // Four Mini CDs, two by two on Letter sideways.
    const double w = 3.25, h = 3.45;
    const double left = (11 - (2 * w + gap)) / 2, top = (8.5 - (2 * h + gap)) / 2;
    check({"--together"}, {"mini"},
          {{1, left, top, w, h},
           {1, left + w + gap, top, w, h},
           {1, left, top + h + gap, w, h},
           {1, left + w + gap, top + h + gap, w, h}},
          "four mini cds");
    EXPECT_EQ(pdfPageSizes(dir.filePath("covers.pdf")).size(), 1u);
}
