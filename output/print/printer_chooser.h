// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Set Temporary Printer": lists the installed printers and makes the chosen one the default
// printer for the rest of the run. Modeless; it keeps its printer switcher while closed.
#include "output/print/set_default_printer.h"
#include "platform/platform.h"

#include <QWidget>

#include <memory>

class QLabel;
class QListWidget;
class QPushButton;

namespace kavi {

class PrinterChooser : public QWidget {
    Q_OBJECT
public:
    explicit PrinterChooser(Platform& platform);
    ~PrinterChooser() override;

    // Shows the window; a window that is not showing is loaded afresh (its list re-read).
    void showChooser();
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    // The switcher, created on the first "Select" with a printer highlighted; null before.
    cSetDfltPrinter* switcher() const { return switcher_.get(); }

    QLabel* Label1;
    QListWidget* List1;
    QPushButton* Command1;
    QPushButton* Command2;

private:
    Platform& platform_;
    std::unique_ptr<cSetDfltPrinter> switcher_;
};

} // namespace kavi
