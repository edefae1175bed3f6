// SPDX-License-Identifier: GPL-3.0-or-later
#include "sysinfo/system_info_window.h"

#include "sysinfo/sysinfo_texts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolBar>

namespace kavi {

namespace {

// Layout in twips: two columns of untitled frames, caption labels on the left of each frame and
// value labels from kValueLeft, one row every kRowStep.
constexpr int kLeftColumn = 120, kLeftWidth = 6735;
constexpr int kRightColumn = 6975, kRightWidth = 5040;
constexpr int kCaptionLeft = 120, kCaptionWidth = 2100, kValueLeft = 2280;
constexpr int kRowHeight = 255, kRowStep = 300;
constexpr int kClientWidth = 12135, kClientHeight = 5310;
constexpr int kMaxDeviceDepth = 32; // the device list is a tree; a deeper path is not followed

} // namespace

SystemInfoWindow::SystemInfoWindow(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), platform_(platform) {
    setObjectName(QStringLiteral("frmComputerInfo"));
    const ScreenUnits& tw = platform_.screen;
    setFixedSize(tw.x(kClientWidth), tw.y(kClientHeight));

    frmGeneralInfo = placeControl(tw, new QGroupBox(this), "frmGeneralInfo", kLeftColumn, 60, kLeftWidth, 2775);
    frmDisks = placeControl(tw, new QGroupBox(this), "frmDisks", kLeftColumn, 2895, kLeftWidth, 2355);
    frmTime = placeControl(tw, new QGroupBox(this), "frmTime", kRightColumn, 60, kRightWidth, 915);
    frmMonitor = placeControl(tw, new QGroupBox(this), "frmMonitor", kRightColumn, 1035, kRightWidth, 1515);
    frmMouse = placeControl(tw, new QGroupBox(this), "frmMouse", kRightColumn, 2610, kRightWidth, 1215);

    lblLogged = placeControl(tw, new QLabel(QStringLiteral("Logged in under ... on ..."), frmGeneralInfo), "lblLogged",
                             kCaptionLeft, 240, kLeftWidth - 2 * kCaptionLeft, kRowHeight);
    lblWindows = addRow(frmGeneralInfo, "Windows directory:", "lblWindows", 0);
    lblSystem = addRow(frmGeneralInfo, "System directory:", "lblSystem", 1);
    lblTemp = addRow(frmGeneralInfo, "Temporary path:", "lblTemp", 2);
    lblPlatform = addRow(frmGeneralInfo, "Windows Platform:", "lblPlatform", 3);
    lblVersion = addRow(frmGeneralInfo, "Windows Version:", "lblVersion", 4);
    lblTotRAM = addRow(frmGeneralInfo, "Total RAM memory:", "lblTotRAM", 5);
    lblResources = addRow(frmGeneralInfo, "Memory used:", "lblResources", 6);

    cmbDrives = placeControl(tw, new QComboBox(frmDisks), "cmbDrives", kCaptionLeft, 300, 2000, 345);
    lblDriveLabel = placeControl(tw, new QLabel(frmDisks), "lblDriveLabel", kValueLeft, 300,
                                 kLeftWidth - kValueLeft - kCaptionLeft, kRowHeight);
    lblDriveType = addRow(frmDisks, "Drive Type:", "lblDriveType", 0);
    lblFSN = addRow(frmDisks, "File System Name:", "lblFSN", 1);
    lblSerial = addRow(frmDisks, "Serial Number:", "lblSerial", 2);
    lblTotalSpace = addRow(frmDisks, "Total diskspace:", "lblTotalSpace", 3);
    lblFreeSpace = addRow(frmDisks, "Free diskspace:", "lblFreeSpace", 4);
    connect(cmbDrives, &QComboBox::activated, this, [this] { cmbDrives_Click(); });

    lblTime = addRow(frmTime, "Time:", "lblTime", 0);
    lblDate = addRow(frmTime, "Date:", "lblDate", 1);
    lblResolution = addRow(frmMonitor, "Screen resolution:", "lblResolution", 0);
    lblColors = addRow(frmMonitor, "Color depth:", "lblColors", 1);
    lblDispDriver = addRow(frmMonitor, "Display driver:", "lblDispDriver", 2, &Label17);
    Label17->setObjectName(QStringLiteral("Label17"));
    lblDispManuf = addRow(frmMonitor, "Driver manufacturer:", "lblDispManuf", 3);
    lblMouseDriver = addRow(frmMouse, "Mouse driver:", "lblMouseDriver", 0);
    lblMouseManuf = addRow(frmMouse, "Mouse manufacturer:", "lblMouseManuf", 1, &Label20);
    Label20->setObjectName(QStringLiteral("Label20"));
    lblButtons = addRow(frmMouse, "Number of buttons:", "lblButtons", 2);

    Command1 = placeControl(tw, new QPushButton(QStringLiteral("&Close"), this), "Command1",
                            kRightColumn + kRightWidth - 1455, kClientHeight - 375 - 120, 1455, 375);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    tmrTime.setObjectName(QStringLiteral("tmrTime"));
    tmrTime.setInterval(500);
    connect(&tmrTime, &QTimer::timeout, this, [this] { tmrTime_Timer(); });
    tmrTime.start();

    Form_Load();
}

QLabel* SystemInfoWindow::addRow(QGroupBox* frame, const char* caption, const char* valueName, int row,
                                 QLabel** captionLabel) {
    const ScreenUnits& tw = platform_.screen;
    // The general frame starts its rows below the logged-in line, the disk frame below the drive list.
    const int firstTop = frame == frmGeneralInfo ? 600 : frame == frmDisks ? 780 : 240;
    const int top = firstTop + row * kRowStep;
    auto* c = new QLabel(QLatin1String(caption), frame);
    c->setGeometry(tw.rect(kCaptionLeft, top, kCaptionWidth, kRowHeight));
    if (captionLabel) *captionLabel = c;
    auto* v = new QLabel(frame);
    v->setObjectName(QLatin1String(valueName));
    v->setGeometry(tw.x(kValueLeft), tw.y(top), frame->width() - tw.x(kValueLeft) - tw.x(kCaptionLeft),
                   tw.y(kRowHeight));
    return v;
}

void SystemInfoWindow::Form_Load() {
    move(0, 0);
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    ReadGeneralInfo();
    ReadDisks();
    ReadTime();
    ReadMonitor();
    ReadMouse();
}

void SystemInfoWindow::ReadGeneralInfo() {
    const SystemFacts& f = platform_.facts;
    const QString computer = f.computerName();
    lblLogged->setText(QStringLiteral("Logged in under ") + f.userName() + QStringLiteral(" on ") + computer);
    setWindowTitle(QStringLiteral("Information about ") + computer);
    lblWindows->setText(f.systemFolder().toUpper());
    lblSystem->setText(f.libraryFolder().toUpper());
    lblTemp->setText(f.temporaryPath().toUpper());
    const QString platformName = f.platformName();
    lblPlatform->setText(platformName.isEmpty() ? QStringLiteral("Unknown") : platformName);
    lblVersion->setText(QString::number(f.versionMajor()) + QLatin1Char('.') + QString::number(f.versionMinor()));
    const MemoryStatus memory = f.memory();
    lblTotRAM->setText(memoryText(memory.totalBytes));
    lblResources->setText(QString::number(memory.loadPercent) + QLatin1Char('%'));
}

void SystemInfoWindow::ReadDisks() {
    cmbDrives->clear();
    bool selected = false;
    for (const QString& root : platform_.facts.drives()) {
        cmbDrives->addItem(root);
        // The list would select its first entry by itself; only the first fixed drive is selected.
        if (!selected) cmbDrives->setCurrentIndex(-1);
        if (!selected && platform_.facts.driveType(root) == DriveType::Fixed) {
            selected = true;
            cmbDrives->setCurrentIndex(cmbDrives->count() - 1);
            cmbDrives_Click();
        }
    }
}

void SystemInfoWindow::cmbDrives_Click() {
    if (cmbDrives->currentIndex() < 0) return;
    const QString root = cmbDrives->currentText();
    const SystemFacts& f = platform_.facts;
    const std::optional<VolumeInfo> volume = f.volume(root);
    lblDriveType->setText(driveTypeText(f.driveType(root)));
    const QString na = QStringLiteral("NA");
    if (volume && volume->serial != 0) {
        lblDriveLabel->setText(volume->label);
        lblFSN->setText(volume->fileSystemName);
        lblSerial->setText(serialText(volume->serial));
    } else {
        lblDriveLabel->setText(na);
        lblFSN->setText(na);
        lblSerial->setText(na);
    }
    // The space is shown whenever the file system answers, with a serial number or without.
    const std::optional<DiskSpace> space = f.space(root);
    lblTotalSpace->setText(space ? diskSpaceText(space->totalBytes) : na);
    lblFreeSpace->setText(space ? diskSpaceText(space->freeBytes) : na);
    lblDriveLabel->move(lblDriveLabel->x(), cmbDrives->y() + (cmbDrives->height() - lblDriveLabel->height()) / 2);
}

void SystemInfoWindow::ReadTime() {
    const QDateTime now = platform_.facts.localTime();
    lblTime->setText(timeText(now.time()));
    lblDate->setText(dateText(now.date()));
}

void SystemInfoWindow::ReadMonitor() {
    const QSize screen = platform_.facts.screenPixels();
    lblResolution->setText(QString::number(screen.width()) + QLatin1Char('x') + QString::number(screen.height()));
    lblColors->setText(QString::number(platform_.facts.colorDepth()) + QStringLiteral(" bit"));
    const DeviceMatch display = FindDeviceClass(QStringLiteral("Enum"), QStringLiteral("DISPLAY"));
    lblDispDriver->setText(display.description);
    lblDispManuf->setText(display.manufacturer);
    fitDriverLabel(frmMonitor, lblDispDriver, Label17);
}

void SystemInfoWindow::ReadMouse() {
    lblButtons->setText(QString::number(platform_.facts.mouseButtons()));
    const DeviceMatch mouse = FindDeviceClass(QStringLiteral("Enum"), QStringLiteral("Mouse"));
    lblMouseDriver->setText(mouse.description);
    lblMouseManuf->setText(mouse.manufacturer);
    fitDriverLabel(frmMouse, lblMouseDriver, Label20);
}

void SystemInfoWindow::fitDriverLabel(QGroupBox* frame, QLabel* label, const QLabel* caption) {
    label->resize(label->sizeHint().width(), label->height());
    const int room = frame->width() - label->x() - caption->x();
    if (room < label->width()) {
        label->resize(room, label->height());
        label->setToolTip(label->text());
    }
}

SystemInfoWindow::DeviceMatch SystemInfoWindow::FindDeviceClass(const QString& path, const QString& className,
                                                                int depth) const {
    const SystemFacts& f = platform_.facts;
    if (depth > kMaxDeviceDepth || !f.keyExists(path)) return {};
    if (ReadRegValue(path, QStringLiteral("Class")) == className)
        return {true, ReadRegValue(path, QStringLiteral("DeviceDesc")), ReadRegValue(path, QStringLiteral("Mfg"))};
    for (int index = 0;; ++index) {
        const std::optional<QByteArray> name = f.subkeyName(path, index);
        if (!name) break;
        DeviceMatch m = FindDeviceClass(path + QLatin1Char('\\') + StripTerminator(*name), className, depth + 1);
        if (m.found) return m;
    }
    return {};
}

QString SystemInfoWindow::ReadRegValue(const QString& key, const QString& name) const {
    const std::optional<DeviceValue> v = platform_.facts.value(key, name);
    if (!v) return {};
    switch (v->type) {
    case DeviceValueType::String: {
        const qsizetype nul = v->data.indexOf('\0');
        return QString::fromUtf8(nul < 0 ? v->data : v->data.left(nul));
    }
    case DeviceValueType::Binary: {
        if (v->data.isEmpty()) return {};
        // Read into a 16-bit integer: the first two bytes, low byte first.
        const auto low = std::uint8_t(v->data[0]);
        const auto high = v->data.size() > 1 ? std::uint8_t(v->data[1]) : std::uint8_t(0);
        return QString::number(std::int16_t(std::uint16_t(low | high << 8)));
    }
    case DeviceValueType::None: break;
    }
    return {};
}

QString SystemInfoWindow::StripTerminator(const QByteArray& s) {
    const qsizetype nul = s.indexOf('\0');
    return nul < 0 ? QString() : QString::fromUtf8(s.left(nul));
}

void SystemInfoWindow::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    tmrTime.stop();
    // The main window, where there is one, shows its toolbar again.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmcovercreator"))
            if (auto* toolbar = w->findChild<QToolBar*>(QStringLiteral("Toolbar1"))) toolbar->setVisible(true);
}

void SystemInfoWindow::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

} // namespace kavi
