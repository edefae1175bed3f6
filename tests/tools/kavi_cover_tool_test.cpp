// SPDX-License-Identifier: GPL-3.0-or-later
// kavi-cover: its command line, and the PDF pages it writes measured as poppler renders them.
#include "tests/output/print/pdf_probe.h"
#include "tests/support/tool_test.h"
#include "tools/kavi-cover/cover_arguments.h"

#include <QFile>
#include <QImageReader>
#include <gtest/gtest.h>

using namespace kavi;
using namespace kavi::testing;

namespace {

CoverMakerArguments parse(std::vector<std::string> args) { return parseCoverMakerArguments(args); }

std::string errorOf(std::vector<std::string> args) {
    const auto parsed = parse(std::move(args));
    const auto* error = std::get_if<std::string>(&parsed);
    return error ? *error : std::string();
}

// The covers' dark blue, as against white paper and black marks.
bool isPictureColour(QRgb c) { return qBlue(c) > 60 && qRed(c) < 60; }

class CoverTool : public ToolTest {
protected:
    CoverTool() : ToolTest("kavi-cover") {}
    void SetUp() override {
        ToolTest::SetUp();
        QImageReader::setAllocationLimit(1024); // a Legal page at 600 dpi is over Qt's usual 256 MB limit
        picture = dir.filePath("cover.png");
        QImage dark(40, 30, QImage::Format_RGB32);
        dark.fill(QColor(20, 30, 90));
        ASSERT_TRUE(dark.save(picture));
        out = dir.filePath("covers.pdf");
    }
    // The picture's box on a page in inches, found among pixels of its own colour.
    static QRectF pictureBoxInches(const QImage& page, int dpi) {
        int left = page.width(), top = page.height(), right = -1, bottom = -1;
        for (int y = 0; y < page.height(); ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(page.constScanLine(y));
            for (int x = 0; x < page.width(); ++x)
                if (isPictureColour(row[x])) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        }
        return QRectF(left / double(dpi), top / double(dpi), (right - left + 1) / double(dpi),
                      (bottom - top + 1) / double(dpi));
    }
    QString picture, out;
};

constexpr int kDpi = 600;
constexpr double kTolerance = 0.005; // inches

} // namespace

TEST(CoverArguments, AcceptsTheDocumentedForms) {
    const auto parsed = parse({"--paper", "A4", "--marks", "--offset", "1.5,-2", "--scale=101,99", "--fit", "stretch",
                               "-o", "x.pdf", "FRONT=a.jpg", "back=b.png"});
    const auto* r = std::get_if<CoverMakerRequest>(&parsed);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->paper, PaperChoice::A4);
    EXPECT_TRUE(r->cutMarks);
    EXPECT_EQ(r->calibration, (Calibration{1.5, -2, 101, 99}));
    EXPECT_EQ(r->outputPdf, "x.pdf");
    ASSERT_EQ(r->covers.size(), 2u);
    EXPECT_EQ(r->covers[0].kind, 1);
    EXPECT_EQ(r->covers[1].picture, "b.png");
    EXPECT_EQ(r->ticked, (KindFlags{true, false, true}));

    const auto printing = parse({"--print=Office", "dvd=d.jpg"});
    ASSERT_TRUE(std::holds_alternative<CoverMakerRequest>(printing));
    EXPECT_EQ(std::get<CoverMakerRequest>(printing).queue, "Office");
    EXPECT_FALSE(std::get<CoverMakerRequest>(printing).calibration) << "the queue's own calibration applies";
    EXPECT_TRUE(std::holds_alternative<CoverMakerHelp>(parse({"--help"})));
    for (const char* name : {"front", "inside", "back", "dvd", "mini", "psp", "ds", "slim", "hd", "blu"})
        EXPECT_NE(kindOfName(name), 0) << name;
}

TEST(CoverArguments, LetterIsUsAndTheHelpSaysWhatTheCorrectionAndEachOutputDo) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--paper", "Letter", "-o", "x.pdf", "dvd=a.jpg"},
          std::vector<std::string>{"--paper=letter", "--print", "dvd=a.jpg"},
          std::vector<std::string>{"--paper", "a4", "--paper", "us", "-o", "x.pdf", "dvd=a.jpg"}}) {
        const auto parsed = parse(args);
        ASSERT_TRUE(std::holds_alternative<CoverMakerRequest>(parsed)) << errorOf(args);
        EXPECT_EQ(std::get<CoverMakerRequest>(parsed).paper, PaperChoice::LetterAndLegal) << args[1];
    }
    // The correction a printer at 90 % that is 20 mm off needs is taken.
    EXPECT_EQ(errorOf({"--offset", "-25.5,20.9", "--scale", "111.1,90.9", "-o", "x.pdf", "dvd=a.jpg"}), "");

    const std::string help = coverMakerUsage();
    for (const char* said :
         {"--paper us|letter|a4", "us (or letter)", "as it is applied to the page, not as measured",
          "-o OUT.pdf: writes the pages as a PDF file at real size, the covers centred on each sheet",
          "from the\nprinter's printable corner", "with the calibration saved for that",
          "unless --offset or --scale is given", "-26 to 26", "90 to 112"})
        EXPECT_NE(help.find(said), std::string::npos) << said;
}

TEST(CoverArguments, RefusesWhatCannotBePrintedWithOneLine) {
    const std::vector<std::vector<std::string>> bad = {
        {"-o", "x.pdf", "cd=a.jpg"}, // unknown kind
        {"-o", "x.pdf", "front=a.jpg", "front=b.jpg"}, // twice
        {"-o", "x.pdf", "dvd=a.jpg", "front=b.jpg"}, // a set the rules never tick
        {"-o", "x.pdf", "dvd=a.jpg", "hd=b.jpg"},
        {"dvd=a.jpg"}, // no output
        {"-o", "x.pdf", "--print", "dvd=a.jpg"}, // two outputs
        {"-o", "x.pdf"}, // no cover
        {"-o", "x.pdf", "--offset", "26.5,0", "dvd=a.jpg"},
        {"-o", "x.pdf", "--scale", "100,89", "dvd=a.jpg"},
        {"-o", "x.pdf", "--scale", "112.5,100", "dvd=a.jpg"},
        {"-o", "x.pdf", "--offset", "1,x", "dvd=a.jpg"},
        {"-o", "x.pdf", "--offset", "1e3,0", "dvd=a.jpg"},
        {"-o", "x.pdf", "--paper", "legal", "dvd=a.jpg"},
        {"-o", "x.pdf", "--fit", "crop", "dvd=a.jpg"},
        {"-o", "x.pdf", "dvd=a.jpg", "--fit"},
        {"-o", "x.pdf", "--bogus", "dvd=a.jpg"},
        {"-o", "x.pdf", "dvd="},
        {"-o"},
    };
    for (const auto& args : bad) {
        const std::string error = errorOf(args);
        EXPECT_FALSE(error.empty()) << args.back();
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

TEST_F(CoverTool, ADvdPdfIsCentredOnLegalAtRealSize) {
    const ToolRun run = runTool({"-o", out, "dvd=" + picture});
    ASSERT_EQ(run.status, 0) << run.stderrText.toStdString();
    const auto sizes = pdfPageSizes(out);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_NEAR(sizes[0].width(), 14 * 72, 0.01);
    EXPECT_NEAR(sizes[0].height(), 8.5 * 72, 0.01);
    const QRectF box = pictureBoxInches(renderPdfPage(out, 1, kDpi), kDpi);
    EXPECT_NEAR(box.left(), (14 - 10.6875) / 2, kTolerance);
    EXPECT_NEAR(box.top(), (8.5 - 7.125) / 2, kTolerance);
    EXPECT_NEAR(box.width(), 10.6875, kTolerance);
    EXPECT_NEAR(box.height(), 7.125, kTolerance);
}

TEST_F(CoverTool, A4WithOffsetAndScaleMovesTheCentredCover) {
    const ToolRun run = runTool({"--paper", "a4", "--offset", "5,-3", "--scale", "101,99", "-o", out, "hd=" + picture});
    ASSERT_EQ(run.status, 0) << run.stderrText.toStdString();
    const double sheetW = 297 / 25.4, sheetH = 210 / 25.4; // A4 landscape
    const QRectF box = pictureBoxInches(renderPdfPage(out, 1, kDpi), kDpi);
    EXPECT_NEAR(box.left(), (sheetW - 10.5) / 2 * 1.01 + 5 / 25.4, kTolerance);
    EXPECT_NEAR(box.top(), (sheetH - 5.875) / 2 * 0.99 - 3 / 25.4, kTolerance);
    EXPECT_NEAR(box.width(), 10.5 * 1.01, kTolerance);
    EXPECT_NEAR(box.height(), 5.875 * 0.99, kTolerance);
}

TEST_F(CoverTool, TheJewelCaseGivesTwoPagesAndMarksStayOffThePictures) {
    const ToolRun run = runTool({"--marks", "-o", out, "front=" + picture, "inside=" + picture, "back=" + picture});
    ASSERT_EQ(run.status, 0) << run.stderrText.toStdString();
    ASSERT_EQ(pdfPageSizes(out).size(), 2u);
    const QImage page = renderPdfPage(out, 1, 100);
    const auto onPicture = [&page](int x, int y) { return isPictureColour(page.pixel(x, y)); };
    int black = 0, blackOnPicture = 0;
    for (int y = 1; y + 1 < page.height(); ++y)
        for (int x = 1; x + 1 < page.width(); ++x) {
            if (qGray(page.pixel(x, y)) > 40 || onPicture(x, y)) continue;
            ++black;
            // A black pixel with picture colour on both sides of it would be a mark across a picture.
            if ((onPicture(x - 1, y) && onPicture(x + 1, y)) || (onPicture(x, y - 1) && onPicture(x, y + 1)))
                ++blackOnPicture;
        }
    EXPECT_GT(black, 0) << "the marks are drawn";
    EXPECT_EQ(blackOnPicture, 0);
}

TEST_F(CoverTool, FailuresSayWhyAndWriteNothing) {
    QFile::remove(out);
    const QString junk = dir.filePath("junk.jpg");
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    for (const QStringList& args :
         {QStringList{"-o", out, "dvd=" + dir.filePath("missing.png")}, QStringList{"-o", out, "dvd=" + junk},
          QStringList{"-o", dir.filePath("no/such/folder.pdf"), "dvd=" + picture},
          QStringList{"-o", out, "dvd=" + picture, "mini=" + picture}}) {
        const ToolRun run = runTool(args);
        EXPECT_NE(run.status, 0) << args.join(' ').toStdString();
        EXPECT_EQ(run.stderrText.count('\n'), 1) << run.stderrText.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
}

TEST_F(CoverTool, PrintingWithoutAPrintServiceSaysSoInOneLine) {
    const QByteArray server = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", dir.filePath("no-such-cups.sock").toUtf8());
    for (const QStringList& args :
         {QStringList{"--print", "dvd=" + picture}, QStringList{"--print=Office", "dvd=" + picture}}) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 1) << args.join(' ').toStdString();
        EXPECT_EQ(run.stderrText.count('\n'), 1) << run.stderrText.toStdString();
        EXPECT_TRUE(run.stderrText.contains("the print service cannot be reached")) << run.stderrText.toStdString();
    }
    if (server.isNull()) qunsetenv("CUPS_SERVER");
    else qputenv("CUPS_SERVER", server);
}
