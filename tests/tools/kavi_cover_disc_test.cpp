// SPDX-License-Identifier: GPL-3.0-or-later
// kavi-cover's disc labels, measured as poppler renders them at 600 dpi: the ring's outer and hole
// diameters and its centre within 0.2 mm, the paper white outside the ring and in its hole, on plain paper
// and on label stocks read from template files, with copies going on to a second sheet; and the refusals.
#include "coverset/cover_set_file.h"
#include "tests/output/print/pdf_probe.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tool_test.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace kavi;
using namespace kavi::testing;

namespace {

constexpr int kDpi = 600;
constexpr double kTolerance = 0.2; // millimetres
constexpr double kMmPerPixel = 25.4 / kDpi;

bool isPicture(QRgb c) { return qBlue(c) > 60 && qRed(c) < 60; }
bool isWhite(QRgb c) { return qRed(c) > 245 && qGreen(c) > 245 && qBlue(c) > 245; }
bool isBlack(QRgb c) { return qGray(c) < 80 && !isPicture(c); }

// A part of a page at 600 dpi, in millimetres from the sheet's top-left corner.
QImage region(const QString& pdf, int page, double left, double top, double width, double height) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath("part");
    const auto px = [](double mm) { return QString::number(int(std::lround(mm / kMmPerPixel))); };
    runTool("pdftoppm",
            {"-r", QString::number(kDpi), "-png", "-singlefile", "-f", QString::number(page), "-l",
             QString::number(page), "-x", px(left), "-y", px(top), "-W", px(width), "-H", px(height), pdf, prefix});
    return QImage(prefix + ".png");
}

struct Ring {
    double centreX, centreY, outer, hole; // millimetres
};

// The ring's edges along a line of pixels through the expected centre (index `middle`): the first and
// last picture pixels on each side, going out from the hole.
struct Edges {
    double outerFrom, holeFrom, holeTo, outerTo; // pixels, as edges (between pixels)
};
std::optional<Edges> edgesAlong(const std::vector<QRgb>& line, int middle) {
    const int n = int(line.size());
    int a = middle, b = middle;
    while (a >= 0 && !isPicture(line[std::size_t(a)])) --a;
    while (b < n && !isPicture(line[std::size_t(b)])) ++b;
    if (a < 0 || b >= n) return std::nullopt;
    int c = a, d = b;
    while (c - 1 >= 0 && isPicture(line[std::size_t(c - 1)])) --c;
    while (d + 1 < n && isPicture(line[std::size_t(d + 1)])) ++d;
    return Edges{double(c), double(a + 1), double(b), double(d + 1)};
}

// Measures the ring expected at `e` on a page: across and down through its centre, and checks the paper
// is white in the hole, just outside the ring and at the corners of its square.
void checkRing(const QString& pdf, int page, const Ring& e, const std::string& what) {
    SCOPED_TRACE(what);
    const double span = e.outer + 12, left = e.centreX - span / 2, top = e.centreY - span / 2;
    const QImage across = region(pdf, page, left, e.centreY - 0.5, span, 1);
    const QImage down = region(pdf, page, e.centreX - 0.5, top, 1, span);
    ASSERT_FALSE(across.isNull());
    ASSERT_FALSE(down.isNull());
    std::vector<QRgb> row, column;
    for (int x = 0; x < across.width(); ++x) row.push_back(across.pixel(x, across.height() / 2));
    for (int y = 0; y < down.height(); ++y) column.push_back(down.pixel(down.width() / 2, y));
    const int middle = int(row.size() / 2);
    const auto h = edgesAlong(row, middle), v = edgesAlong(column, int(column.size() / 2));
    ASSERT_TRUE(h && v) << "no ring found";
    EXPECT_NEAR((h->outerTo - h->outerFrom) * kMmPerPixel, e.outer, kTolerance);
    EXPECT_NEAR((v->outerTo - v->outerFrom) * kMmPerPixel, e.outer, kTolerance);
    EXPECT_NEAR((h->holeTo - h->holeFrom) * kMmPerPixel, e.hole, kTolerance);
    EXPECT_NEAR((v->holeTo - v->holeFrom) * kMmPerPixel, e.hole, kTolerance);
    EXPECT_NEAR(left + (h->outerFrom + h->outerTo) / 2 * kMmPerPixel, e.centreX, kTolerance);
    EXPECT_NEAR(top + (v->outerFrom + v->outerTo) / 2 * kMmPerPixel, e.centreY, kTolerance);
    EXPECT_NEAR(left + (h->holeFrom + h->holeTo) / 2 * kMmPerPixel, e.centreX, kTolerance);
    // White in the hole, a millimetre outside the ring along both lines, and at the square's corners.
    EXPECT_TRUE(isWhite(row[std::size_t(middle)]));
    for (const std::vector<QRgb>* line : {&row, &column}) {
        const int mm = int(std::lround(1 / kMmPerPixel)), m = int(line->size() / 2);
        const int r = int(std::lround(e.outer / 2 / kMmPerPixel));
        EXPECT_TRUE(isWhite((*line)[std::size_t(m - r - mm)]));
        EXPECT_TRUE(isWhite((*line)[std::size_t(m + r + mm)]));
    }
    const double corner = e.outer / 2 * 0.9;
    for (double dx : {-corner, corner})
        for (double dy : {-corner, corner}) {
            const QImage patch = region(pdf, page, e.centreX + dx - 0.5, e.centreY + dy - 0.5, 1, 1);
            ASSERT_FALSE(patch.isNull());
            EXPECT_TRUE(isWhite(patch.pixel(patch.width() / 2, patch.height() / 2))) << "corner " << dx << "," << dy;
        }
}

// No picture at all around a label place that is not used.
void checkUnused(const QString& pdf, int page, double centreX, double centreY, double outer) {
    for (double dx : {-outer / 3, outer / 3}) {
        const QImage patch = region(pdf, page, centreX + dx - 0.5, centreY - 0.5, 1, 1);
        ASSERT_FALSE(patch.isNull());
        EXPECT_TRUE(isWhite(patch.pixel(patch.width() / 2, patch.height() / 2)))
            << "label at " << centreX << "," << centreY << " is not blank";
    }
}

const char kTemplates[] = R"(<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Test" part="Letter-Two" size="US-Letter" description="two-up">
    <Label-cd id="0" radius="58.5mm" hole="20.5mm">
      <Layout nx="1" ny="2" x0="49.45mm" y0="16mm" dx="0" dy="130mm"/>
    </Label-cd>
  </Template>
  <Template brand="Test" part="A4-Three" size="A4">
    <Label-cd id="0" radius="40mm" hole="20.5mm">
      <Layout nx="1" ny="2" x0="10mm" y0="20mm" dx="0" dy="140mm"/>
      <Layout nx="1" ny="1" x0="110mm" y0="20mm" dx="0" dy="0"/>
    </Label-cd>
  </Template>
  <Template brand="Test" part="Card" size="A4">
    <Label-cd id="0" radius="40mm" hole="10mm" width="60mm"><Layout nx="1" ny="1" x0="65mm" y0="100mm" dx="0" dy="0"/></Label-cd>
  </Template>
  <Template brand="Test" part="Tray" size="Other" width="135mm" height="295mm">
    <Label-cd id="0" radius="59mm" hole="11mm"><Layout nx="1" ny="1" x0="5.6mm" y0="58.5mm" dx="0" dy="0"/></Label-cd>
  </Template>
</Glabels-templates>
)";

class DiscLabelTool : public ToolTest {
protected:
    DiscLabelTool() : ToolTest("kavi-cover") {}
    void SetUp() override {
        ToolTest::SetUp();
        picture = dir.filePath("disc.png");
        QImage dark(300, 200, QImage::Format_RGB32);
        dark.fill(QColor(20, 30, 90));
        ASSERT_TRUE(dark.save(picture));
        templates.write("stocks.xml", kTemplates);
        pdf = dir.filePath("disc.pdf");
    }
    // Runs kavi-cover for the PDF; checks it worked and that the pages have the sizes expected (mm).
    void write(const QStringList& options, QSizeF sheetMm, int pages) {
        const ToolRun run = runTool(options + QStringList{"-o", pdf});
        ASSERT_EQ(run.status, 0) << run.stderrText.toStdString();
        const std::vector<QSizeF> sizes = pdfPageSizes(pdf);
        ASSERT_EQ(int(sizes.size()), pages);
        for (const QSizeF& size : sizes) {
            EXPECT_NEAR(size.width() / 72 * 25.4, sheetMm.width(), 0.1);
            EXPECT_NEAR(size.height() / 72 * 25.4, sheetMm.height(), 0.1);
        }
    }
    QStringList onStock(const QString& stock) const { return {"--templates", templates.path(), "--stock", stock}; }
    QString picture, pdf;
    TempFolder templates;
};

} // namespace

TEST_F(DiscLabelTool, OnPlainPaperTheRingIsCentredOnTheSheetWithItsGuides) {
    write({"--marks", "disc=" + picture}, {215.9, 279.4}, 1);
    checkRing(pdf, 1, {107.95, 139.7, 117, 41}, "Disc on Letter");
    // The four guides: 1.5 mm from the ring, 5 mm long, at its top, bottom, left and right.
    for (const auto& [dx, dy] : std::vector<std::pair<double, double>>{{0, -1}, {0, 1}, {-1, 0}, {1, 0}}) {
        const double at = 58.5 + 1.5 + 2.5;
        const QImage mark = region(pdf, 1, 107.95 + dx * at - 1, 139.7 + dy * at - 1, 2, 2);
        bool inked = false;
        for (int y = 0; y < mark.height(); ++y)
            for (int x = 0; x < mark.width(); ++x) inked = inked || isBlack(mark.pixel(x, y));
        EXPECT_TRUE(inked) << "no guide at " << dx << "," << dy;
        const QImage gap = region(pdf, 1, 107.95 + dx * 59.2 - 0.2, 139.7 + dy * 59.2 - 0.2, 0.4, 0.4);
        EXPECT_TRUE(isWhite(gap.pixel(gap.width() / 2, gap.height() / 2))) << "guide touches the ring";
    }

    write({"--paper", "a4", "--disc", "80,15", "--copies", "2", "minidisc=" + picture}, {210, 297}, 2);
    checkRing(pdf, 1, {105, 148.5, 80, 15}, "own ring on A4");
    checkRing(pdf, 2, {105, 148.5, 80, 15}, "second copy");
    // Without marks there are no guides.
    const QImage above = region(pdf, 1, 104, 148.5 - 40 - 4.5, 2, 2);
    EXPECT_TRUE(isWhite(above.pixel(above.width() / 2, above.height() / 2)));
}

TEST_F(DiscLabelTool, OnStockTheCopiesFillTheLabelsFromTheStartAndGoOnToASecondSheet) {
    write(onStock("Test Letter-Two") << "--start"
                                     << "2"
                                     << "--copies"
                                     << "2"
                                     << "disc=" + picture,
          {215.9, 279.4}, 2);
    checkRing(pdf, 1, {107.95, 204.5, 117, 41}, "two-up, second label");
    checkUnused(pdf, 1, 107.95, 74.5, 117);
    checkRing(pdf, 2, {107.95, 74.5, 117, 41}, "two-up, next sheet's first label");
    checkUnused(pdf, 2, 107.95, 204.5, 117);

    // Two layouts on A4, numbered left to right, then top to bottom: 1 (50,60), 2 (150,60), 3 (50,200).
    write(onStock("Test A4-Three") << "--start"
                                   << "3"
                                   << "--copies"
                                   << "3"
                                   << "disc=" + picture,
          {210, 297}, 2);
    checkRing(pdf, 1, {50, 200, 80, 41}, "A4 third label");
    checkUnused(pdf, 1, 50, 60, 80);
    checkRing(pdf, 2, {50, 60, 80, 41}, "A4 next sheet first");
    checkRing(pdf, 2, {150, 60, 80, 41}, "A4 next sheet second");
    checkUnused(pdf, 2, 50, 200, 80);

    // A label cut to a width (its box 60 x 80 mm from the layout's corner, so centred at 95,140): the ring
    // shows only inside the cut, across; down, it is whole.
    write(onStock("Test Card") << "disc=" + picture, {210, 297}, 1);
    const QImage across = region(pdf, 1, 95 - 45, 140 - 0.5, 90, 1);
    std::vector<QRgb> row;
    for (int x = 0; x < across.width(); ++x) row.push_back(across.pixel(x, across.height() / 2));
    const auto cut = edgesAlong(row, int(row.size() / 2));
    ASSERT_TRUE(cut);
    EXPECT_NEAR((cut->outerTo - cut->outerFrom) * kMmPerPixel, 60, kTolerance);
    EXPECT_NEAR((cut->holeTo - cut->holeFrom) * kMmPerPixel, 20, kTolerance);
    const QImage down = region(pdf, 1, 95 - 0.5, 140 - 45, 1, 90);
    std::vector<QRgb> column;
    for (int y = 0; y < down.height(); ++y) column.push_back(down.pixel(down.width() / 2, y));
    const auto whole = edgesAlong(column, int(column.size() / 2));
    ASSERT_TRUE(whole);
    EXPECT_NEAR((whole->outerTo - whole->outerFrom) * kMmPerPixel, 80, kTolerance);

    // A printer tray of its own size: the stock's ring, whatever --disc says.
    write(onStock("Test Tray") << "--disc"
                               << "100,30"
                               << "disc=" + picture,
          {135, 295}, 1);
    checkRing(pdf, 1, {64.6, 117.5, 118, 22}, "tray");
}

TEST_F(DiscLabelTool, RefusesWithOneLineAndWritesNothing) {
    const std::vector<std::pair<QStringList, QString>> refused = {
        {onStock("Test Nothing") << "disc=" + picture, "Test Nothing"},
        {onStock("Test Letter-Two") << "--start"
                                    << "0"
                                    << "disc=" + picture,
         "--start"},
        {onStock("Test Letter-Two") << "--start"
                                    << "3"
                                    << "disc=" + picture,
         "--start"},
        {onStock("Test Letter-Two") << "--copies"
                                    << "0"
                                    << "disc=" + picture,
         "--copies"},
        {onStock("Test Letter-Two") << "dvd=" + picture, "stock"},
        {{"--disc", "131,41", "disc=" + picture}, "--disc"},
        {{"--disc", "19.9,5", "disc=" + picture}, "--disc"},
        {{"--disc", "60,60", "minidisc=" + picture}, "--disc"},
        {{"--disc", "60,-1", "minidisc=" + picture}, "--disc"},
        {{"--disc", "60", "minidisc=" + picture}, "--disc"},
        {{"--templates", dir.filePath("nowhere"), "disc=" + picture}, "nowhere"},
        {{"disc=" + picture, "front=" + picture}, "alone"},
    };
    for (const auto& [arguments, named] : refused) {
        const ToolRun run = runTool(arguments + QStringList{"-o", pdf});
        const QString shown = arguments.join(' ');
        EXPECT_NE(run.status, 0) << shown.toStdString();
        EXPECT_EQ(run.stderrText.count('\n'), 1) << shown.toStdString() << ": " << run.stderrText.toStdString();
        EXPECT_TRUE(run.stderrText.contains(named)) << shown.toStdString() << ": " << run.stderrText.toStdString();
        EXPECT_FALSE(QFile::exists(pdf)) << shown.toStdString();
    }
}

TEST_F(DiscLabelTool, PrintsACoverSetsDiscLabelOnItsStockOrRefusesAStockForItsCaseCovers) {
    CoverSet set = CoverSet::empty();
    QImage dark(300, 200, QImage::Format_RGB32);
    dark.fill(QColor(20, 30, 90));
    CoverSetDisc& mini = set.discs.labels[DiscKind::MiniDisc];
    mini.picture = dark;
    mini.geometry = {Length::fromMillimetres(70), Length::fromMillimetres(20)};
    set.discs.ticked = DiscKind::MiniDisc;
    const QString saved = dir.filePath("mini.kavi");
    ASSERT_EQ(saveCoverSetFile(saved, set), 0);
    write({"--paper", "a4", saved}, {210, 297}, 1);
    checkRing(pdf, 1, {105, 148.5, 70, 20}, "the set's own ring");

    // The stock kept in the set is used, from its start label.
    DiscLabelStock stock;
    stock.brand = "Kept";
    stock.part = "Two";
    stock.paperId = "US-Letter";
    stock.paper = {Length::fromInches(8.5), Length::fromInches(11)};
    stock.outerRadius = Length::fromMillimetres(40);
    stock.holeRadius = Length::fromMillimetres(10);
    stock.centres = {{Length::fromMillimetres(60), Length::fromMillimetres(60)},
                     {Length::fromMillimetres(150), Length::fromMillimetres(200)}};
    set.discs.stock = stock;
    set.discs.startLabel = 2;
    ASSERT_EQ(saveCoverSetFile(saved, set), 0);
    write({saved}, {215.9, 279.4}, 1);
    checkRing(pdf, 1, {150, 200, 80, 20}, "the set's stock");
    checkUnused(pdf, 1, 60, 60, 80);

    CoverSet cases = CoverSet::empty();
    cases.cover(4).picture = dark;
    cases.ticked[3] = true;
    ASSERT_EQ(saveCoverSetFile(saved, cases), 0);
    QFile::remove(pdf);
    const ToolRun run = runTool(onStock("Test Letter-Two") << saved << "-o" << pdf);
    EXPECT_EQ(run.status, 2);
    // One line of its own (Qt may add a note of its platform before it).
    EXPECT_EQ(run.stderrText.count("kavi-cover:"), 1) << run.stderrText.toStdString();
    EXPECT_TRUE(run.stderrText.contains("stock")) << run.stderrText.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}
