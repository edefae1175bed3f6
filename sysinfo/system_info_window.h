// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system information window: user and computer, system folders, kernel, memory, drives and
// their space, the time, the screen and display driver, and the mouse. It only reads and shows.
#include "platform/platform.h"

#include <QByteArray>
#include <QString>
#include <QTimer>
#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace kavi {

class SystemInfoWindow : public QWidget {
    Q_OBJECT
public:
    explicit SystemInfoWindow(Platform& platform, QWidget* parent = nullptr);

    // Found device: its description and maker.
    struct DeviceMatch {
        bool found = false;
        QString description;
        QString manufacturer;
    };

    void Form_Load();
    void ReadGeneralInfo();
    void ReadDisks();
    void ReadTime();
    void ReadMonitor();
    void ReadMouse();
    void cmbDrives_Click();
    void tmrTime_Timer() { ReadTime(); }
    void Command1_Click() { close(); }
    void Form_Unload();

    // Searches the device list depth first from `path` for a key whose "Class" is `className`.
    DeviceMatch FindDeviceClass(const QString& path, const QString& className, int depth = 0) const;
    // A text value up to its NUL, a binary value as a signed 16-bit decimal, else the empty text.
    QString ReadRegValue(const QString& key, const QString& name) const;
    // The text before the first NUL; the empty text when there is none.
    static QString StripTerminator(const QByteArray& s);

    QGroupBox *frmGeneralInfo, *frmDisks, *frmTime, *frmMonitor, *frmMouse;
    QLabel *lblLogged, *lblWindows, *lblSystem, *lblTemp, *lblPlatform, *lblVersion, *lblTotRAM, *lblResources;
    QComboBox* cmbDrives;
    QLabel *lblDriveLabel, *lblDriveType, *lblFSN, *lblSerial, *lblTotalSpace, *lblFreeSpace;
    QLabel *lblTime, *lblDate;
    QLabel *lblResolution, *lblColors, *lblDispDriver, *lblDispManuf, *Label17;
    QLabel *lblMouseDriver, *lblMouseManuf, *lblButtons, *Label20;
    QPushButton* Command1;
    QTimer tmrTime;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* addRow(QGroupBox* frame, const char* caption, const char* valueName, int row,
                   QLabel** captionLabel = nullptr);
    // Lets a driver label grow with its text but not past its frame; a cut text gets a tool tip.
    void fitDriverLabel(QGroupBox* frame, QLabel* label, const QLabel* caption);

    Platform& platform_;
    bool unloaded_ = false;
};

} // namespace kavi
