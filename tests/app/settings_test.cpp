// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: what readini accepts, its fallback, what writeini writes, and a restart.
#include "app/drive_list.h"
#include "app/folder_list.h"
#include "app/main_window.h"
#include "app/tab_strip.h"
#include "output/print/printer_chooser.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::TempFolder;

namespace {

class Settings : public ::testing::Test {
protected:
    kavi::testing::TestPlatform services;
    TempFolder dir; // the settings file's folder and the "program folder" of the fallback
    TempFolder covers; // a folder the user browsed to
    std::unique_ptr<MainWindow> window = makeWindow();

    std::unique_ptr<MainWindow> makeWindow() {
        auto w = std::make_unique<MainWindow>(services.platform);
        w->settingsFile = dir.file("kavi4.ini");
        w->programFolderPath = dir.path();
        return w;
    }
    QString drive() { return window->drvSelect->driveOf(covers.path()); }
    void store(const QString& tab, const QString& ticks, const QString& folder = QString()) {
        // ticks: ten characters or quoted values separated by commas, Front .. BLU
        const QStringList keys = {"Front", "Inside", "Back", "DVD", "Mini", "PSP", "DS", "SLIM", "HD", "BLU"};
        const QStringList values = ticks.split(',');
        QByteArray text = "[MAIN]\nDrive=" + drive().toUtf8() +
            "\nDir=" + (folder.isNull() ? covers.path() : folder).toUtf8() + "\nTab=" + tab.toUtf8() + "\n";
        for (int i = 0; i < keys.size(); ++i) text += keys[i].toUtf8() + "=" + values.value(i).toUtf8() + "\n";
        dir.write("kavi4.ini", text);
    }
    // Unloads from a state with no settings file; returns the journal entries made after it was written.
    QStringList unloadNotingWhenSettingsAreOnDisk() {
        QFile::remove(dir.file("kavi4.ini"));
        QStringList settingsOnDisk;
        services.journal.entries.clear();
        services.journal.observer = [&](const QString& entry) {
            if (QFile::exists(dir.file("kavi4.ini"))) settingsOnDisk << entry;
        };
        window->Form_Unload();
        services.journal.observer = nullptr;
        return settingsOnDisk;
    }
    QString ticked() {
        QString s;
        for (int n = 1; n <= 10; ++n) s += window->Check(n)->isChecked() ? '1' : '0';
        return s;
    }
};

} // namespace

TEST_F(Settings, TabAcceptsExactlyZeroToTwelve) {
    // 11 and 12 are the disc kinds' tabs after Scan.
    const std::pair<QString, int> cases[] = {{"3", 3},  {"10", 10}, {"11", 11}, {"12", 12}, {"13", 0},
                                             {"-1", 0}, {"abc", 0}, {"03", 0},  {" 3", 3},  {"\" 3\"", 0}};
    for (const auto& [stored, shown] : cases) {
        window = makeWindow();
        store(stored, "0,0,0,0,0,0,0,0,0,0");
        window->readini();
        EXPECT_EQ(window->SSTab1->currentIndex(), shown) << stored.toStdString();
    }
    EXPECT_EQ(window->SSTab1->tabText(10), "Scan");
    EXPECT_EQ(window->SSTab1->tabText(12), "Mini Disc");
}

TEST_F(Settings, TicksAcceptExactlyOneAndRestoreThroughTheRules) {
    store("3", "0,0,0,1,0,0,0,0,0,0");
    window->readini();
    EXPECT_EQ(ticked(), "0001000000");
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(window->Check(n)->isEnabled(), n == 4) << n;
    EXPECT_TRUE(window->cmdPrint->isEnabled());
    EXPECT_EQ(window->dirSelect->path(), covers.path());

    window = makeWindow();
    store("0", "1,0,1,0,0,0,0,0,0,0");
    window->readini();
    EXPECT_EQ(ticked(), "1010000000");
    EXPECT_TRUE(window->Check(2)->isEnabled());
    for (int n = 4; n <= 10; ++n) EXPECT_FALSE(window->Check(n)->isEnabled()) << n;
    EXPECT_TRUE(window->cmdPrint->isEnabled());

    window = makeWindow();
    store("0", "\" 1\",2,true,01,0,0,0,0,0,0");
    window->readini();
    EXPECT_EQ(ticked(), "0000000000") << "a quoted blank, 2, true and 01 are not ticks";

    window = makeWindow();
    store("0", " 1 ,0,0,0,0,0,0,0,0,0");
    window->readini();
    EXPECT_EQ(ticked(), "1000000000") << "unquoted blanks are trimmed by the profile rules";
}

TEST_F(Settings, AFolderDeletedSinceTheLastRunFallsBackToTheProgramFolder) {
    store("5", "0,0,0,0,0,1,0,0,0,0", covers.file("gone"));
    window->readini();
    EXPECT_EQ(window->dirSelect->path(), dir.path());
    EXPECT_EQ(window->SSTab1->currentIndex(), 0);
    EXPECT_EQ(ticked(), "0000000000");
    for (int n = 1; n <= 10; ++n) EXPECT_TRUE(window->Check(n)->isEnabled());
    EXPECT_FALSE(window->cmdPrint->isEnabled());

    window = makeWindow();
    dir.write("kavi4.ini", "[MAIN]\nDrive=/no/such/drive\nDir=/\nTab=2\nFront=1\n");
    window->readini();
    EXPECT_EQ(window->dirSelect->path(), dir.path());
    EXPECT_EQ(ticked(), "0000000000");

    window = makeWindow();
    QFile::remove(dir.file("kavi4.ini"));
    window->readini(); // first start: no file at all
    EXPECT_EQ(window->dirSelect->path(), dir.path());
}

TEST_F(Settings, AFreshFileHoldsTheThirteenKeysInOrder) {
    ASSERT_TRUE(window->dirSelect->setPath(covers.path()));
    window->SSTab1->setCurrentIndex(3);
    window->Check(4)->click();
    window->writeini();
    const QByteArray expected = "[MAIN]\nDrive=" + drive().toUtf8() + "\nDir=" + covers.path().toUtf8() +
        "\nTab=3\nFront=0\nInside=0\nBack=0\nDVD=1\nMini=0\nPSP=0\nDS=0\nSLIM=0\nHD=0\nBLU=0\n";
    EXPECT_EQ(dir.read("kavi4.ini"), expected);
}

TEST_F(Settings, AHandEditedFileKeepsItsLinesAndComments) {
    dir.write("kavi4.ini", "; my notes\n[Main]\nBLU = 0\nTab=1\nExtra=keep me\n[Other]\nx=y\n");
    window->writeini();
    const QList<QByteArray> lines = dir.read("kavi4.ini").split('\n');
    EXPECT_EQ(lines[0], "; my notes");
    EXPECT_EQ(lines[1], "[Main]");
    EXPECT_EQ(lines[2], "BLU=0");
    EXPECT_EQ(lines[3], "Tab=0");
    EXPECT_EQ(lines[4], "Extra=keep me");
    EXPECT_EQ(lines[5], "Drive=" + drive().toUtf8()) << "new keys go at the end of their section";
    EXPECT_TRUE(dir.read("kavi4.ini").endsWith("[Other]\nx=y\n"));
}

TEST_F(Settings, ARestartRestoresWhatTheLastRunLeft) {
    window->Form_Load();
    ASSERT_TRUE(window->dirSelect->setPath(covers.path()));
    window->SSTab1->setCurrentIndex(2);
    window->Check(1)->click();
    window->Check(3)->click();
    window->Form_Unload();

    window = makeWindow();
    window->Form_Load();
    EXPECT_EQ(window->SSTab1->currentIndex(), 2);
    EXPECT_EQ(ticked(), "1010000000");
    EXPECT_EQ(window->dirSelect->path(), covers.path());
    EXPECT_EQ(window->drvSelect->drive(), drive());
}

TEST_F(Settings, FoldersWithOuterBlanksOrQuotesSurviveARestart) {
    for (const QString name : {" lead", "trail ", "\"quoted\"", "'single'"}) {
        const QString folder = covers.path() + "/" + name;
        ASSERT_TRUE(QDir().mkpath(folder));
        window = makeWindow();
        window->Form_Load();
        ASSERT_TRUE(window->dirSelect->setPath(folder));
        window->Check(4)->click();
        window->Form_Unload();

        window = makeWindow();
        window->Form_Load();
        EXPECT_EQ(window->dirSelect->path(), folder) << name.toStdString();
        EXPECT_EQ(ticked(), "0001000000") << "no fallback for " << name.toStdString();
        window->Check(4)->click(); // unticked again for the next round
        window->Form_Unload();
    }
}

TEST_F(Settings, UnloadWritesTheSettingsBeforeClosingTheHelp) {
    window->Form_Load();
    const QStringList settingsOnDisk = unloadNotingWhenSettingsAreOnDisk();
    EXPECT_EQ(services.journal.entries, std::vector<QString>({"encoders:shutdown", "help:18"}));
    EXPECT_EQ(settingsOnDisk, QStringList({"help:18"}))
        << "the image writer is released before the settings are written, and they before the help closes";
}

TEST_F(Settings, UnloadPutsTheStartUpPrinterBackBeforeWritingTheSettings) {
    services.printers.install({"Office", "Photo"}); // no default of the user's own at start-up
    window->Form_Load();
    window->A_Click();
    // "Photo" chosen in the printer chooser, so that the default in force at the end is Kavi's own.
    PrinterChooser* chooser = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<PrinterChooser*>(w)) chooser = f;
    ASSERT_TRUE(chooser);
    const QList<QListWidgetItem*> photo = chooser->List1->findItems("Photo", Qt::MatchExactly);
    ASSERT_EQ(photo.size(), 1);
    photo.first()->setSelected(true);
    chooser->Command1_Click();
    const QStringList settingsOnDisk = unloadNotingWhenSettingsAreOnDisk();
    EXPECT_EQ(services.journal.entries,
              std::vector<QString>({"printers:write Office,Office driver,Office-port", "printers:clear",
                                    "encoders:shutdown", "help:18"}))
        << "printer restored, image writer released, settings written, help closed";
    EXPECT_EQ(settingsOnDisk, QStringList({"help:18"})) << "the printer comes back first, then the settings";
    EXPECT_FALSE(services.printers.userSetting.has_value());
}

TEST_F(Settings, ThePrintLayoutComesBackAfterARestartAndIsOnlyWrittenOnceChanged) {
    store("3", "0,0,0,1,0,0,0,0,0,0");
    window->readini();
    window->readPrintLayoutSettings();
    window->Form_Unload();
    EXPECT_FALSE(dir.read("kavi4.ini").contains("PRINT LAYOUT")) << "untouched, the section is not written";
    EXPECT_FALSE(window->PaperA4->isChecked());
    EXPECT_TRUE(window->PaperLetterLegal->isChecked());

    window = makeWindow();
    window->readPrintLayoutSettings();
    window->PaperA4->trigger();
    window->CutMarks->trigger();
    window = makeWindow();
    window->readini();
    window->readPrintLayoutSettings();
    EXPECT_TRUE(window->PaperA4->isChecked());
    EXPECT_TRUE(window->CutMarks->isChecked());
    EXPECT_EQ(window->printSelection().layout, (PrintLayoutSettings{PaperChoice::A4, true}));
    EXPECT_EQ(ticked(), "0001000000") << "the main section keeps its meaning";
}
