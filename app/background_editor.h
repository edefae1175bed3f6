// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cover's background in the layout window: paper, one colour, or a gradient between two colours
// at an angle in steps of 45 degrees.
#include "covers/cover_design.h"

#include <QGroupBox>

class QComboBox;
class QPushButton;

namespace kavi {

class BackgroundEditor final : public QGroupBox {
    Q_OBJECT
public:
    BackgroundEditor(CoverBackground& background, QWidget* parent = nullptr);
    void showBackground(); // the controls from the background

    QComboBox* cboBackground = nullptr; // Paper, Colour, Gradient
    QPushButton* cmdBackColour = nullptr;
    QPushButton* cmdBackEndColour = nullptr;
    QComboBox* cboAngle = nullptr;

signals:
    void changed();

private:
    void pickColour(std::uint32_t& colour);

    CoverBackground& background_;
};

} // namespace kavi
