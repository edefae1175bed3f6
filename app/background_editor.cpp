// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/background_editor.h"

#include <QColorDialog>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>

namespace kavi {

namespace {

void showColour(QPushButton* button, std::uint32_t rgb) {
    const QString name = QStringLiteral("#%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0'));
    button->setStyleSheet(QStringLiteral("background-color: %1;").arg(name));
    button->setToolTip(name);
}

} // namespace

BackgroundEditor::BackgroundEditor(CoverBackground& background, QWidget* parent)
    : QGroupBox(QStringLiteral("Background"), parent), background_(background) {
    setObjectName(QStringLiteral("fraBackground"));
    cboBackground = new QComboBox(this);
    cboBackground->setObjectName(QStringLiteral("cboBackground"));
    cboBackground->addItems({QStringLiteral("Paper"), QStringLiteral("Colour"), QStringLiteral("Gradient")});
    cmdBackColour = new QPushButton(this);
    cmdBackColour->setObjectName(QStringLiteral("cmdBackColour"));
    cmdBackColour->setFixedWidth(32);
    cmdBackEndColour = new QPushButton(this);
    cmdBackEndColour->setObjectName(QStringLiteral("cmdBackEndColour"));
    cmdBackEndColour->setFixedWidth(32);
    cboAngle = new QComboBox(this);
    cboAngle->setObjectName(QStringLiteral("cboAngle"));
    for (int degrees = 0; degrees < 360; degrees += 45) cboAngle->addItem(QStringLiteral("%1°").arg(degrees));
    cboAngle->setToolTip(
        QStringLiteral("The gradient's direction: 0° runs from left to right, 90° from the top down."));
    auto* row = new QHBoxLayout(this);
    row->addWidget(cboBackground);
    row->addWidget(cmdBackColour);
    row->addWidget(cmdBackEndColour);
    row->addWidget(cboAngle);
    row->addStretch();

    connect(cboBackground, &QComboBox::activated, this, [this](int index) {
        background_.fill = BackgroundFill(std::clamp(index, 0, 2));
        showBackground();
        emit changed();
    });
    connect(cboAngle, &QComboBox::activated, this, [this](int index) {
        background_.angleDegrees = 45 * std::clamp(index, 0, 7);
        emit changed();
    });
    connect(cmdBackColour, &QPushButton::clicked, this, [this] { pickColour(background_.colour); });
    connect(cmdBackEndColour, &QPushButton::clicked, this, [this] { pickColour(background_.endColour); });
    showBackground();
}

void BackgroundEditor::showBackground() {
    cboBackground->setCurrentIndex(int(background_.fill));
    cboAngle->setCurrentIndex(std::clamp(background_.angleDegrees / 45, 0, 7));
    showColour(cmdBackColour, background_.colour);
    showColour(cmdBackEndColour, background_.endColour);
    cmdBackColour->setEnabled(background_.fill != BackgroundFill::Paper);
    cmdBackEndColour->setEnabled(background_.fill == BackgroundFill::Gradient);
    cboAngle->setEnabled(background_.fill == BackgroundFill::Gradient);
}

void BackgroundEditor::pickColour(std::uint32_t& colour) {
    const QColor chosen = QColorDialog::getColor(QColor::fromRgb(QRgb(0xFF000000u | colour)), this);
    if (!chosen.isValid()) return;
    colour = std::uint32_t(chosen.rgb() & 0xFFFFFF);
    showBackground();
    emit changed();
}

} // namespace kavi
