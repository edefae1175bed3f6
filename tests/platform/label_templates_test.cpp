// SPDX-License-Identifier: GPL-3.0-or-later
// Disc label stocks read from label-template files: units, label order over several layouts, equivalent
// part numbers, sheets of their own size, damaged files left out whole, and the installed templates.
#include "platform/files/label_templates.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <set>

namespace kavi::labels {
namespace {

constexpr double kMmTolerance = 0.001;

double mm(Length l) { return l.millimetres(); }

const DiscLabelStock* find(const std::vector<DiscLabelStock>& stocks, const std::string& name) {
    for (const DiscLabelStock& s : stocks)
        if (s.name() == name) return &s;
    return nullptr;
}

TEST(LabelTemplates, LengthsInEveryUnitAndRefusedNonsense) {
    EXPECT_NEAR(parseLength(u"2.3125in")->millimetres(), 58.7375, kMmTolerance);
    EXPECT_NEAR(parseLength(u"166.5pt")->points(), 166.5, 1e-9);
    EXPECT_NEAR(parseLength(u"166.5")->points(), 166.5, 1e-9);
    EXPECT_NEAR(parseLength(u"59mm")->millimetres(), 59, kMmTolerance);
    EXPECT_NEAR(parseLength(u"1.5cm")->millimetres(), 15, kMmTolerance);
    EXPECT_NEAR(parseLength(u"2pc")->points(), 24, 1e-9);
    for (const char16_t* bad : {u"", u"mm", u"abc", u"12 furlongs", u"1,5mm", u"nan", u"inf"})
        EXPECT_FALSE(parseLength(bad)) << QString::fromUtf16(bad).toStdString();
}

// Two layouts on one A4 sheet, the second beginning beside the first one's top label: numbering runs left to
// right over both layouts, then down.
const char kTwoLayoutsA4[] = R"(<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Test" part="A4-Two" size="A4" _description="Two layouts">
    <Label-cd id="0" radius="40mm" hole="20.5mm" waste="0mm">
      <Layout nx="1" ny="2" x0="10mm" y0="20mm" dx="0" dy="140mm"/>
      <Layout nx="1" ny="1" x0="110mm" y0="20mm" dx="0" dy="0"/>
    </Label-cd>
  </Template>
  <Template brand="Test" part="A4-Two-Again" equiv="A4-Two"/>
  <Template brand="Test" part="Address" size="A4">
    <Label-rectangle id="0" width="70mm" height="37mm"><Layout nx="3" ny="8" x0="0" y0="0" dx="70mm" dy="37mm"/></Label-rectangle>
  </Template>
  <Template brand="Test" part="Address-2" equiv="Address"/>
</Glabels-templates>
)";

const char kTwoUpLetterAndTray[] = R"(<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Test" part="Letter-Two" size="US-Letter">
    <Label-cd id="0" radius="2.3125in" hole="0.8125in" waste="0.0625in">
      <Layout nx="1" ny="2" x0="1.9375in" y0="0.6875in" dx="0" dy="5in"/>
    </Label-cd>
  </Template>
  <Template brand="Test" part="Tray" size="Other" width="135mm" height="295mm" _description="Disc tray">
    <Label-cd id="0" radius="59mm" hole="11mm" waste="2mm">
      <Layout nx="1" ny="1" x0="5.6mm" y0="58.5mm" dx="122mm" dy="122mm"/>
    </Label-cd>
  </Template>
  <Template brand="Test" part="Card" size="US-Letter">
    <Label-cd id="0" radius="1.53075in" width="2.322in" hole="0.3345in" waste="0.05in">
      <Layout nx="2" ny="1" x0="1in" y0="1in" dx="3in" dy="0"/>
    </Label-cd>
  </Template>
</Glabels-templates>
)";

TEST(LabelTemplates, SheetsLayoutsEquivalentsAndOwnSizesInLabelOrder) {
    testing::TempFolder folder;
    folder.write("a4.xml", kTwoLayoutsA4);
    folder.write("letter.xml", kTwoUpLetterAndTray);
    const StockList list = readDiscStocks({folder.path()});
    EXPECT_TRUE(list.skippedFiles.isEmpty()) << list.skippedFiles.join('\n').toStdString();
    ASSERT_EQ(list.stocks.size(), 5u); // the address labels are no disc stock, nor their equivalent

    const DiscLabelStock* a4 = find(list.stocks, "Test A4-Two");
    ASSERT_TRUE(a4);
    EXPECT_NEAR(mm(a4->paper.width), 210, kMmTolerance);
    EXPECT_NEAR(mm(a4->paper.height), 297, kMmTolerance);
    ASSERT_EQ(a4->centres.size(), 3u);
    // 1: first layout's top, 2: second layout's label on the same row, 3: first layout's second row.
    EXPECT_NEAR(mm(a4->centres[0].x), 50, kMmTolerance);
    EXPECT_NEAR(mm(a4->centres[1].x), 150, kMmTolerance);
    EXPECT_NEAR(mm(a4->centres[1].y), 60, kMmTolerance);
    EXPECT_NEAR(mm(a4->centres[2].x), 50, kMmTolerance);
    EXPECT_NEAR(mm(a4->centres[2].y), 200, kMmTolerance);
    EXPECT_NEAR(mm(a4->outerDiameter()), 80, kMmTolerance);
    EXPECT_NEAR(mm(a4->holeDiameter()), 41, kMmTolerance);

    const DiscLabelStock* again = find(list.stocks, "Test A4-Two-Again");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->centres, a4->centres);
    EXPECT_EQ(again->description, "Two layouts");

    const DiscLabelStock* letter = find(list.stocks, "Test Letter-Two");
    ASSERT_TRUE(letter);
    ASSERT_EQ(letter->centres.size(), 2u);
    EXPECT_NEAR(letter->centres[0].x.inches(), 4.25, 1e-9); // centred across the sheet
    EXPECT_NEAR(letter->centres[1].y.inches(), 0.6875 + 5 + 2.3125, 1e-9);

    const DiscLabelStock* tray = find(list.stocks, "Test Tray");
    ASSERT_TRUE(tray);
    EXPECT_EQ(tray->paperId, "Other");
    EXPECT_NEAR(mm(tray->paper.width), 135, kMmTolerance);
    EXPECT_NEAR(mm(tray->paper.height), 295, kMmTolerance);
    EXPECT_NEAR(mm(tray->centres[0].y), 58.5 + 59, kMmTolerance);

    // A disc cut to a width: its box is the cut, the ring centred in it.
    const DiscLabelStock* card = find(list.stocks, "Test Card");
    ASSERT_TRUE(card && card->cutWidth);
    EXPECT_FALSE(card->cutHeight);
    EXPECT_NEAR(card->centres[1].x.inches(), 4 + 2.322 / 2, 1e-9);
    EXPECT_NEAR(card->centres[1].y.inches(), 1 + 1.53075, 1e-9);
}

TEST(LabelTemplates, DamagedFilesAreLeftOutWholeAndNamedWhileTheOthersLoad) {
    testing::TempFolder first, second;
    first.write("good.xml", kTwoUpLetterAndTray);
    first.write("cut-off.xml", QByteArray(kTwoLayoutsA4).left(300));
    QByteArray holeTooLarge = kTwoLayoutsA4;
    holeTooLarge.replace("hole=\"20.5mm\"", "hole=\"40mm\"");
    first.write("hole.xml", holeTooLarge);
    QByteArray offSheet = kTwoLayoutsA4;
    offSheet.replace("x0=\"110mm\"", "x0=\"180mm\"");
    first.write("off-sheet.xml", offSheet);
    QByteArray unknownPaper = kTwoLayoutsA4;
    unknownPaper.replace("size=\"A4\"", "size=\"B17\"");
    first.write("paper.xml", unknownPaper);
    QByteArray hugeCount = kTwoLayoutsA4;
    hugeCount.replace("ny=\"2\"", "ny=\"2000000000\"");
    first.write("count.xml", hugeCount);
    first.write("not-a-template.txt", "ignored");
    // The second folder has the Letter stock again with other numbers, and the A4 one: a name is taken
    // from the first folder that has it.
    QByteArray other = kTwoUpLetterAndTray;
    other.replace("radius=\"2.3125in\"", "radius=\"2.25in\"");
    second.write("other.xml", other);
    second.write("a4.xml", kTwoLayoutsA4);

    const StockList list = readDiscStocks({first.path(), second.path(), first.file("missing-folder")});
    const QString skipped = list.skippedFiles.join('\n');
    EXPECT_EQ(list.skippedFiles.size(), 5) << skipped.toStdString();
    for (const char* name : {"cut-off.xml", "hole.xml", "off-sheet.xml", "paper.xml", "count.xml"})
        EXPECT_TRUE(skipped.contains(name)) << name;
    EXPECT_FALSE(skipped.contains("good.xml"));

    std::set<std::string> names;
    for (const DiscLabelStock& s : list.stocks) EXPECT_TRUE(names.insert(s.name()).second) << s.name();
    EXPECT_EQ(names.size(), 5u);
    EXPECT_NEAR(find(list.stocks, "Test Letter-Two")->outerRadius.inches(), 2.3125, 1e-9);
    EXPECT_TRUE(find(list.stocks, "Test A4-Two"));
}

TEST(LabelTemplates, FoldersComeFromTheGivenOnesThenTheUsersThenTheSystems) {
    qputenv("XDG_DATA_HOME", "/home/u/data");
    qputenv("XDG_DATA_DIRS", "/opt/share::/usr/share");
    EXPECT_EQ(templateFolders({"/given"}),
              (QStringList{"/given", "/home/u/data/kavi/templates", "/opt/share/libglabels-3.0/templates",
                           "/usr/share/libglabels-3.0/templates"}));
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_DATA_DIRS");
    const QStringList defaults = templateFolders({});
    EXPECT_EQ(defaults.first(), QDir::homePath() + "/.local/share/kavi/templates");
    EXPECT_EQ(defaults.last(), "/usr/share/libglabels-3.0/templates");
}

// Every disc template of the installed label-template files loads, once each.
TEST(LabelTemplates, TheInstalledTemplatesAllLoad) {
    const QString installed = QStringLiteral("/usr/share/libglabels-3.0/templates");
    if (!QDir(installed).exists()) GTEST_SKIP() << "no label templates installed (glabels-data)";
    const StockList list = readDiscStocks({installed});
    EXPECT_TRUE(list.skippedFiles.isEmpty()) << list.skippedFiles.join('\n').toStdString();

    int discTemplates = 0;
    for (const QString& name : QDir(installed).entryList({"*.xml"})) {
        QFile f(installed + '/' + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        discTemplates += int(f.readAll().count("<Label-cd"));
    }
    EXPECT_GE(int(list.stocks.size()), discTemplates); // every one, with the equivalents on top
    std::set<std::string> names;
    for (const DiscLabelStock& s : list.stocks) {
        EXPECT_TRUE(names.insert(s.name()).second) << s.name();
        EXPECT_FALSE(s.centres.empty()) << s.name();
        EXPECT_LT(s.holeRadius, s.outerRadius) << s.name();
    }
    const DiscLabelStock* avery = find(list.stocks, "Avery 5931-Disc");
    if (avery) {
        EXPECT_EQ(avery->centres.size(), 2u);
        EXPECT_NEAR(avery->outerDiameter().inches(), 4.625, 1e-9);
    }
}

} // namespace
} // namespace kavi::labels
