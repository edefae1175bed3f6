// SPDX-License-Identifier: GPL-3.0-or-later
// The print preview: its pages against the job and the PDF, the printable area, covers that do
// not fit, and its Print button against the print command.
#include "output/print/print_preview.h"
#include "platform/print/printer.h"
#include "tests/output/print/pdf_probe.h"
#include "tests/support/test_platform.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::TestPlatform;

namespace {

// A dark colour of its own for each kind, so a cover shows whose picture it got.
QColor colourOf(int kind) { return QColor(10 + 9 * kind, 100 - 8 * kind, 40 + 5 * kind); }

PrintSelection tick(std::initializer_list<int> kinds) {
    PrintSelection s;
    for (int n : kinds) {
        s.ticked[std::size_t(n - 1)] = true;
        QImage picture = kavi::testing::darkPicture(40, 30, QStringLiteral("Image%1").arg(n));
        picture.fill(colourOf(n));
        s.pictures[std::size_t(n - 1)] = picture;
    }
    return s;
}

QRect inches(const LengthRect& r, double dpi) {
    return QRectF(r.left.inches() * dpi, r.top.inches() * dpi, r.width.inches() * dpi, r.height.inches() * dpi)
        .toAlignedRect();
}

int pixelsOf(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
    return count;
}

void expectNear(const QRect& a, const QRect& b, int pixels) {
    EXPECT_NEAR(a.left(), b.left(), pixels);
    EXPECT_NEAR(a.top(), b.top(), pixels);
    EXPECT_NEAR(a.right(), b.right(), pixels);
    EXPECT_NEAR(a.bottom(), b.bottom(), pixels);
}

} // namespace

TEST(PrintPreview, ShowsThePagesInOrderWithEachCoversPicture) {
    TestPlatform t;
    t.printer.margins = std::array<double, 4>{0.25, 0.25, 0.25, 0.25};
    PrintPreviewWindow preview(t.platform, tick({1, 2, 3}));
    ASSERT_EQ(preview.job().pages.size(), 2u);
    EXPECT_EQ(preview.lblPage->text(), "Page 1 of 2");
    EXPECT_FALSE(preview.cmdPrevious->isEnabled());
    preview.cmdNext->click();
    EXPECT_EQ(preview.currentPage(), 1);
    EXPECT_EQ(preview.lblPage->text(), "Page 2 of 2");
    EXPECT_FALSE(preview.cmdNext->isEnabled());
    preview.cmdPrevious->click();
    EXPECT_EQ(preview.currentPage(), 0);

    preview.show();
    preview.cmdZoom100->click();
    EXPECT_EQ(preview.zoom(), t.platform.screen.logicalDpiX());
    preview.cmdZoomFit->click();
    EXPECT_LT(preview.zoom(), t.platform.screen.logicalDpiX()) << "a Letter sheet is larger than the window";
    const double fitted = preview.zoom();
    preview.resize(preview.width() / 2, preview.height() / 2);
    QApplication::processEvents();
    EXPECT_LT(preview.zoom(), fitted) << "the fit follows the window";

    const double dpi = 40;
    for (int i = 0; i < 2; ++i) {
        const QImage page = preview.pageImage(i, dpi);
        for (const PlacedCover& cover : preview.job().pages[std::size_t(i)].covers)
            EXPECT_EQ(page.pixelColor(inches(cover.rect, dpi).center()), colourOf(cover.kind))
                << "page " << i + 1 << ", kind " << cover.kind;
    }
}

// A large picture is drawn from its screen copy, whole: each row of the cover shows both halves.
TEST(PrintPreview, DrawsALargePictureWhole) {
    TestPlatform t;
    PrintSelection s = tick({4});
    QImage picture(3000, 2000, QImage::Format_RGB32);
    picture.fill(QColor(200, 0, 0));
    for (int y = 0; y < picture.height(); ++y)
        std::fill_n(reinterpret_cast<QRgb*>(picture.scanLine(y)) + 1500, 1500, qRgb(0, 0, 200));
    s.pictures[3] = picture;
    PrintPreviewWindow preview(t.platform, s);
    const double dpi = t.platform.screen.logicalDpiX();
    const QImage page = preview.pageImage(0, dpi);
    const QRect cover = inches(preview.job().pages[0].covers[0].rect, dpi);
    for (int y = cover.top() + 2; y < cover.bottom() - 2; ++y) {
        ASSERT_EQ(page.pixelColor(cover.left() + 4, y), QColor(200, 0, 0)) << "row " << y;
        ASSERT_EQ(page.pixelColor(cover.right() - 4, y), QColor(0, 0, 200)) << "row " << y;
    }
}

TEST(PrintPreview, DrawsThePrintableAreaOnlyForAPrinterThatTellsIt) {
    const QColor outline(110, 160, 230);
    TestPlatform printer;
    printer.printer.margins = std::array<double, 4>{0.5, 0.5, 0.5, 0.5};
    PrintPreviewWindow withArea(printer.platform, tick({4}));
    EXPECT_GT(pixelsOf(withArea.pageImage(0, 30), outline), 100);
    EXPECT_EQ(withArea.lblPrinter->text(), "Printer: Office");
    EXPECT_TRUE(withArea.spnCopies->isEnabled());

    TestPlatform silent;
    silent.printer.margins.reset();
    PrintPreviewWindow unknown(silent.platform, tick({4}));
    EXPECT_EQ(pixelsOf(unknown.pageImage(0, 30), outline), 0);
    EXPECT_TRUE(unknown.lblPrinter->text().contains("does not tell its printable area"));

    TestPlatform none;
    none.printer.failing = {"follow"};
    PrintPreviewWindow file(none.platform, tick({4}));
    EXPECT_TRUE(file.job().toFile);
    EXPECT_EQ(pixelsOf(file.pageImage(0, 30), outline), 0);
    EXPECT_FALSE(file.spnCopies->isEnabled()) << "a file is written once";
}

// The preview of a PDF job draws its covers where poppler finds them in the file Print writes.
TEST(PrintPreview, CoverRectanglesMatchThePdfOfTheSameJob) {
    QTemporaryDir dir;
    TestPlatform t; // no printer installed: the job is a PDF file
    CupsPrinterObject writer(t.printers);
    Platform withWriter = t.withPrinter(writer);
    PrintPreviewWindow preview(withWriter, tick({1, 2}));
    ASSERT_TRUE(preview.job().toFile);
    const QString pdf = dir.filePath("covers.pdf");
    t.saveDialog.answers = {{true, pdf, 0}};
    preview.cmdPrint->click();
    ASSERT_TRUE(preview.outcome().sent);
    EXPECT_EQ(preview.outcome().file, pdf);
    EXPECT_EQ(preview.result(), QDialog::Accepted);

    const int dpi = 72;
    const QRect inPdf = kavi::testing::inkBox(kavi::testing::renderPdfPage(pdf, 1, dpi));
    const QRect inPreview = kavi::testing::inkBox(preview.pageImage(0, dpi));
    ASSERT_FALSE(inPdf.isEmpty());
    expectNear(inPreview, inPdf, 1);
    expectNear(inPreview, inches(coversBounds(preview.job().pages[0].covers), dpi), 1);
}

TEST(PrintPreview, MarksACoverThatDoesNotFit) {
    const QColor red(220, 30, 30);
    TestPlatform t;
    t.printer.margins = std::array<double, 4>{0.5, 0.5, 0.5, 0.5};
    PrintPreviewWindow preview(t.platform, tick({9}));
    EXPECT_GT(pixelsOf(preview.pageImage(0, 30), red), 100);
    EXPECT_EQ(preview.lblFit->text(),
              "HD-DVD does not fit the printable area: 0.50 in (12.7 mm) is lost at the right edge.");

    TestPlatform roomy;
    roomy.printer.margins = std::array<double, 4>{0.25, 0.25, 0.25, 0.25};
    PrintPreviewWindow fits(roomy.platform, tick({9}));
    EXPECT_EQ(pixelsOf(fits.pageImage(0, 30), red), 0);
    EXPECT_TRUE(fits.lblFit->text().isEmpty());
}

TEST(PrintPreview, PrintSendsWhatThePrintCommandSendsWithTheCopies) {
    const PrintSelection covers = tick({1, 2, 3});
    TestPlatform command;
    const PrintOutcome printed = printCovers(command.platform, covers);
    ASSERT_TRUE(printed.sent);

    for (int copies : {1, 3}) {
        TestPlatform t;
        PrintPreviewWindow preview(t.platform, covers);
        preview.spnCopies->setValue(copies);
        preview.cmdPrint->click();
        std::vector<QString> expected = command.printer.ops;
        if (copies > 1) expected.insert(expected.begin() + 1, QStringLiteral("copies %1").arg(copies));
        EXPECT_EQ(t.printer.ops, expected) << copies << " copies";
        EXPECT_EQ(outcomeNotice(preview.outcome()), outcomeNotice(printed));
        EXPECT_EQ(preview.result(), QDialog::Accepted);
        ASSERT_EQ(t.messages.shown.size(), command.messages.shown.size());
        EXPECT_EQ(t.messages.shown[0].text, command.messages.shown[0].text) << "the same paper question";
    }

    // Cancel at the paper question: nothing is sent and the preview stays open.
    TestPlatform t;
    t.messages.answers = {MsgResult::Cancel};
    PrintPreviewWindow preview(t.platform, covers);
    preview.cmdPrint->click();
    EXPECT_EQ(t.printer.ops, std::vector<QString>{"follow 1"});
    EXPECT_FALSE(preview.outcome().sent);
    EXPECT_NE(preview.result(), QDialog::Accepted);

    // A job that does not go out is reported, and the preview stays open to try again.
    TestPlatform lost;
    lost.printer.failing = {"end document"};
    PrintPreviewWindow again(lost.platform, covers);
    again.cmdPrint->click();
    EXPECT_FALSE(again.outcome().sent);
    ASSERT_EQ(lost.messages.shown.size(), 2u);
    EXPECT_TRUE(lost.messages.shown[1].text.startsWith("The covers could not be sent to Office."));
    EXPECT_NE(again.result(), QDialog::Accepted);
}

TEST(PrintPreview, SaysWhenThereIsNothingToPreview) {
    TestPlatform t;
    EXPECT_FALSE(showPrintPreview(t.platform, PrintSelection{}, nullptr).sent);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, "Please select a cover option to print!");
    EXPECT_TRUE(t.printer.ops.empty());

    PrintSelection withoutPicture = tick({4});
    withoutPicture.pictures[3] = QImage();
    showPrintPreview(t.platform, withoutPicture, nullptr);
    ASSERT_EQ(t.messages.shown.size(), 2u);
    EXPECT_EQ(t.messages.shown[1].text, "The ticked cover (DVD) has no picture, so there is nothing to print.");
}

// The preview shows each cover's picture where its fit mode puts it, as the print does.
TEST(PrintPreview, FollowsTheFitModes) {
    TestPlatform t;
    PrintSelection s = tick({4}); // DVD, 3:2
    QImage picture(400, 100, QImage::Format_RGB32); // red, blue and green bands, four times wider than high
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 400; ++x)
            picture.setPixel(x, y, x < 100 ? qRgb(200, 0, 0) : x < 300 ? qRgb(0, 0, 200) : qRgb(0, 200, 0));
    s.pictures[3] = picture;
    const double dpi = 40;

    s.fitModes[3] = FitMode::Fill;
    PrintPreviewWindow filled(t.platform, s);
    QImage page = filled.pageImage(0, dpi);
    const QRect cover = inches(filled.job().pages[0].covers[0].rect, dpi);
    // Only the middle 150 of the 400 columns show: blue from edge to edge, nothing outside the cover.
    EXPECT_EQ(page.pixelColor(cover.left() + 2, cover.center().y()), QColor(0, 0, 200));
    EXPECT_EQ(page.pixelColor(cover.right() + 4, cover.center().y()), QColor(Qt::white));

    s.fitModes[3] = FitMode::Fit;
    PrintPreviewWindow fitted(t.platform, s);
    page = fitted.pageImage(0, dpi);
    EXPECT_EQ(page.pixelColor(cover.left() + 2, cover.center().y()), QColor(200, 0, 0));
    EXPECT_EQ(page.pixelColor(cover.center().x(), cover.top() + 4), QColor(Qt::white)) << "paper above the picture";
}

// Text lies on the cover, not on the picture: with Fit, a title at the top of the cover is drawn on
// the paper above a wide picture, where the print puts it.
// A DVD with an upright title and turned spine text, cut marks on and the pages corrected: the
// preview draws the text from the outlines the PDF carries, and both come out within 0.1 mm.
TEST(PrintPreview, TextAndMarksLieWhereThePdfHasThemOnACorrectedPage) {
    QTemporaryDir dir;
    TestPlatform t; // no printer installed: the job is a PDF file
    CupsPrinterObject writer(t.printers);
    Platform withWriter = t.withPrinter(writer);
    PrintSelection s = tick({4});
    QImage white(64, 43, QImage::Format_RGB32);
    white.fill(Qt::white);
    s.pictures[3] = white;
    s.texts[3] = emptyCoverText(4);
    s.texts[3].title.text = "HHHH";
    s.texts[3].title.style.sizePoints = 48;
    s.texts[3].spine.text = "SPINE";
    s.layout.cutMarks = true;
    s.fileCalibration = Calibration{3, -2, 101, 99};
    PrintPreviewWindow preview(withWriter, s);
    const QString pdf = dir.filePath("covers.pdf");
    t.saveDialog.answers = {{true, pdf, 0}};
    preview.cmdPrint->click();
    ASSERT_TRUE(preview.outcome().sent);

    const int dpi = 300;
    const QImage printed = kavi::testing::renderPdfPage(pdf, 1, dpi), shown = preview.pageImage(0, dpi);
    const QRect cover = inches(preview.job().pages[0].covers[0].rect, dpi).adjusted(2, 2, -2, -2);
    const QRect spine = inches(preview.job().pages[0].covers[0].rect, dpi);
    const QRect spineStrip(spine.left() + spine.width() * 46 / 100, spine.top() + 2, spine.width() * 8 / 100,
                           spine.height() - 4);
    const QRect front(spine.left() + spine.width() * 55 / 100, spine.top() + 2, spine.width() * 44 / 100,
                      spine.height() - 4);
    const double tenthMm = 0.1 / 25.4 * dpi;
    for (const QRect& part : {front, spineStrip}) {
        const QRect inPdf = kavi::testing::inkBox(printed.copy(part)),
                    inPreview = kavi::testing::inkBox(shown.copy(part));
        ASSERT_FALSE(inPdf.isEmpty());
        EXPECT_NEAR(inPreview.left(), inPdf.left(), tenthMm + 0.5);
        EXPECT_NEAR(inPreview.top(), inPdf.top(), tenthMm + 0.5);
        EXPECT_NEAR(inPreview.right(), inPdf.right(), tenthMm + 0.5);
        EXPECT_NEAR(inPreview.bottom(), inPdf.bottom(), tenthMm + 0.5);
    }
    // The marks, outside the cover, follow the corrected page in both.
    QImage printedMarks = printed, shownMarks = shown;
    for (QImage* page : {&printedMarks, &shownMarks}) {
        QPainter blank(page);
        blank.fillRect(cover.adjusted(-4, -4, 4, 4), Qt::white);
    }
    const QRect marksPdf = kavi::testing::inkBox(printedMarks), marksPreview = kavi::testing::inkBox(shownMarks);
    ASSERT_FALSE(marksPdf.isEmpty());
    expectNear(marksPreview, marksPdf, 2);
}

TEST(PrintPreview, DrawsTextOnTheCoverWhateverTheFit) {
    TestPlatform t;
    PrintSelection s = tick({4});
    QImage picture(400, 100, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 200));
    s.pictures[3] = picture;
    s.fitModes[3] = FitMode::Fit;
    s.texts[3] = emptyCoverText(4);
    s.texts[3].title.text = "MMMM";
    s.texts[3].title.style.sizePoints = 72;
    const double dpi = 40;
    PrintPreviewWindow preview(t.platform, s);
    const QImage page = preview.pageImage(0, dpi);
    const RenderedPage& rendered = preview.job().pages[0];
    const QRect cover = inches(rendered.covers[0].rect, dpi);
    const QRect shown = inches(rendered.pictures[0].picture, dpi);
    ASSERT_GT(shown.top() - cover.top(), 20) << "paper above the picture";
    int dark = 0;
    for (int y = cover.top() + 1; y < shown.top() - 1; ++y)
        for (int x = cover.left(); x <= cover.right(); ++x)
            if (qGray(page.pixel(x, y)) < 80) ++dark;
    EXPECT_GT(dark, 50) << "the title shows on the paper above the picture";
}

// A large logo (so the preview draws a screen copy of it) filled onto the DVD cover, with a title
// that runs past the cover's right edge: the logo's transparent parts show the paper, its
// half-transparent ones blend with it, and the title ends at the cover's edge as the print cuts it.
TEST(PrintPreview, ShowsTransparentPartsOnPaperAndCutsTextAtTheCoversEdge) {
    TestPlatform t;
    PrintSelection s = tick({4});
    QImage logo(3000, 1000, QImage::Format_ARGB32); // three times wider than high
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 0; x < logo.width(); ++x)
            logo.setPixel(x, y,
                          x < 1000       ? qRgba(200, 0, 0, 255)
                              : x < 2000 ? qRgba(0, 0, 255, 128)
                                         : qRgba(0, 0, 0, 0));
    s.pictures[3] = logo;
    s.fitModes[3] = FitMode::Fill; // its middle half shows: red, half blue, then the hidden black
    s.texts[3] = emptyCoverText(4);
    // Full blocks, which join without gaps: the ink runs unbroken to wherever it is cut.
    for (int i = 0; i < 20; ++i) s.texts[3].title.text += "\xE2\x96\x88";
    s.texts[3].title.style.sizePoints = 32;
    const double dpi = 60;
    PrintPreviewWindow preview(t.platform, s);
    const QImage page = preview.pageImage(0, dpi);
    const QRect cover = inches(preview.job().pages[0].covers[0].rect, dpi);
    const int middle = cover.top() + cover.height() * 3 / 4; // below the title
    const auto at = [&](double fraction) {
        return page.pixelColor(cover.left() + int(fraction * cover.width()), middle);
    };
    EXPECT_EQ(at(0.08), QColor(200, 0, 0));
    EXPECT_NEAR(at(0.5).red(), 127, 3) << "half blue over white paper";
    EXPECT_NEAR(at(0.5).green(), 127, 3);
    EXPECT_EQ(at(0.5).blue(), 255);
    EXPECT_EQ(at(0.92), QColor(Qt::white)) << "the hidden black stays hidden";

    // The title's rows: dark up to the cover's right edge, nothing dark past it.
    const int titleTop = cover.top() + int(cover.height() * 0.08),
              titleBottom = cover.top() + int(cover.height() * 0.2);
    int lastDark = -1;
    for (int y = titleTop; y <= titleBottom; ++y)
        for (int x = cover.left(); x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 100) lastDark = std::max(lastDark, x);
    EXPECT_LE(lastDark, cover.right()) << "nothing of the title past the cover's edge";
    EXPECT_GE(lastDark, cover.right() - 1) << "the title reaches the edge";
}
