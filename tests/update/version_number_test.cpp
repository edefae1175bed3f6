// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/version_number.h"

#include <gtest/gtest.h>

using kavi::versionNumber;

TEST(VersionNumber, RoundsToTheNearestWholeNumberWithHalvesToEven) {
    EXPECT_EQ(versionNumber(QStringLiteral("4.00")), 4);
    EXPECT_EQ(versionNumber(QStringLiteral("4.10")), 4);
    EXPECT_EQ(versionNumber(QStringLiteral("4.5")), 4);
    EXPECT_EQ(versionNumber(QStringLiteral("4.51")), 5);
    EXPECT_EQ(versionNumber(QStringLiteral("5.00")), 5);
    EXPECT_EQ(versionNumber(QStringLiteral("5.5")), 6);
    EXPECT_EQ(versionNumber(QStringLiteral("3.5")), 4);
    EXPECT_EQ(versionNumber(QStringLiteral("4.49")), 4);
    EXPECT_EQ(versionNumber(QStringLiteral("-2.5")), -2);
    EXPECT_EQ(versionNumber(QStringLiteral(".5")), 0);
    EXPECT_EQ(versionNumber(QStringLiteral("7")), 7);
    EXPECT_EQ(versionNumber(QStringLiteral("7.")), 7);
}

TEST(VersionNumber, AcceptsBlanksAroundTheNumberAsAFileHasThem) {
    EXPECT_EQ(versionNumber(QStringLiteral("5.00\n")), 5);
    EXPECT_EQ(versionNumber(QStringLiteral(" 5.00\r\n")), 5);
}

TEST(VersionNumber, OnlyPlainDecimalsThatFitSixteenBits) {
    EXPECT_EQ(versionNumber(QStringLiteral("32767.4")), 32767);
    EXPECT_EQ(versionNumber(QStringLiteral("32767.5")), std::nullopt); // rounds to 32768
    EXPECT_EQ(versionNumber(QStringLiteral("-32768.5")), -32768); // rounds to the even -32768
    EXPECT_EQ(versionNumber(QStringLiteral("-32769")), std::nullopt);
    EXPECT_EQ(versionNumber(QStringLiteral("99999999999999999999999")), std::nullopt);
    for (const char* bad :
         {"", " ", "abc", "5.00abc", "v5", "5,00", "1e2", "5.0.1", "<html>", "nan", "inf", "0x10", "--1"})
        EXPECT_EQ(versionNumber(QString::fromLatin1(bad)), std::nullopt) << bad;
}
