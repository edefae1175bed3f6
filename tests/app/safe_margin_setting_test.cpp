// SPDX-License-Identifier: GPL-3.0-or-later
// The safe margin setting: 3 mm until set, written only once set, and a damaged value reads as 3 mm
// without touching the other sections.
#include "app/safe_margin_setting.h"
#include "covers/safe_area.h"
#include "platform/files/profile.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

using namespace kavi;

TEST(SafeMarginSetting, DefaultEachValueAndDamagedValuesInASectionOfItsOwn) {
    kavi::testing::TempFolder folder;
    const QString ini = folder.write("kavi4.ini", "[PRINT LAYOUT]\nBleed=3\n");
    EXPECT_EQ(readSafeMargin(ini), kDefaultSafeMargin);
    ASSERT_TRUE(writeSafeMargin(ini, kDefaultSafeMargin));
    EXPECT_EQ(folder.read("kavi4.ini").toStdString(), "[PRINT LAYOUT]\nBleed=3\n") << "the default adds nothing";
    for (double mm : {4.5, 0.0, 20.0, 3.0}) {
        ASSERT_TRUE(writeSafeMargin(ini, Length::fromMillimetres(mm)));
        EXPECT_NEAR(readSafeMargin(ini).millimetres(), mm, 1e-9);
    }
    EXPECT_EQ(profile::getString("DESIGN", "SafeMargin", "", 100, ini), "3") << "back to the default: written over";
    EXPECT_EQ(profile::getString("PRINT LAYOUT", "Bleed", "", 100, ini), "3");
    for (const char* damaged : {"", "  ", "-1", "21", "1e9", "nan", "inf", "three", "3 mm"}) {
        folder.write("kavi4.ini", QByteArray("[DESIGN]\nSafeMargin=") + damaged + "\n");
        EXPECT_EQ(readSafeMargin(ini), kDefaultSafeMargin) << damaged;
    }
    folder.write("kavi4.ini", "[DESIGN]\nSafeMargin= 2.5 \n");
    EXPECT_NEAR(readSafeMargin(ini).millimetres(), 2.5, 1e-9);
    ASSERT_TRUE(writeSafeMargin(ini, Length::fromMillimetres(-4)));
    EXPECT_EQ(profile::getString("DESIGN", "SafeMargin", "", 100, ini), "0") << "a negative margin is written as none";
}
