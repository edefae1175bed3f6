// SPDX-License-Identifier: GPL-3.0-or-later
// A cover's design in the PDF the print job writes, looked at as a reader renders it at 600 dpi:
// transparent pictures over the photo, turned and half-opaque copies, gradients in Fit's margins,
// covers with only a background, track lists that must shrink into their box, the CD Back's end
// strips; and the recording printer's steps for designs plain and not.
#include "covers/cover_kinds.h"
#include "output/print/cover_design_drawing.h"
#include "output/print/print_job.h"
#include "platform/print/printer.h"
#include "render/track_list_outlines.h"
#include "tests/output/print/pdf_probe.h"
#include "tests/support/test_platform.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

using namespace kavi;
using kavi::testing::TestPlatform;

namespace {

constexpr int kDpi = 600;

struct Printed {
    QString pdf;
    PreparedJob job;
};

// The selection written as a PDF file by the real writer, as Export PDF writes it.
Printed printToPdf(const PrintSelection& s, const QTemporaryDir& dir, const QString& name = "covers.pdf") {
    // A page at 600 dpi is larger than Qt reads by default.
    QImageReader::setAllocationLimit(1024);
    TestPlatform t;
    CupsPrinterObject writer(t.printers);
    Printed printed{dir.filePath(name), {}};
    writer.printNextJobToFile(printed.pdf);
    printed.job = prepareJob(writer, s, true);
    EXPECT_TRUE(sendPreparedJob(writer, s, printed.job));
    return printed;
}

// A rectangle of the cover (its own coordinates) in pixels of the page rendered at kDpi.
QRect pixelsOf(const LengthRect& inCover, int kind, const LengthRect& coverOnSheet) {
    const LengthRect r = coverToSheet(inCover, coverKind(kind).printSize, coverOnSheet);
    return QRectF(r.left.inches() * kDpi, r.top.inches() * kDpi, r.width.inches() * kDpi, r.height.inches() * kDpi)
        .toAlignedRect();
}

LengthRect mm(double left, double top, double width, double height) {
    return {Length::fromMillimetres(left), Length::fromMillimetres(top), Length::fromMillimetres(width),
            Length::fromMillimetres(height)};
}

// A logo as a PNG file decodes it: the left half opaque red, the right half wholly transparent
// with a hidden magenta that must never show.
QImage logoFromPng() {
    QImage logo(64, 32, QImage::Format_ARGB32);
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 0; x < logo.width(); ++x)
            logo.setPixel(x, y, x < 32 ? qRgba(255, 0, 0, 255) : qRgba(255, 0, 255, 0));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(logo.save(&buffer, "PNG"));
    QImage decoded = QImage::fromData(png, "PNG");
    decoded.setText("slot", "Logo");
    return decoded;
}

QImage photo(int width, int height, QColor colour, const QString& slot) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    picture.setText("slot", slot);
    return picture;
}

bool near(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
        std::abs(a.blue() - b.blue()) <= tolerance;
}

CoverLayer pictureLayer(const LengthRect& box, std::size_t picture, int quarterTurns = 0, double opacity = 1) {
    CoverLayer layer;
    layer.type = LayerType::Picture;
    layer.box = box;
    layer.picture = picture;
    layer.quarterTurns = quarterTurns;
    layer.opacity = opacity;
    return layer;
}

std::vector<Track> fortyTracks() {
    std::vector<Track> tracks;
    for (int i = 1; i <= 40; ++i) tracks.push_back({i, "Song number " + std::to_string(i), "The Players", 180.0 + i});
    return tracks;
}

} // namespace

// A photo under a logo whose right half is transparent: the photo shows there and the hidden
// colour nowhere, also at the enlarged logo's edges. The same logo again turned a quarter and half
// opaque, and a third reaching past the cover's edge, which cuts it.
TEST(CoverDesignPdf, TransparentLogoOverAPhotoTurnedAndHalfOpaqueAndCutAtTheCoverEdge) {
    QTemporaryDir dir;
    PrintSelection s;
    s.ticked[3] = true;
    s.pictures[3] = photo(300, 200, QColor(0, 160, 0), "Image4");
    s.designPictures[3] = {{logoFromPng(), {}}};
    CoverDesign& design = s.designs[3];
    const LengthRect plain = mm(150, 20, 80, 40), turned = mm(150, 80, 40, 80), past = mm(250, 100, 60, 30);
    design.layers = {pictureLayer(plain, 0), pictureLayer(turned, 0, 1, 0.5), pictureLayer(past, 0)};
    const Printed printed = printToPdf(s, dir);
    const QImage page = kavi::testing::renderPdfPage(printed.pdf, 1, kDpi);
    ASSERT_FALSE(page.isNull());
    const LengthRect cover = printed.job.pages[0].covers[0].rect;
    const auto at = [&](const LengthRect& r) { return pixelsOf(r, 4, cover); };

    const QRect logo = at(plain);
    const QColor red(255, 0, 0), green(0, 160, 0);
    EXPECT_TRUE(near(page.pixelColor(logo.left() + logo.width() / 4, logo.center().y()), red, 8));
    EXPECT_TRUE(near(page.pixelColor(logo.left() + logo.width() * 3 / 4, logo.center().y()), green, 8))
        << "the photo shows through the transparent half";
    int hidden = 0;
    for (int y = logo.top() - 4; y <= logo.bottom() + 4; ++y)
        for (int x = logo.left() - 4; x <= logo.right() + 4; ++x) hidden += qBlue(page.pixel(x, y)) > 40;
    EXPECT_EQ(hidden, 0) << "no magenta from under the transparent pixels, not even at the edge";

    // Turned clockwise, the red half is on top; at half opacity it mixes with the photo.
    const QRect t = at(turned);
    const QColor mixed = page.pixelColor(t.center().x(), t.top() + t.height() / 4);
    EXPECT_TRUE(near(mixed, QColor(128, 80, 0), 12)) << mixed.name().toStdString();
    EXPECT_TRUE(near(page.pixelColor(t.center().x(), t.top() + t.height() * 3 / 4), green, 8));

    // The third logo is cut at the cover's right edge: paper just outside it.
    const QRect edge = at({Length(), Length(), coverKind(4).printSize.width, coverKind(4).printSize.height});
    const QRect cut = at(past);
    EXPECT_TRUE(near(page.pixelColor(edge.right() - 6, cut.center().y()), red, 8)) << "drawn up to the edge";
    EXPECT_EQ(page.pixelColor(edge.right() + 6, cut.center().y()), QColor(Qt::white)) << "and not past it";
}

// A gradient at 135 degrees (from the top-right corner to the bottom-left) under a wide picture
// shown with Fit: the paper bands above and below the picture carry the gradient's two ends. In a
// second job a Front with no picture but a colour prints, and an Inside with neither is left out.
TEST(CoverDesignPdf, GradientFillsFitsMarginsAndACoverWithOnlyABackgroundPrints) {
    QTemporaryDir dir;
    PrintSelection s;
    s.ticked[3] = true;
    s.pictures[3] = photo(400, 100, QColor(0, 0, 0), "Image4");
    s.fitModes[3] = FitMode::Fit;
    s.designs[3].background = {BackgroundFill::Gradient, 0xFF0000, 0x0000FF, 135};
    const Printed printed = printToPdf(s, dir);
    ASSERT_EQ(printed.job.pages.size(), 1u);
    const QImage dvd = kavi::testing::renderPdfPage(printed.pdf, 1, kDpi);
    const LengthRect cover = printed.job.pages[0].covers[0].rect;
    const QRect whole =
        pixelsOf({Length(), Length(), coverKind(4).printSize.width, coverKind(4).printSize.height}, 4, cover);
    const QColor topRight = dvd.pixelColor(whole.right() - 3, whole.top() + 3);
    const QColor bottomLeft = dvd.pixelColor(whole.left() + 3, whole.bottom() - 3);
    EXPECT_TRUE(near(topRight, QColor(255, 0, 0), 10)) << topRight.name().toStdString();
    EXPECT_TRUE(near(bottomLeft, QColor(0, 0, 255), 10)) << bottomLeft.name().toStdString();
    const QColor topLeft = dvd.pixelColor(whole.left() + 3, whole.top() + 3);
    EXPECT_GT(topLeft.red(), 40) << "a corner across the direction is a mix";
    EXPECT_GT(topLeft.blue(), 40);
    EXPECT_EQ(dvd.pixelColor(whole.center()), QColor(0, 0, 0)) << "the picture lies over the gradient";
    EXPECT_EQ(dvd.pixelColor(whole.left() - 6, whole.center().y()), QColor(Qt::white)) << "nothing past the cover";

    PrintSelection cd;
    cd.ticked[0] = cd.ticked[1] = true;
    cd.designs[0].background = {BackgroundFill::Colour, 0x20C040, 0, 0};
    EXPECT_EQ(coversWithoutPicture(cd), std::vector<QString>{"Inside"}) << "the Front has a design to print";
    const Printed both = printToPdf(cd, dir, "cd.pdf");
    ASSERT_EQ(both.job.pages.size(), 1u);
    ASSERT_EQ(both.job.pages[0].covers.size(), 1u) << "only the Front on the CD page";
    ASSERT_EQ(both.job.pages[0].covers[0].kind, 1);
    const QImage front = kavi::testing::renderPdfPage(both.pdf, 1, kDpi);
    const QRect f = pixelsOf({Length(), Length(), coverKind(1).printSize.width, coverKind(1).printSize.height}, 1,
                             both.job.pages[0].covers[0].rect);
    EXPECT_TRUE(near(front.pixelColor(f.center()), QColor(0x20, 0xC0, 0x40), 6));
    EXPECT_TRUE(near(front.pixelColor(f.left() + 2, f.top() + 2), QColor(0x20, 0xC0, 0x40), 6));
    EXPECT_EQ(front.pixelColor(f.right() + 6, f.center().y()), QColor(Qt::white));
}

// Forty lines do not fit a small box at 12 points: the list drops its size or takes two columns,
// every bit of ink stays inside the box, also on a page corrected by a calibration, and the words
// are in the file for a reader to find.
TEST(CoverDesignPdf, FortyTrackLinesShrinkIntoTheirBoxOnACorrectedPageAndStayFindable) {
    QTemporaryDir dir;
    PrintSelection s;
    s.ticked[2] = true;
    CoverLayer list;
    list.type = LayerType::TrackList;
    list.box = mm(20, 10, 100, 90);
    list.tracks = fortyTracks();
    list.style.sizePoints = 12;
    list.style.align = TextAlign::Left;
    s.designs[2].layers = {list};
    s.fileCalibration = Calibration{3, -2, 101, 99};

    const TrackListDrawing fitted = trackListOutlines(list.tracks, list.style, list.box);
    EXPECT_TRUE(fitted.fit.sizePoints < 12 || fitted.fit.columns == 2);
    EXPECT_TRUE(fitted.fit.leftOut.empty());

    const Printed printed = printToPdf(s, dir);
    const QImage page = kavi::testing::renderPdfPage(printed.pdf, 1, kDpi);
    const LengthRect cover = printed.job.pages[0].covers[0].rect;
    const QRect box = pixelsOf(list.box, 3, cover);
    const QRect ink = kavi::testing::inkBox(page);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(box.adjusted(-1, -1, 1, 1).contains(ink))
        << "ink " << ink.left() << "," << ink.top() << " to " << ink.right() << "," << ink.bottom();
    EXPECT_GT(ink.height(), box.height() / 2) << "the lines fill the box";

    const QString text = kavi::testing::runTool("pdftotext", {printed.pdf, "-"});
    EXPECT_TRUE(text.contains("Song number 37")) << text.toStdString();
}

// The end strips' text, large enough to run across the strips: ink on both, and nowhere else.
TEST(CoverDesignPdf, EndStripsInkOnlyInsideBothStripsReadingDownwards) {
    QTemporaryDir dir;
    PrintSelection s;
    s.ticked[2] = true;
    s.designs[2].endStrips.text = "MMMM GREATEST";
    s.designs[2].endStrips.style.sizePoints = 30;
    const Printed printed = printToPdf(s, dir);
    const QImage page = kavi::testing::renderPdfPage(printed.pdf, 1, kDpi);
    const LengthRect cover = printed.job.pages[0].covers[0].rect;
    const std::vector<LengthRect> strips = endStripsOf(3);
    ASSERT_EQ(strips.size(), 2u);
    QImage outside = page;
    for (const LengthRect& strip : strips) {
        const QRect r = pixelsOf(strip, 3, cover);
        const QRect ink = kavi::testing::inkBox(page.copy(r.adjusted(-1, -1, 1, 1)));
        ASSERT_FALSE(ink.isEmpty()) << "both strips carry the text";
        EXPECT_GT(ink.height(), 2 * ink.width()) << "the text runs along the strip";
        EXPECT_GT(ink.width(), r.width() * 8 / 10) << "30 points fill the strip's width, cut at its sides";
        QPainter blank(&outside);
        blank.fillRect(r.adjusted(-1, -1, 1, 1), Qt::white);
    }
    EXPECT_TRUE(kavi::testing::inkBox(outside).isEmpty()) << "no ink outside the strips";
}

namespace {

// The steps a selection sends to the recording printer.
std::vector<QString> recordedSteps(const PrintSelection& s) {
    TestPlatform t;
    t.printer.margins = std::array<double, 4>{0.25, 0.4, 0.25, 0.25};
    const PreparedJob job = prepareJob(t.printer, s, false);
    sendPreparedJob(t.printer, s, job);
    return t.printer.ops;
}

std::size_t indexOf(const std::vector<QString>& ops, const QString& prefix) {
    return std::size_t(std::find_if(ops.begin(), ops.end(), [&](const QString& op) { return op.startsWith(prefix); }) -
                       ops.begin());
}

} // namespace

// A design that adds nothing (no layers, or only the text boxes' own layer) sends exactly the steps
// of a cover without one. A design with the texts between a logo and a track list draws in that
// order, over the background and the picture, and the texts come last again once their layer goes.
TEST(CoverDesignSteps, PlainDesignsSendTodaysStepsAndLayersKeepTheirOrderOnAPageWithMargins) {
    PrintSelection s;
    s.ticked[3] = true;
    s.pictures[3] = photo(40, 30, QColor(20, 30, 90), "Image4");
    s.texts[3] = emptyCoverText(4);
    s.texts[3].title.text = "Title";
    const std::vector<QString> today = recordedSteps(s);
    CoverLayer texts;
    texts.type = LayerType::Texts;
    s.designs[3].layers = {texts};
    EXPECT_EQ(recordedSteps(s), today);

    CoverLayer list;
    list.type = LayerType::TrackList;
    list.box = mm(20, 20, 80, 60);
    list.tracks = {{1, "Opening", "", 200.0}};
    s.designPictures[3] = {{logoFromPng(), {}}};
    s.designs[3].background = {BackgroundFill::Colour, 0x112233, 0, 0};
    s.designs[3].layers = {pictureLayer(mm(10, 10, 30, 15), 0, 3, 0.25), texts, list};
    std::vector<QString> ops = recordedSteps(s);
    const double mmTwips = 1440 / 25.4;
    ASSERT_LT(indexOf(ops, "fill "), ops.size());
    const LengthSize size = coverKind(4).printSize;
    // The DVD lies at the printable corner, so its background starts at 0,0 from there.
    EXPECT_EQ(ops[indexOf(ops, "fill ")],
              QStringLiteral("fill 0,0 %1x%2 #112233").arg(size.width.twips()).arg(size.height.twips()));
    const std::size_t fill = indexOf(ops, "fill "), picture = indexOf(ops, "draw Image4"),
                      logo = indexOf(ops, "laid Logo"), text = indexOf(ops, "draw  "),
                      track = indexOf(ops, "outlines 1. Opening");
    EXPECT_LT(fill, picture);
    EXPECT_LT(picture, logo);
    EXPECT_LT(logo, text) << "the texts' layer lies over the logo";
    EXPECT_LT(text, track) << "and under the track list";
    ASSERT_LT(track, ops.size());
    EXPECT_EQ(ops[logo],
              QStringLiteral("laid Logo %1,%2 %3x%4 turns 3 opacity 0.25 clip 0,0 %5x%6")
                  .arg(10 * mmTwips)
                  .arg(10 * mmTwips)
                  .arg(30 * mmTwips)
                  .arg(15 * mmTwips)
                  .arg(size.width.twips())
                  .arg(size.height.twips()));

    s.designs[3].layers = {pictureLayer(mm(10, 10, 30, 15), 0), list};
    ops = recordedSteps(s);
    EXPECT_LT(indexOf(ops, "outlines 1. Opening"), indexOf(ops, "draw  ")) << "without their layer the texts come last";
}

// A further picture that is an unedited JPEG file goes into the PDF as the file's own bytes, and
// still turns: its left half (red) lies at the top of its box after a quarter turn clockwise.
TEST(CoverDesignPdf, AnUneditedJpegLayerTravelsAsItsFileAndTurns) {
    QImage halves(64, 32, QImage::Format_RGB32);
    halves.fill(QColor(0, 0, 255));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) halves.setPixel(x, y, qRgb(255, 0, 0));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(halves.save(&buffer, "JPEG", 95));
    QTemporaryDir dir;
    PrintSelection s;
    s.ticked[4] = true; // the Mini CD, with no picture of its own
    s.designPictures[4] = {{QImage::fromData(jpeg, "JPEG"), jpeg}};
    const LengthRect box = mm(20, 20, 40, 80);
    s.designs[4].layers = {pictureLayer(box, 0, 1)};
    const Printed printed = printToPdf(s, dir);
    QFile file(printed.pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("/DCTDecode")) << "the file's bytes, not pixels";
    EXPECT_TRUE(bytes.contains(jpeg.left(64))) << "the file as it was";

    const QImage page = kavi::testing::renderPdfPage(printed.pdf, 1, 100);
    const LengthRect cover = printed.job.pages[0].covers[0].rect;
    const LengthRect onSheet = coverToSheet(box, coverKind(5).printSize, cover);
    const QPoint top(int((onSheet.left + onSheet.width / 2).inches() * 100),
                     int((onSheet.top + onSheet.height / 4).inches() * 100));
    const QPoint bottom(top.x(), int((onSheet.top + onSheet.height * 0.75).inches() * 100));
    EXPECT_TRUE(near(page.pixelColor(top), QColor(255, 0, 0), 24)) << page.pixelColor(top).name().toStdString();
    EXPECT_TRUE(near(page.pixelColor(bottom), QColor(0, 0, 255), 24)) << page.pixelColor(bottom).name().toStdString();
}
