// SPDX-License-Identifier: GPL-3.0-or-later
#include "sysinfo/sysinfo_texts.h"

#include <gtest/gtest.h>

using namespace kavi;

TEST(SysinfoTexts, MemoryChangesUnitAtItsBoundaries) {
    EXPECT_EQ(memoryText(0), QStringLiteral("0 bytes"));
    EXPECT_EQ(memoryText(1024), QStringLiteral("1024 bytes"));
    EXPECT_EQ(memoryText(1025), QStringLiteral("1 kilo bytes"));
    EXPECT_EQ(memoryText(2047), QStringLiteral("1 kilo bytes"));
    EXPECT_EQ(memoryText(1048576), QStringLiteral("1024 kilo bytes"));
    EXPECT_EQ(memoryText(1048577), QStringLiteral("1 mega bytes"));
    // Sizes the old 32-bit count could not hold.
    EXPECT_EQ(memoryText(4294967296ull), QStringLiteral("4096 mega bytes"));
    EXPECT_EQ(memoryText(17179869184ull + 1048575), QStringLiteral("16384 mega bytes"));
    EXPECT_EQ(memoryText(1ull << 40), QStringLiteral("1048576 mega bytes"));
}

TEST(SysinfoTexts, DiskSpaceIsGroupedByThousands) {
    EXPECT_EQ(diskSpaceText(0), QStringLiteral("0 bytes"));
    EXPECT_EQ(diskSpaceText(999), QStringLiteral("999 bytes"));
    EXPECT_EQ(diskSpaceText(1000), QStringLiteral("1,000 bytes"));
    EXPECT_EQ(diskSpaceText(123456), QStringLiteral("123,456 bytes"));
    EXPECT_EQ(diskSpaceText(1234567), QStringLiteral("1,234,567 bytes"));
    EXPECT_EQ(diskSpaceText(5000000000ull), QStringLiteral("5,000,000,000 bytes"));
    EXPECT_EQ(diskSpaceText(18446744073709551615ull), QStringLiteral("18,446,744,073,709,551,615 bytes"));
}

TEST(SysinfoTexts, SerialNumbersAreSignedThirtyTwoBit) {
    EXPECT_EQ(serialText(1), QStringLiteral("1"));
    EXPECT_EQ(serialText(2147483647u), QStringLiteral("2147483647"));
    EXPECT_EQ(serialText(2147483648u), QStringLiteral("-2147483648"));
    EXPECT_EQ(serialText(0xFFFFFFFFu), QStringLiteral("-1"));
}

TEST(SysinfoTexts, DriveTypes) {
    EXPECT_EQ(driveTypeText(DriveType::Removable), QStringLiteral("Removable"));
    EXPECT_EQ(driveTypeText(DriveType::Fixed), QStringLiteral("Drive Fixed"));
    EXPECT_EQ(driveTypeText(DriveType::Remote), QStringLiteral("Remote (network) drive"));
    EXPECT_EQ(driveTypeText(DriveType::CdRom), QStringLiteral("Cd-Rom"));
    EXPECT_EQ(driveTypeText(DriveType::RamDisk), QStringLiteral("Ram disk"));
    EXPECT_EQ(driveTypeText(DriveType::Unknown), QStringLiteral("Unrecognized"));
    EXPECT_EQ(driveTypeText(DriveType::NoRootFolder), QStringLiteral("Unrecognized"));
}

TEST(SysinfoTexts, TimeAndDateInTwoDigitParts) {
    EXPECT_EQ(timeText(QTime(9, 5, 3)), QStringLiteral("09:05:03"));
    EXPECT_EQ(timeText(QTime(23, 59, 59)), QStringLiteral("23:59:59"));
    EXPECT_EQ(dateText(QDate(2026, 12, 7)), QStringLiteral("Monday, 12-07-2026"));
    EXPECT_EQ(dateText(QDate(2026, 12, 6)), QStringLiteral("Sunday, 12-06-2026"));
    EXPECT_EQ(dateText(QDate(2027, 1, 2)), QStringLiteral("Saturday, 01-02-2027"));
}
