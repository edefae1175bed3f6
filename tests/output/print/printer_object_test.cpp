// SPDX-License-Identifier: GPL-3.0-or-later
// The real printer object where no printer is needed: its settings, the landscape margins, and
// jobs written as PDF files at real size.
#include "platform/print/printer.h"
#include "tests/output/print/pdf_probe.h"
#include "tests/support/test_platform.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kavi;
using namespace kavi::testing;

namespace {
// A rectangle from the printable corner, in twips.
LengthRect twips(double x, double y, double width, double height) {
    return {Length::fromTwips(x), Length::fromTwips(y), Length::fromTwips(width), Length::fromTwips(height)};
}
} // namespace

TEST(PrinterObject, LandscapeMarginsAreThePortraitOnesTurned) {
    const Margins m = turnedForLandscape({10, 40, 30, 20});
    EXPECT_EQ(m.left, 20);
    EXPECT_EQ(m.top, 10);
    EXPECT_EQ(m.right, 40);
    EXPECT_EQ(m.bottom, 30);
}

TEST(PrinterObject, SettingsAndFollowingTheDefault) {
    InMemoryPrinters printers;
    CupsPrinterObject printer(printers);
    EXPECT_FALSE(printer.setFollowDefault(true)); // no printer installed
    printers.install({"Office"});
    EXPECT_TRUE(printer.setFollowDefault(true));
    printers.deviceEntry.clear();
    EXPECT_FALSE(printer.setFollowDefault(true)); // installed, but none is the default

    EXPECT_EQ(printer.paperSize(), Paper::Letter);
    EXPECT_EQ(printer.orientation(), Orientation::Portrait);
    EXPECT_FALSE(printer.setPaperSize(static_cast<Paper>(8)));
    EXPECT_FALSE(printer.setOrientation(static_cast<Orientation>(0)));
    EXPECT_TRUE(printer.setPaperSize(Paper::A4));
    EXPECT_EQ(printer.paperSize(), Paper::A4);
    EXPECT_TRUE(printer.setPaperSize(Paper::Legal));
    EXPECT_TRUE(printer.setOrientation(Orientation::Landscape));
    EXPECT_EQ(printer.paperSize(), Paper::Legal);
    EXPECT_EQ(printer.orientation(), Orientation::Landscape);

    EXPECT_FALSE(printer.drawPicture(QImage(), twips(0, 0, 100, 100)));
    EXPECT_FALSE(printer.endDocument()); // nothing drawn, nothing to hand over
    // No default printer: drawing fails instead of printing somewhere unexpected.
    EXPECT_FALSE(printer.drawPicture(darkPicture(4, 4, ""), twips(0, 0, 100, 100)));
}

TEST(PrinterObject, PdfJobPlacesCoversAtRealSize) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("covers.pdf");
    InMemoryPrinters printers;
    CupsPrinterObject printer(printers);
    printer.printNextJobToFile(pdf);
    printer.setPaperSize(Paper::Legal);
    printer.setOrientation(Orientation::Landscape);
    ASSERT_TRUE(printer.drawPicture(darkPicture(400, 300, "DS"), twips(1440, 720, 15652.8, 6580.8)));
    EXPECT_FALSE(QFile::exists(pdf)); // written beside it until the job ends
    ASSERT_TRUE(printer.endDocument());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"covers.pdf"});

    const auto sizes = pdfPageSizes(pdf);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_NEAR(sizes[0].width(), 1008, 0.5);
    EXPECT_NEAR(sizes[0].height(), 612, 0.5);
    const int dpi = 200;
    const QRect box = inkBox(renderPdfPage(pdf, 1, dpi));
    EXPECT_NEAR(box.left() / double(dpi), 1.0, 0.01);
    EXPECT_NEAR(box.top() / double(dpi), 0.5, 0.01);
    EXPECT_NEAR(box.width() / double(dpi), 10.87, 0.01);
    EXPECT_NEAR(box.height() / double(dpi), 4.57, 0.01);

    // The next job goes to a printer again, not to the file.
    printer.setPaperSize(Paper::Letter);
    EXPECT_FALSE(printer.drawPicture(darkPicture(4, 4, ""), twips(0, 0, 100, 100)));
}

TEST(PrinterObject, TwoPagePdfAndAFolderThatIsGone) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("jewel.pdf");
    InMemoryPrinters printers;
    CupsPrinterObject printer(printers);
    printer.printNextJobToFile(pdf);
    printer.setPaperSize(Paper::Letter);
    printer.setOrientation(Orientation::Portrait);
    printer.drawPicture(darkPicture(50, 50, "Front"), twips(0, 0, 6840, 6840));
    printer.drawPicture(darkPicture(50, 50, "Inside"), twips(0, 7563, 6840, 6840));
    ASSERT_TRUE(printer.newPage());
    printer.drawPicture(darkPicture(50, 40, "Back"), twips(0, 0, 8496, 6696));
    ASSERT_TRUE(printer.endDocument());
    const auto sizes = pdfPageSizes(pdf);
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_NEAR(sizes[1].width(), 612, 0.5);
    EXPECT_NEAR(sizes[1].height(), 792, 0.5);
    const QRect first = inkBox(renderPdfPage(pdf, 1, 100));
    EXPECT_NEAR(first.height() / 100.0, 14403 / 1440.0, 0.02); // Front top to Inside bottom
    const QRect back = inkBox(renderPdfPage(pdf, 2, 100));
    EXPECT_NEAR(back.width() / 100.0, 5.9, 0.02);

    const QString lost = dir.filePath("no/such/folder/x.pdf");
    printer.printNextJobToFile(lost);
    EXPECT_FALSE(printer.drawPicture(darkPicture(4, 4, ""), twips(0, 0, 100, 100)));
    EXPECT_FALSE(printer.endDocument());
    EXPECT_FALSE(QFile::exists(lost));
}

TEST(PrinterObject, TransparentPartsPrintAsPaperAndOtherFormatsKeepTheirColours) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("formats.pdf");
    InMemoryPrinters printers;
    CupsPrinterObject printer(printers);
    printer.printNextJobToFile(pdf);
    // Dark everywhere, but only the left half is opaque: only that half may show on paper.
    QImage halfClear(200, 100, QImage::Format_ARGB32);
    halfClear.fill(qRgba(10, 10, 10, 0));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) halfClear.setPixel(x, y, qRgba(10, 10, 10, 255));
    ASSERT_TRUE(printer.drawPicture(halfClear, twips(0, 0, 2880, 1440))); // 2 in x 1 in
    QImage indexed = darkPicture(10, 10, "").convertToFormat(QImage::Format_Indexed8);
    ASSERT_TRUE(printer.drawPicture(indexed, twips(0, 2880, 1440, 1440)));
    ASSERT_TRUE(printer.endDocument());

    const int dpi = 100;
    const QImage page = renderPdfPage(pdf, 1, dpi);
    const QRect top = inkBox(page.copy(0, 0, page.width(), dpi * 3 / 2));
    EXPECT_NEAR(top.width() / double(dpi), 1.0, 0.02);
    EXPECT_NEAR(top.height() / double(dpi), 1.0, 0.02);
    const QRect below = inkBox(page.copy(0, dpi * 3 / 2, page.width(), page.height() - dpi * 3 / 2));
    EXPECT_NEAR(below.width() / double(dpi), 1.0, 0.02);
    EXPECT_EQ(page.pixelColor(dpi / 2, dpi * 5 / 2), QColor(20, 30, 90));
}

TEST(PrinterObject, AClippedPictureShowsOnlyInsideItsClip) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("clipped.pdf");
    InMemoryPrinters printers;
    CupsPrinterObject printer(printers);
    printer.printNextJobToFile(pdf);
    // A 4 x 1 in picture from 0.5 in left of the corner, cut off to the 2 x 1 in at 1 in, 1 in.
    const LengthRect clip{Length::fromInches(1), Length::fromInches(1), Length::fromInches(2), Length::fromInches(1)};
    ASSERT_TRUE(printer.drawClippedPicture(darkPicture(40, 10, ""), twips(720, 1440, 5760, 1440), clip));
    EXPECT_FALSE(printer.drawClippedPicture(darkPicture(4, 4, ""), twips(0, 0, 100, 100), LengthRect{}))
        << "an empty clip draws nothing";
    ASSERT_TRUE(printer.endDocument());
    const int dpi = 100;
    const QRect box = inkBox(renderPdfPage(pdf, 1, dpi));
    EXPECT_NEAR(box.left() / double(dpi), 1, 0.02);
    EXPECT_NEAR(box.top() / double(dpi), 1, 0.02);
    EXPECT_NEAR(box.width() / double(dpi), 2, 0.02);
    EXPECT_NEAR(box.height() / double(dpi), 1, 0.02);
}

TEST(PrinterObject, OnlyTheNamedPapersAndOrientationsAreTakenAndARefusalKeepsTheJobsPaper) {
    for (const Paper paper : {Paper::Letter, Paper::Legal, Paper::A4})
        EXPECT_EQ(paperOfCode(printerCode(paper)), paper);
    for (const Orientation orientation : {Orientation::Portrait, Orientation::Landscape})
        EXPECT_EQ(orientationOfCode(printerCode(orientation)), orientation);

    QTemporaryDir dir;
    const QString pdf = dir.filePath("a4.pdf");
    InMemoryPrinters printers;
    CupsPrinterObject printer(printers);
    printer.printNextJobToFile(pdf);
    ASSERT_TRUE(printer.setPaperSize(Paper::A4));
    ASSERT_TRUE(printer.setOrientation(Orientation::Landscape));
    for (const int code : {-1, 0, 2, 3, 4, 6, 8, 10}) {
        EXPECT_FALSE(paperOfCode(code)) << code;
        EXPECT_FALSE(printer.setPaperSize(static_cast<Paper>(code))) << code;
    }
    for (const int code : {-1, 0, 3, 9}) {
        EXPECT_FALSE(orientationOfCode(code)) << code;
        EXPECT_FALSE(printer.setOrientation(static_cast<Orientation>(code))) << code;
    }
    EXPECT_EQ(printer.paperSize(), Paper::A4);
    EXPECT_EQ(printer.orientation(), Orientation::Landscape);
    ASSERT_TRUE(printer.drawPicture(darkPicture(4, 4, ""), twips(0, 0, 1440, 1440)));
    ASSERT_TRUE(printer.endDocument());
    const auto sizes = pdfPageSizes(pdf);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_NEAR(sizes[0].width(), 842, 0.5) << "A4 landscape, as set before the refusals";
    EXPECT_NEAR(sizes[0].height(), 595, 0.5);
}
