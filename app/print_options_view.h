// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Print Options" frame (Frame4): one box per cover kind (Check1 ... Check10) and the Print
// button (cmdPrint). The boxes show the cover document's ticks; a change of a box, by the user or by
// code, is sent to the document, whose selection rules then set all the boxes and Print.
#include "document/cover_document.h"

#include <QGroupBox>

class QCheckBox;
class QPushButton;

namespace kavi {

class ScreenUnits;

class PrintOptionsView final : public QGroupBox {
    Q_OBJECT
public:
    // Placed in the main window's client area; `document` outlives the view.
    PrintOptionsView(const ScreenUnits& screen, CoverDocument& document, QWidget* parent);
    ~PrintOptionsView() override;

    QCheckBox* check(Kind kind) const { return checks_[kind]; }
    QPushButton* printButton() const { return print_; }
    // Sends box n's state to the document, as a change of the box does.
    void sendTick(Kind kind);

signals:
    // Print was clicked.
    void printClicked();

private:
    void showTicks();
    CoverDocument& document_;
    int listener_ = 0;
    PerKind<QCheckBox*> checks_;
    QPushButton* print_ = nullptr;
};

} // namespace kavi
