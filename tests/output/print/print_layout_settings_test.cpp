// SPDX-License-Identifier: GPL-3.0-or-later
// The print layout and calibration sections of the settings file: they come back after a restart,
// a file without them or with damaged values reads as the defaults, and the main section is kept.
#include "output/print/print_layout_settings.h"
#include "platform/files/profile.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

using namespace kavi;

namespace {

class PrintLayoutSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ini = folder.write("kavi4.ini", "[MAIN]\nDrive=/\nDir=/tmp\nTab=3\nDVD=1\n"); }
    kavi::testing::TempFolder folder;
    QString ini;
};

} // namespace

TEST_F(PrintLayoutSettingsTest, AFileWithoutTheSectionsReadsAsTheDefaultsAndReadingWritesNothing) {
    const QByteArray before = folder.read("kavi4.ini");
    EXPECT_EQ(readPrintLayout(ini), PrintLayoutSettings{});
    EXPECT_TRUE(readCalibration(ini, "Office", Orientation::Landscape).isIdentity());
    EXPECT_EQ(folder.read("kavi4.ini"), before);
    EXPECT_EQ(readPrintLayout(folder.file("missing.ini")), PrintLayoutSettings{});
}

TEST_F(PrintLayoutSettingsTest, ChoicesAndCalibrationsComeBackPerQueueAndOrientation) {
    ASSERT_TRUE(writePrintLayout(ini, {PaperChoice::A4, true}));
    const Calibration portrait{1.25, -0.5, 100.4, 99.75}, landscape{-3, 2, 101, 100};
    ASSERT_TRUE(writeCalibration(ini, "Office", Orientation::Portrait, portrait));
    ASSERT_TRUE(writeCalibration(ini, "Office", Orientation::Landscape, landscape));
    EXPECT_EQ(readPrintLayout(ini), (PrintLayoutSettings{PaperChoice::A4, true}));
    EXPECT_EQ(readCalibration(ini, "Office", Orientation::Portrait), portrait);
    EXPECT_EQ(readCalibration(ini, "office", Orientation::Landscape), landscape) << "queue names match in any case";
    EXPECT_TRUE(readCalibration(ini, "Home", Orientation::Portrait).isIdentity());
    for (const char* key : {"Drive", "Dir", "Tab", "DVD"})
        EXPECT_FALSE(profile::getString("MAIN", key, "", 100, ini).isEmpty()) << key;

    EXPECT_FALSE(writeCalibration(ini, "Office", Orientation::Portrait, {27, 0, 100, 100})) << "out of range";
    EXPECT_FALSE(writeCalibration(ini, "", Orientation::Portrait, portrait));
    EXPECT_EQ(readCalibration(ini, "Office", Orientation::Portrait), portrait) << "a refused write changes nothing";
}

TEST_F(PrintLayoutSettingsTest, DamagedValuesFallBackToTheDefaults) {
    folder.write("kavi4.ini",
                 "[MAIN]\nTab=3\n[PRINT LAYOUT]\nPaper=A5\nCutMarks=yes\n"
                 "[CALIBRATION Office]\nPortraitOffsetX=2\nPortraitOffsetY=abc\n"
                 "LandscapeOffsetX=1\nLandscapeScaleX=300\n"
                 "[CALIBRATION Home]\nPortraitScaleY=102\n");
    EXPECT_EQ(readPrintLayout(ini), PrintLayoutSettings{});
    EXPECT_TRUE(readCalibration(ini, "Office", Orientation::Portrait).isIdentity()) << "one damaged value: none";
    EXPECT_TRUE(readCalibration(ini, "Office", Orientation::Landscape).isIdentity()) << "out of range: none";
    EXPECT_EQ(readCalibration(ini, "Home", Orientation::Portrait), (Calibration{0, 0, 100, 102}))
        << "missing values take their defaults";
    EXPECT_EQ(profile::getString("MAIN", "Tab", "", 100, ini), "3");
}
