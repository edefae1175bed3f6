// SPDX-License-Identifier: GPL-3.0-or-later
// The print choices in the Paper menu: each choice reaches the document and the settings file, the
// paper and cut marks keep the others, and a restart shows them again.
#include "app/main_window.h"
#include "app/print_choices_menu.h"
#include "output/print/print_choices_settings.h"
#include "tests/support/test_platform.h"

#include <QAction>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kavi;

TEST(PrintChoicesMenu, ChoicesReachTheDocumentAndTheSettingsAndThePaperKeepsThem) {
    QTemporaryDir settings;
    const QString ini = settings.filePath("kavi4.ini");
    {
        kavi::testing::TestPlatform services;
        MainWindow window{services.platform};
        window.settingsFile = ini;
        window.Form_Load();
        PrintChoicesMenu& menu = *window.printChoicesMenu;
        EXPECT_TRUE(menu.PlaceCorner->isChecked());
        EXPECT_TRUE(menu.HdOnLetter->isChecked());
        EXPECT_TRUE(menu.DsOnA4->isChecked());
        EXPECT_FALSE(menu.CoversTogether->isChecked());
        menu.PlaceForMarks->trigger();
        menu.HdOnLegal->trigger();
        menu.CoversTogether->trigger();
        window.PaperA4->trigger();
        window.CutMarks->trigger();
        const PrintChoices choices = window.printSelection().layout.choices;
        EXPECT_EQ(choices.placement, Placement::MovedInForMarks);
        EXPECT_EQ(choices.sheets.hdAndBluRay, LongCaseSheet::Legal);
        EXPECT_TRUE(choices.together) << "kept through the paper and the cut marks";
        EXPECT_EQ(window.printSelection().layout.paper, PaperChoice::A4);
        EXPECT_TRUE(menu.PlaceForMarks->isChecked());
        EXPECT_FALSE(menu.PlaceCorner->isChecked());
        EXPECT_EQ(readPrintChoices(ini), choices);
        window.Form_Unload();
    }
    kavi::testing::TestPlatform services;
    MainWindow again{services.platform};
    again.settingsFile = ini;
    again.Form_Load();
    EXPECT_TRUE(again.printChoicesMenu->PlaceForMarks->isChecked());
    EXPECT_TRUE(again.printChoicesMenu->HdOnLegal->isChecked());
    EXPECT_TRUE(again.printChoicesMenu->CoversTogether->isChecked());
    again.Form_Unload();
}

TEST(PrintChoicesMenu, ACoverSetOpenedShowsTheLayoutItWasSavedWith) {
    QTemporaryDir settings;
    kavi::testing::TestPlatform services;
    MainWindow window{services.platform};
    window.settingsFile = settings.filePath("kavi4.ini");
    window.Form_Load();
    CoverSet set = CoverSet::empty();
    CoverSetPrintLayout layout{PaperChoice::A4, true, {}};
    layout.choices.placement = Placement::CentredOnSheet;
    layout.choices.sheets.dsOnA4 = DsSheetOnA4::Legal;
    set.printLayout = layout;
    window.applyCoverSet(set);
    EXPECT_TRUE(window.PaperA4->isChecked());
    EXPECT_TRUE(window.CutMarks->isChecked());
    EXPECT_TRUE(window.printChoicesMenu->PlaceCentred->isChecked());
    EXPECT_TRUE(window.printChoicesMenu->DsOnLegal->isChecked());
    EXPECT_EQ(window.printSelection().layout.choices, layout.choices) << "the next print uses it";
    window.Form_Unload();
}

TEST(PrintChoicesMenu, TheBleedComesBackAfterARestartAndACoverSetsBleedReplacesIt) {
    QTemporaryDir settings;
    const QString ini = settings.filePath("kavi4.ini");
    {
        kavi::testing::TestPlatform services;
        MainWindow window{services.platform};
        window.settingsFile = ini;
        window.Form_Load();
        PrintChoicesMenu& menu = *window.printChoicesMenu;
        EXPECT_TRUE(menu.BleedOff->isChecked());
        EXPECT_FALSE(menu.Bleed2mm->isChecked() || menu.Bleed3mm->isChecked());
        menu.Bleed3mm->trigger();
        window.PaperA4->trigger();
        EXPECT_EQ(window.printSelection().layout.choices.bleed, Bleed::ThreeMillimetres) << "kept through the paper";
        EXPECT_TRUE(menu.Bleed3mm->isChecked());
        EXPECT_FALSE(menu.BleedOff->isChecked());
        EXPECT_EQ(readPrintChoices(ini).bleed, Bleed::ThreeMillimetres);
        window.Form_Unload();
    }
    kavi::testing::TestPlatform services;
    MainWindow again{services.platform};
    again.settingsFile = ini;
    again.Form_Load();
    EXPECT_TRUE(again.printChoicesMenu->Bleed3mm->isChecked());
    EXPECT_EQ(again.printSelection().layout.choices.bleed, Bleed::ThreeMillimetres);
    CoverSet set = CoverSet::empty();
    CoverSetPrintLayout layout;
    layout.choices.bleed = Bleed::TwoMillimetres;
    set.printLayout = layout;
    again.applyCoverSet(set);
    EXPECT_TRUE(again.printChoicesMenu->Bleed2mm->isChecked());
    EXPECT_FALSE(again.printChoicesMenu->Bleed3mm->isChecked());
    EXPECT_EQ(again.printSelection().layout.choices.bleed, Bleed::TwoMillimetres);
    again.printChoicesMenu->BleedOff->trigger();
    EXPECT_EQ(readPrintChoices(ini).bleed, Bleed::Off);
    again.Form_Unload();
}
