// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/scan/scan_dialogs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace kavi {

SourceChooserDialog::SourceChooserDialog(const std::vector<ScannerDevice>& devices, const QString& current,
                                         QWidget* owner)
    : QDialog(owner), devices_(devices), sources_(new QListWidget(this)) {
    setWindowTitle(tr("Select Source"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(devices.empty() ? tr("No scanner was found.") : tr("Sources:"), this));
    sources_->setObjectName("sources");
    for (const ScannerDevice& d : devices) {
        sources_->addItem(d.label.isEmpty() ? d.name : d.label + " (" + d.name + ")");
        if (d.name == current) sources_->setCurrentRow(sources_->count() - 1);
    }
    if (sources_->currentRow() < 0 && sources_->count() > 0) sources_->setCurrentRow(0);
    layout->addWidget(sources_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* select = buttons->addButton(tr("Select"), QDialogButtonBox::AcceptRole);
    select->setObjectName("selectButton");
    select->setEnabled(!devices.empty());
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(sources_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(360, 220);
}

QString SourceChooserDialog::chosenName() const {
    const int row = sources_->currentRow();
    return row >= 0 && row < int(devices_.size()) ? devices_[std::size_t(row)].name : QString();
}

namespace {

// The resolutions offered for a range: the usual ones that the range allows.
std::vector<double> resolutionChoices(const NumericSetting& r) {
    if (!r.choices.empty()) return r.choices;
    std::vector<double> out;
    for (double v : {50.0, 75.0, 100.0, 150.0, 200.0, 300.0, 600.0, 1200.0}) {
        const bool onStep = r.step <= 0 || std::fabs(std::remainder(v - r.min, r.step)) < 1e-6;
        if (v >= r.min && v <= r.max && onStep) out.push_back(v);
    }
    if (out.empty()) out.push_back(r.max);
    return out;
}

// The device's current resolution when it is a usable one, otherwise the choice nearest 150 dpi.
int defaultResolution(const std::vector<double>& choices, double current) {
    int best = 0;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (current >= 50 && std::fabs(choices[i] - current) < 1e-6) return int(i);
        if (std::fabs(choices[i] - 150) < std::fabs(choices[std::size_t(best)] - 150)) best = int(i);
    }
    return best;
}

} // namespace

ScanDialog::ScanDialog(SaneDevice& device, const QString& title, QWidget* owner)
    : QDialog(owner), device_(device), settings_(device.settings()), status_(new QLabel(this)),
      progress_(new QProgressBar(this)), scanButton_(new QPushButton(tr("Scan"), this)),
      cancelButton_(new QPushButton(tr("Cancel"), this)) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    if (settings_.resolution.offered) {
        resolution_ = new QComboBox(this);
        resolution_->setObjectName("resolution");
        for (double v : resolutionChoices(settings_.resolution)) resolution_->addItem(tr("%1 dpi").arg(v), v);
        resolution_->setCurrentIndex(
            defaultResolution(resolutionChoices(settings_.resolution), settings_.resolution.value));
        form->addRow(tr("Resolution:"), resolution_);
    }
    if (!settings_.modes.isEmpty()) {
        mode_ = new QComboBox(this);
        mode_->setObjectName("mode");
        mode_->addItems(settings_.modes);
        mode_->setCurrentText(settings_.mode);
        form->addRow(tr("Colour mode:"), mode_);
    }
    layout->addLayout(form);

    const NumericSetting* sides[4] = {&settings_.left, &settings_.top, &settings_.right, &settings_.bottom};
    if (sides[0]->offered || sides[1]->offered || sides[2]->offered || sides[3]->offered) {
        const bool mm = sides[0]->millimetres || sides[2]->millimetres;
        auto* box = new QGroupBox(mm ? tr("Scan area (mm)") : tr("Scan area (pixels)"), this);
        auto* grid = new QGridLayout(box);
        const char* names[4] = {"areaLeft", "areaTop", "areaRight", "areaBottom"};
        const QString labels[4] = {tr("Left:"), tr("Top:"), tr("Right:"), tr("Bottom:")};
        for (int i = 0; i < 4; ++i) {
            if (!sides[i]->offered) continue;
            auto* spin = new QDoubleSpinBox(box);
            spin->setObjectName(names[i]);
            spin->setDecimals(1);
            spin->setRange(sides[i]->min, sides[i]->max);
            spin->setValue(sides[i]->value);
            grid->addWidget(new QLabel(labels[i], box), i / 2, (i % 2) * 2);
            grid->addWidget(spin, i / 2, (i % 2) * 2 + 1);
            area_[i] = spin;
        }
        layout->addWidget(box);
    }

    progress_->setObjectName("progress");
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setVisible(false);
    layout->addWidget(status_);
    layout->addWidget(progress_);
    status_->setVisible(false);

    scanButton_->setObjectName("scanButton");
    cancelButton_->setObjectName("cancelButton");
    scanButton_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(scanButton_);
    buttons->addWidget(cancelButton_);
    layout->addLayout(buttons);
    connect(scanButton_, &QPushButton::clicked, this, &ScanDialog::startScan);
    connect(cancelButton_, &QPushButton::clicked, this, &ScanDialog::cancel);
}

ScanSettings ScanDialog::chosenSettings() const {
    ScanSettings s = settings_;
    if (resolution_) s.resolution.value = resolution_->currentData().toDouble();
    if (mode_) s.mode = mode_->currentText();
    NumericSetting* sides[4] = {&s.left, &s.top, &s.right, &s.bottom};
    for (int i = 0; i < 4; ++i)
        if (area_[i]) sides[i]->value = area_[i]->value();
    return s;
}

void ScanDialog::setBusy(bool busy) {
    scanning_ = busy;
    scanButton_->setEnabled(!busy);
    for (QWidget* w : {static_cast<QWidget*>(resolution_), static_cast<QWidget*>(mode_)})
        if (w) w->setEnabled(!busy);
    for (QDoubleSpinBox* w : area_)
        if (w) w->setEnabled(!busy);
    progress_->setVisible(busy);
}

void ScanDialog::startScan() {
    if (scanning_) return;
    const ScanSettings chosen = chosenSettings();
    if (chosen.left.offered && chosen.right.offered && chosen.right.value <= chosen.left.value) {
        status_->setText(tr("The scan area is empty: Right must lie beyond Left."));
        status_->setVisible(true);
        return;
    }
    if (chosen.top.offered && chosen.bottom.offered && chosen.bottom.value <= chosen.top.value) {
        status_->setText(tr("The scan area is empty: Bottom must lie below Top."));
        status_->setVisible(true);
        return;
    }
    status_->setVisible(false);
    cancelRequested_ = false;
    setBusy(true);
    const bool applied = device_.apply(chosen);
    picture_ = applied ? device_.scan([this](double done) {
        if (done < 0) progress_->setRange(0, 0);
        else progress_->setValue(int(done * 100));
        QCoreApplication::processEvents();
        return !cancelRequested_;
    })
                       : QImage();
    setBusy(false);
    if (!picture_.isNull()) accept();
    else if (cancelRequested_) reject();
    else done(DeviceFailed);
}

void ScanDialog::cancel() {
    if (scanning_) cancelRequested_ = true; // the scan loop stops and closes the dialog
    else reject();
}

void ScanDialog::reject() {
    if (scanning_) cancelRequested_ = true;
    else QDialog::reject();
}

} // namespace kavi
