// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/printer_chooser.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace kavi {

namespace {
const QString kCaption = QStringLiteral("Kavi4");
}

PrinterChooser::PrinterChooser(Platform& platform) : QWidget(nullptr), platform_(platform) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Set Temporary Printer"));
    const ScreenUnits& u = platform.screen;
    setFixedSize(u.x(4620), u.y(3195));

    Label1 = placeControl(u, new QLabel(QStringLiteral("Select a printer:"), this), "Label1", 240, 120, 4095, 255);
    List1 = placeControl(u, new QListWidget(this), "List1", 240, 360, 4095, 2010);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    Command1 = placeControl(u, new QPushButton(QStringLiteral("Select"), this), "Command1", 240, 2640, 1935, 375);
    connect(Command1, &QPushButton::clicked, this, &PrinterChooser::Command1_Click);
    Command2 = placeControl(u, new QPushButton(QStringLiteral("Cancel"), this), "Command2", 2400, 2640, 1935, 375);
    connect(Command2, &QPushButton::clicked, this, &PrinterChooser::Command2_Click);
}

PrinterChooser::~PrinterChooser() = default;

void PrinterChooser::showChooser() {
    if (!isVisible()) Form_Load();
    show();
    raise();
    activateWindow();
}

void PrinterChooser::Form_Load() {
    List1->clear();
    for (const InstalledPrinter& p : platform_.printers.installedPrinters()) List1->addItem(p.deviceName);
    List1->setCurrentRow(-1);
    List1->clearSelection();
}

void PrinterChooser::Command1_Click() {
    const QList<QListWidgetItem*> selected = List1->selectedItems();
    if (selected.isEmpty()) {
        platform_.messages.show({QStringLiteral("Please select a printer from the list."), kCaption,
                                 MsgIcon::Exclamation, MsgButtons::Ok, MsgDefault::First});
        return;
    }
    const QString name = selected.first()->text();
    if (!switcher_) switcher_ = std::make_unique<cSetDfltPrinter>(platform_.printers);
    if (switcher_->SetPrinterAsDefault(name)) {
        platform_.messages.show({name + QStringLiteral(" has successfully been set as the temporary printer."),
                                 kCaption, MsgIcon::Information, MsgButtons::Ok, MsgDefault::First});
        close();
    } else {
        platform_.messages.show({name + QStringLiteral(" has failed to be set as the temporary printer."), kCaption,
                                 MsgIcon::Exclamation, MsgButtons::Ok, MsgDefault::First});
    }
}

void PrinterChooser::Command2_Click() { close(); }

} // namespace kavi
