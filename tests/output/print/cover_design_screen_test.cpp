// SPDX-License-Identifier: GPL-3.0-or-later
// A cover's design on the screen: the preview against the PDF of the same job, and the cover
// painter of the tab and the layout window against its own uncached drawing as the design changes.
#include "covers/cover_kinds.h"
#include "output/print/cover_painter.h"
#include "output/print/print_preview.h"
#include "platform/print/printer.h"
#include "tests/output/print/pdf_probe.h"
#include "tests/support/test_platform.h"

#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::TestPlatform;

namespace {

LengthRect mm(double left, double top, double width, double height) {
    return {Length::fromMillimetres(left), Length::fromMillimetres(top), Length::fromMillimetres(width),
            Length::fromMillimetres(height)};
}

QPoint pixelAt(const LengthRect& coverOnSheet, int kind, double xMm, double yMm, double dpi) {
    const LengthRect r = coverToSheet(mm(xMm, yMm, 0, 0), coverKind(kind).printSize, coverOnSheet);
    return QPoint(int(r.left.inches() * dpi), int(r.top.inches() * dpi));
}

int difference(QColor a, QColor b) {
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())});
}

// A half-transparent logo: the top half opaque orange, the rest transparent.
QImage logo() {
    QImage picture(40, 40, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.fillRect(0, 0, 40, 20, QColor(250, 140, 0));
    return picture;
}

// A DVD with a left-to-right gradient in the margins of a tall picture shown with Fit, a logo
// turned a quarter at half opacity, and a track list.
PrintSelection designedDvd() {
    PrintSelection s;
    s.ticked[3] = true;
    QImage picture(100, 300, QImage::Format_RGB32);
    picture.fill(QColor(30, 30, 30));
    s.pictures[3] = picture;
    s.fitModes[3] = FitMode::Fit;
    s.designs[3].background = {BackgroundFill::Gradient, 0xFFFF00, 0x0000FF, 0};
    s.designPictures[3] = {{logo(), {}}};
    CoverLayer picked;
    picked.type = LayerType::Picture;
    picked.box = mm(200, 20, 40, 40);
    picked.quarterTurns = 1;
    picked.opacity = 0.5;
    CoverLayer list;
    list.type = LayerType::TrackList;
    list.box = mm(20, 100, 70, 60);
    for (int i = 1; i <= 12; ++i) list.tracks.push_back({i, "Track " + std::to_string(i), "", 200.0});
    list.style.sizePoints = 11;
    s.designs[3].layers = {picked, list};
    return s;
}

} // namespace

// The preview's page and the PDF's agree in the gradient's two ends, the turned translucent logo
// and where the track list's ink lies.
TEST(CoverDesignScreen, PreviewAgreesWithThePdfOfTheSameDesign) {
    QTemporaryDir dir;
    TestPlatform t; // no printer: the job is a PDF file
    CupsPrinterObject writer(t.printers);
    Platform withWriter = t.withPrinter(writer);
    PrintPreviewWindow preview(withWriter, designedDvd());
    const QString pdf = dir.filePath("covers.pdf");
    t.saveDialog.answers = {{true, pdf, 0}};
    preview.cmdPrint->click();
    ASSERT_TRUE(preview.outcome().sent);

    const double dpi = 100;
    const QImage printed = kavi::testing::renderPdfPage(pdf, 1, int(dpi)), shown = preview.pageImage(0, dpi);
    const LengthRect cover = preview.job().pages[0].covers[0].rect;
    struct Sample {
        double x, y;
        const char* what;
    };
    const Sample samples[] = {{3, 60, "the gradient's start in the left margin"},
                              {268, 60, "its end in the right margin"},
                              {232, 40, "the logo's opaque half, turned to the right"},
                              {208, 40, "the logo's transparent half, turned to the left"},
                              {135, 90, "the picture"}};
    for (const Sample& s : samples) {
        const QPoint p = pixelAt(cover, 4, s.x, s.y, dpi);
        EXPECT_LE(difference(shown.pixelColor(p), printed.pixelColor(p)), 14)
            << s.what << ": preview " << shown.pixelColor(p).name().toStdString() << ", PDF "
            << printed.pixelColor(p).name().toStdString();
    }
    EXPECT_GT(printed.pixelColor(pixelAt(cover, 4, 3, 60, dpi)).red(), 220);
    EXPECT_GT(printed.pixelColor(pixelAt(cover, 4, 268, 60, dpi)).blue(), 220);
    const QColor opaque = printed.pixelColor(pixelAt(cover, 4, 232, 40, dpi)),
                 clear = printed.pixelColor(pixelAt(cover, 4, 208, 40, dpi));
    EXPECT_GT(opaque.red(), clear.red() + 50) << "orange at half opacity on the right only";
    EXPECT_LT(opaque.blue(), clear.blue() - 50);

    const QPoint listCorner = pixelAt(cover, 4, 20, 100, dpi), listEnd = pixelAt(cover, 4, 90, 160, dpi);
    const QRect listBox(listCorner, listEnd);
    const QRect inPdf = kavi::testing::inkBox(printed.copy(listBox)),
                inPreview = kavi::testing::inkBox(shown.copy(listBox));
    ASSERT_FALSE(inPdf.isEmpty());
    EXPECT_NEAR(inPreview.left(), inPdf.left(), 2);
    EXPECT_NEAR(inPreview.top(), inPdf.top(), 2);
    EXPECT_NEAR(inPreview.right(), inPdf.right(), 2);
    EXPECT_NEAR(inPreview.bottom(), inPdf.bottom(), 2);
}

// The cached painter draws what the uncached one draws, composes once for repeated repaints, and
// composes again when the background, a further picture or the size changes.
TEST(CoverDesignScreen, CoverPainterCacheFollowsEveryChangeAndMatchesTheUncachedDrawing) {
    const PrintSelection s = designedDvd();
    CoverToPaint cover{4, s.pictures[3], s.fitModes[3], s.texts[3], s.designs[3], s.designPictures[3]};
    const QRectF target(10, 10, 540, 360);
    const auto paint = [&](CoverPaintCache* cache) {
        QImage canvas(560, 380, QImage::Format_RGB32);
        canvas.fill(Qt::gray);
        QPainter painter(&canvas);
        paintCover(painter, target, cover, cache);
        return canvas;
    };
    CoverPaintCache cache;
    const QImage cached = paint(&cache), again = paint(&cache), direct = paint(nullptr);
    EXPECT_EQ(cache.compositions(), 1) << "a repaint draws the composed cover";
    EXPECT_EQ(cached, again);
    int differing = 0;
    for (int y = 12; y < 368; ++y)
        for (int x = 12; x < 548; ++x) differing += difference(cached.pixelColor(x, y), direct.pixelColor(x, y)) > 24;
    EXPECT_LT(differing, 300) << "only edge pixels may differ";
    EXPECT_EQ(cached.pixelColor(5, 5), QColor(Qt::gray)) << "nothing outside the target";

    const QPoint margin(20, 200);
    cover.design.background = {BackgroundFill::Colour, 0x00C000, 0, 0};
    EXPECT_EQ(paint(&cache).pixelColor(margin), QColor(0, 0xC0, 0));
    EXPECT_EQ(cache.compositions(), 2);

    QImage other(40, 40, QImage::Format_ARGB32);
    other.fill(QColor(0, 0, 255));
    cover.pictures[0].pixels = other;
    const QPoint logoPoint(int(10 + 540 * 232 / 271.5), int(10 + 360 * 40 / 181));
    const QColor blue = paint(&cache).pixelColor(logoPoint);
    EXPECT_GT(blue.blue(), 100) << "the new further picture shows";
    EXPECT_EQ(cache.compositions(), 3);

    // A title, then another: the texts' kept outlines follow the text.
    const auto darkIn = [](const QImage& image, const QRect& area) {
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) dark += qGray(image.pixel(x, y)) < 60;
        return dark;
    };
    cover.design.background = {BackgroundFill::Colour, 0xFFFFFF, 0, 0};
    cover.text = emptyCoverText(4);
    cover.text.title.text = "WWWW";
    cover.text.title.style.sizePoints = 40;
    const QRect title(int(target.left() + target.width() * 0.62), int(target.top()), int(target.width() * 0.37), 60);
    const int first = darkIn(paint(&cache), title);
    EXPECT_GT(first, 200);
    cover.text.title.text = "i";
    EXPECT_LT(darkIn(paint(&cache), title), first / 4) << "the new, shorter title, not the kept one";
    EXPECT_EQ(cache.compositions(), 5);
}
