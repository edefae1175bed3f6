// SPDX-License-Identifier: GPL-3.0-or-later
// The system information window over fixed facts.
#include "sysinfo/system_info_window.h"
#include "tests/support/test_platform.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::TestPlatform;
using Drive = kavi::testing::FixedSystemFacts::Drive;

namespace {

Drive drive(const char* root, DriveType type, std::uint32_t serial, std::uint64_t total = 0, std::uint64_t free = 0) {
    return Drive{QString::fromLatin1(root), type,
                 VolumeInfo{QStringLiteral("LBL_") + QString::fromLatin1(root).mid(1), QStringLiteral("ext4"), serial},
                 DiskSpace{total, free}};
}

} // namespace

TEST(SystemInfoWindow, GeneralFactsAndTexts) {
    TestPlatform tp;
    tp.facts.temp = QStringLiteral("/var/tmp/kavi/");
    tp.facts.memoryStatus = {6ull << 30, 37};
    SystemInfoWindow w(tp.platform);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Information about studio"));
    EXPECT_EQ(w.lblLogged->text(), QStringLiteral("Logged in under ana on studio"));
    EXPECT_EQ(w.lblWindows->text(), QStringLiteral("/"));
    EXPECT_EQ(w.lblSystem->text(), QStringLiteral("/USR/LIB"));
    EXPECT_EQ(w.lblTemp->text(), QStringLiteral("/VAR/TMP/KAVI/"));
    EXPECT_EQ(w.lblPlatform->text(), QStringLiteral("Linux"));
    EXPECT_EQ(w.lblVersion->text(), QStringLiteral("6.1"));
    EXPECT_EQ(w.lblTotRAM->text(), QStringLiteral("6144 mega bytes"));
    EXPECT_EQ(w.lblResources->text(), QStringLiteral("37%"));
    EXPECT_EQ(w.lblTime->text(), QStringLiteral("09:05:03"));
    EXPECT_EQ(w.lblDate->text(), QStringLiteral("Monday, 12-07-2026"));
    EXPECT_EQ(w.lblResolution->text(), QStringLiteral("1920x1080"));
    EXPECT_EQ(w.lblColors->text(), QStringLiteral("24 bit"));
    EXPECT_EQ(w.lblButtons->text(), QStringLiteral("3"));
    EXPECT_EQ(w.pos(), QPoint(0, 0));
    EXPECT_TRUE(w.lblDispDriver->text().isEmpty()); // no device list: empty, no message
    EXPECT_EQ(tp.messages.shown.size(), 0u);

    tp.facts.platform.clear();
    w.ReadGeneralInfo();
    EXPECT_EQ(w.lblPlatform->text(), QStringLiteral("Unknown"));
}

TEST(SystemInfoWindow, TheClockTicksThroughItsTimer) {
    TestPlatform tp;
    SystemInfoWindow w(tp.platform);
    EXPECT_EQ(w.tmrTime.interval(), 500);
    EXPECT_TRUE(w.tmrTime.isActive());
    tp.facts.now = QDateTime(QDate(2027, 1, 1), QTime(0, 0, 7));
    w.tmrTime_Timer();
    EXPECT_EQ(w.lblTime->text(), QStringLiteral("00:00:07"));
    EXPECT_EQ(w.lblDate->text(), QStringLiteral("Friday, 01-01-2027"));
}

TEST(SystemInfoWindow, TheFirstFixedDriveIsSelectedAndShown) {
    TestPlatform tp;
    tp.facts.driveList = {drive("/media/usb", DriveType::Removable, 7, 1000, 10),
                          drive("/", DriveType::Fixed, 2147483648u, 5000000000ull, 1234567),
                          drive("/home", DriveType::Fixed, 99, 1, 1)};
    SystemInfoWindow w(tp.platform);
    EXPECT_EQ(w.cmbDrives->count(), 3);
    EXPECT_EQ(w.cmbDrives->currentText(), QStringLiteral("/"));
    EXPECT_EQ(w.lblDriveType->text(), QStringLiteral("Drive Fixed"));
    EXPECT_EQ(w.lblDriveLabel->text(), QStringLiteral("LBL_"));
    EXPECT_EQ(w.lblFSN->text(), QStringLiteral("ext4"));
    EXPECT_EQ(w.lblSerial->text(), QStringLiteral("-2147483648"));
    EXPECT_EQ(w.lblTotalSpace->text(), QStringLiteral("5,000,000,000 bytes"));
    EXPECT_EQ(w.lblFreeSpace->text(), QStringLiteral("1,234,567 bytes"));
    // The label sits centred on the list.
    const QRect list = w.cmbDrives->geometry(), label = w.lblDriveLabel->geometry();
    EXPECT_EQ(label.top(), list.top() + (list.height() - label.height()) / 2);

    // The user picks the removable drive.
    w.cmbDrives->setCurrentIndex(0);
    w.cmbDrives_Click();
    EXPECT_EQ(w.lblDriveType->text(), QStringLiteral("Removable"));
    EXPECT_EQ(w.lblSerial->text(), QStringLiteral("7"));
    EXPECT_EQ(w.lblTotalSpace->text(), QStringLiteral("1,000 bytes"));
}

TEST(SystemInfoWindow, NoFixedDriveLeavesNoSelection) {
    TestPlatform tp;
    tp.facts.driveList = {drive("/media/cd", DriveType::CdRom, 5), drive("/mnt/share", DriveType::Remote, 6)};
    SystemInfoWindow w(tp.platform);
    EXPECT_EQ(w.cmbDrives->count(), 2);
    EXPECT_EQ(w.cmbDrives->currentIndex(), -1);
    for (QLabel* l : {w.lblDriveLabel, w.lblDriveType, w.lblFSN, w.lblSerial, w.lblTotalSpace, w.lblFreeSpace})
        EXPECT_TRUE(l->text().isEmpty()) << l->objectName().toStdString();
    w.cmbDrives_Click(); // nothing selected: nothing to show
    EXPECT_TRUE(w.lblDriveType->text().isEmpty());
}

TEST(SystemInfoWindow, DrivesWithoutSerialShowNAButStillTheirSpace) {
    TestPlatform tp;
    Drive noSerial = drive("/", DriveType::Fixed, 0, 4096, 2048);
    Drive notReady{QStringLiteral("/media/cd"), DriveType::CdRom, std::nullopt, std::nullopt};
    tp.facts.driveList = {noSerial, notReady};
    SystemInfoWindow w(tp.platform);
    EXPECT_EQ(w.lblDriveLabel->text(), QStringLiteral("NA"));
    EXPECT_EQ(w.lblFSN->text(), QStringLiteral("NA"));
    EXPECT_EQ(w.lblSerial->text(), QStringLiteral("NA"));
    EXPECT_EQ(w.lblTotalSpace->text(), QStringLiteral("4,096 bytes"));
    EXPECT_EQ(w.lblFreeSpace->text(), QStringLiteral("2,048 bytes"));

    w.cmbDrives->setCurrentIndex(1);
    w.cmbDrives_Click();
    EXPECT_EQ(w.lblDriveType->text(), QStringLiteral("Cd-Rom"));
    for (QLabel* l : {w.lblDriveLabel, w.lblFSN, w.lblSerial, w.lblTotalSpace, w.lblFreeSpace})
        EXPECT_EQ(l->text(), QStringLiteral("NA")) << l->objectName().toStdString();
}

TEST(SystemInfoWindow, DeviceSearchIsDepthFirstAndMatchesTheClassExactly) {
    TestPlatform tp;
    DeviceKeyTree& k = tp.facts.keys;
    const auto text = DeviceKeyTree::text;
    k.addKey(QStringLiteral("Enum\\pci\\a"), {{QStringLiteral("Class"), text(QStringLiteral("display"))}});
    k.addKey(QStringLiteral("Enum\\pci\\b\\deep"),
             {{QStringLiteral("Class"), text(QStringLiteral("DISPLAY"))},
              {QStringLiteral("DeviceDesc"), text(QStringLiteral("i915"))},
              {QStringLiteral("Mfg"), text(QStringLiteral("Intel"))}});
    k.addKey(QStringLiteral("Enum\\pci\\c"),
             {{QStringLiteral("Class"), text(QStringLiteral("DISPLAY"))},
              {QStringLiteral("DeviceDesc"), text(QStringLiteral("second"))}});
    k.addKey(QStringLiteral("Enum\\usb\\m"),
             {{QStringLiteral("Class"), text(QStringLiteral("Mouse"))},
              {QStringLiteral("DeviceDesc"), DeviceValue{DeviceValueType::String, QByteArray("usbhid\0junk", 11)}},
              {QStringLiteral("Mfg"), DeviceValue{DeviceValueType::Binary, QByteArray("\xfe\xff", 2)}}});
    SystemInfoWindow w(tp.platform);
    EXPECT_EQ(w.lblDispDriver->text(), QStringLiteral("i915"));
    EXPECT_EQ(w.lblDispManuf->text(), QStringLiteral("Intel"));
    EXPECT_EQ(w.lblMouseDriver->text(), QStringLiteral("usbhid"));
    EXPECT_EQ(w.lblMouseManuf->text(), QStringLiteral("-2")); // binary values read as a signed 16-bit number

    EXPECT_FALSE(w.FindDeviceClass(QStringLiteral("Enum"), QStringLiteral("Keyboard")).found);
    EXPECT_FALSE(w.FindDeviceClass(QStringLiteral("Nowhere"), QStringLiteral("Mouse")).found);
    EXPECT_EQ(w.ReadRegValue(QStringLiteral("Enum\\usb\\m"), QStringLiteral("Missing")), QString());
    EXPECT_EQ(SystemInfoWindow::StripTerminator(QByteArray("abc\0def", 7)), QStringLiteral("abc"));
    EXPECT_EQ(SystemInfoWindow::StripTerminator(QByteArray("abc")), QString());
}

TEST(SystemInfoWindow, ALongDriverNameIsCutAtTheFrameWithATip) {
    TestPlatform tp;
    const QString longName(200, QLatin1Char('x'));
    tp.facts.keys.addKey(QStringLiteral("Enum\\pci\\gpu"),
                         {{QStringLiteral("Class"), DeviceKeyTree::text(QStringLiteral("DISPLAY"))},
                          {QStringLiteral("DeviceDesc"), DeviceKeyTree::text(longName)}});
    tp.facts.keys.addKey(QStringLiteral("Enum\\input\\m"),
                         {{QStringLiteral("Class"), DeviceKeyTree::text(QStringLiteral("Mouse"))},
                          {QStringLiteral("DeviceDesc"), DeviceKeyTree::text(QStringLiteral("psmouse"))}});
    SystemInfoWindow w(tp.platform);
    EXPECT_EQ(w.lblDispDriver->text(), longName);
    EXPECT_EQ(w.lblDispDriver->width(), w.frmMonitor->width() - w.lblDispDriver->x() - w.Label17->x());
    EXPECT_EQ(w.lblDispDriver->toolTip(), longName);
    EXPECT_TRUE(w.lblMouseDriver->toolTip().isEmpty());
    EXPECT_LE(w.lblMouseDriver->x() + w.lblMouseDriver->width(), w.frmMouse->width());
}

TEST(SystemInfoWindow, UnloadStopsTheClockAndShowsTheMainToolbar) {
    TestPlatform tp;
    QMainWindow main;
    main.setObjectName(QStringLiteral("frmcovercreator"));
    auto* toolbar = main.addToolBar(QStringLiteral("tools"));
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    main.show();
    toolbar->hide();
    SystemInfoWindow w(tp.platform);
    w.show();
    w.Command1->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.tmrTime.isActive());
    EXPECT_TRUE(toolbar->isVisible());
}
