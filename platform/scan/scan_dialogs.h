// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The scanner's own small dialogs: the source chooser and the scan dialog with resolution,
// colour mode and scan area, Scan and Cancel, and a progress bar while the scan runs.
#include "platform/scan/sane_device.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace kavi {

class SourceChooserDialog final : public QDialog {
    Q_OBJECT
public:
    SourceChooserDialog(const std::vector<ScannerDevice>& devices, const QString& current, QWidget* owner);
    QString chosenName() const;

private:
    std::vector<ScannerDevice> devices_;
    QListWidget* sources_;
};

class ScanDialog final : public QDialog {
    Q_OBJECT
public:
    // exec() gives Accepted, Rejected (cancelled) or DeviceFailed.
    enum { DeviceFailed = 2 };
    ScanDialog(SaneDevice& device, const QString& title, QWidget* owner);
    // The picture of the last scan; null unless the dialog was accepted.
    const QImage& picture() const { return picture_; }

    void reject() override;

private:
    void startScan();
    void cancel();
    ScanSettings chosenSettings() const;
    void setBusy(bool busy);

    SaneDevice& device_;
    ScanSettings settings_;
    QImage picture_;
    bool scanning_ = false;
    bool cancelRequested_ = false;
    QComboBox* resolution_ = nullptr;
    QComboBox* mode_ = nullptr;
    QDoubleSpinBox* area_[4] = {nullptr, nullptr, nullptr, nullptr};
    QLabel* status_;
    QProgressBar* progress_;
    QPushButton* scanButton_;
    QPushButton* cancelButton_;
};

} // namespace kavi
