// SPDX-License-Identifier: GPL-3.0-or-later
// kavi-cover --stocks lists the disc label stocks of the template folders given, before the user's and the
// system's; damaged files are named, a missing folder is refused, and an empty list says how to get one.
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <cstdlib>

namespace {

struct StockRun {
    int status;
    QString out, err;
};

// kavi-cover with the user's and the system's data folders empty, so only the folders given count.
StockRun stocks(const QStringList& arguments, const QString& emptyFolder) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", emptyFolder);
    env.insert("XDG_DATA_DIRS", emptyFolder);
    process.setProcessEnvironment(env);
    process.start(QString::fromLocal8Bit(std::getenv("KAVI_BUILD_DIR")) + "/kavi-cover",
                  QStringList{"--stocks"} + arguments);
    process.waitForFinished(-1);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

const char kStocks[] = R"(<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Test" part="A4-Three" size="A4">
    <Label-cd id="0" radius="40mm" hole="20.5mm">
      <Layout nx="1" ny="2" x0="10mm" y0="20mm" dx="0" dy="140mm"/>
      <Layout nx="1" ny="1" x0="110mm" y0="20mm" dx="0" dy="0"/>
    </Label-cd>
  </Template>
  <Template brand="Test" part="Tray" size="Other" width="135mm" height="295mm">
    <Label-cd id="0" radius="59mm" hole="11mm"><Layout nx="1" ny="1" x0="5.6mm" y0="58.5mm" dx="0" dy="0"/></Label-cd>
  </Template>
</Glabels-templates>
)";

TEST(CoverToolStocks, ListsTheGivenFoldersStocksAndNamesDamagedFiles) {
    kavi::testing::TempFolder templates, second, empty;
    templates.write("stocks.xml", kStocks);
    second.write("broken.xml", "<Glabels-templates><Template brand=");
    const StockRun run = stocks({"--templates", templates.path(), "--templates=" + second.path()}, empty.path());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << run.out.toStdString();
    EXPECT_EQ(lines[0], "Test A4-Three\tA4 210.0 x 297.0 mm\t80.00 mm\t41.00 mm\t3");
    EXPECT_EQ(lines[1], "Test Tray\tOther 135.0 x 295.0 mm\t118.00 mm\t22.00 mm\t1");
    EXPECT_TRUE(run.err.contains("broken.xml")) << run.err.toStdString();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
}

TEST(CoverToolStocks, RefusesAMissingFolderAndOtherOptionsAndSaysHowToGetTemplates) {
    kavi::testing::TempFolder empty;
    const StockRun missing = stocks({"--templates", empty.file("nowhere")}, empty.path());
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.err.contains("nowhere"));
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_EQ(stocks({"--marks"}, empty.path()).status, 2);
    EXPECT_EQ(stocks({"--templates"}, empty.path()).status, 2);

    const StockRun none = stocks({}, empty.path());
    EXPECT_EQ(none.status, 0);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_TRUE(none.err.contains("glabels-data")) << none.err.toStdString();
}

} // namespace
