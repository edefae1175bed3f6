// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/print_to.h"

#include "output/print/print_choices_settings.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace kavi {

namespace {

const QString kTitle = QStringLiteral("Print To");

void sayNothingTicked(MessageBoxes& messages) {
    messages.show({QStringLiteral("Please select a cover option to print!"),
                   QStringLiteral("No Cover Option Selected!"), MsgIcon::Critical, MsgButtons::Ok, MsgDefault::First});
}

} // namespace

QString queueStateText(QueueState state) {
    switch (state) {
    case QueueState::Ready: return {};
    case QueueState::Stopped: return QStringLiteral("stopped");
    case QueueState::NotAccepting: return QStringLiteral("not accepting jobs");
    case QueueState::Unreachable: return QStringLiteral("unreachable");
    }
    return {};
}

PrintToDialog::PrintToDialog(Platform& platform, const QString& remembered, QWidget* parent)
    : QDialog(parent), platform_(platform), printers_(platform.printers.installedPrinters()) {
    setObjectName(QStringLiteral("PrintToDialog"));
    setWindowTitle(kTitle);
    setModal(true);
    lblPrinters = new QLabel(QStringLiteral("&Printer for this job (the default printer stays as it is):"), this);
    lblPrinters->setObjectName(QStringLiteral("lblPrinters"));
    lstPrinters = new QListWidget(this);
    lstPrinters->setObjectName(QStringLiteral("lstPrinters"));
    lblPrinters->setBuddy(lstPrinters);
    spnCopies = new QSpinBox(this);
    spnCopies->setObjectName(QStringLiteral("spnCopies"));
    spnCopies->setRange(1, 99);
    lblCopies = new QLabel(QStringLiteral("C&opies:"), this);
    lblCopies->setObjectName(QStringLiteral("lblCopies"));
    lblCopies->setBuddy(spnCopies);
    cmdPrint = new QPushButton(QStringLiteral("&Print"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    const QString defaultQueue = deviceNameOfEntry(platform.printers.defaultPrinterEntry());
    const bool rememberedThere = std::any_of(printers_.begin(), printers_.end(),
                                             [&](const InstalledPrinter& p) { return p.deviceName == remembered; });
    const QString wanted = rememberedThere ? remembered : defaultQueue; // a queue gone since: the default
    for (const InstalledPrinter& p : printers_) {
        QString text = p.deviceName;
        if (p.deviceName == defaultQueue) text += QStringLiteral(" (default)");
        const QString state = queueStateText(p.state);
        if (!state.isEmpty()) text += QStringLiteral(" - ") + state;
        lstPrinters->addItem(text);
        if (p.deviceName == wanted) lstPrinters->setCurrentRow(lstPrinters->count() - 1);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblCopies);
    buttons->addWidget(spnCopies);
    buttons->addStretch();
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPrinters);
    layout->addWidget(lstPrinters, 1);
    layout->addLayout(buttons);
    connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstPrinters, &QListWidget::itemDoubleClicked, this, [this] { cmdPrint_Click(); });
    cmdPrint->setDefault(true);
}

int PrintToDialog::copies() const { return spnCopies->value(); }

void PrintToDialog::cmdPrint_Click() {
    const int row = lstPrinters->currentRow();
    if (row < 0 || row >= int(printers_.size())) {
        platform_.messages.show({QStringLiteral("Please select a printer from the list."), kTitle, MsgIcon::Exclamation,
                                 MsgButtons::Ok, MsgDefault::First});
        return;
    }
    const InstalledPrinter& p = printers_[std::size_t(row)];
    QString why;
    switch (p.state) {
    case QueueState::Ready: break;
    case QueueState::Stopped: why = QStringLiteral("%1 is stopped: it would keep the job without printing it."); break;
    case QueueState::NotAccepting: why = QStringLiteral("%1 is not accepting jobs now."); break;
    case QueueState::Unreachable:
        why = QStringLiteral("%1 cannot be reached: its printer is reported off line.");
        break;
    }
    if (!why.isEmpty()) {
        platform_.messages.show({why.arg(p.deviceName) + QStringLiteral(" Please choose another printer."), kTitle,
                                 MsgIcon::Exclamation, MsgButtons::Ok, MsgDefault::First});
        return;
    }
    chosen_ = p.deviceName;
    accept();
}

PrintOutcome printCoversTo(Platform& platform, const PrintSelection& selection, const QString& queue, int copies) {
    PrinterObject& printer = platform.printer;
    PrintOutcome outcome;
    if (!printer.printNextJobToQueue(queue)) return outcome;
    const PreparedJob job = prepareJob(printer, selection, false);
    if (!confirmBeforeSending(platform, selection, job)) {
        printer.printNextJobToQueue({}); // the next job goes to the default printer again
        return outcome;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    outcome.sent = sendPreparedJob(printer, selection, job, copies);
    QApplication::restoreOverrideCursor();
    printer.printNextJobToQueue({}); // in case nothing was drawn
    outcome.pages = outcome.sent ? int(job.pages.size()) : 0;
    outcome.printer = job.printer;
    if (!outcome.sent) sayJobNotSent(platform.messages, job.printer);
    return outcome;
}

PrintOutcome showPrintTo(Platform& platform, const PrintSelection& selection, const QString& settingsFile,
                         QWidget* parent) {
    if (planPrintJob(selection.ticked).pages.empty()) {
        sayNothingTicked(platform.messages);
        return {};
    }
    if (platform.printers.installedPrinters().empty()) {
        platform.messages.show(
            {whyNoPrinter(platform.printers), kTitle, MsgIcon::Exclamation, MsgButtons::Ok, MsgDefault::First});
        return {};
    }
    PrintToDialog dialog(platform, readPrintToQueue(settingsFile), parent);
    if (dialog.exec() != QDialog::Accepted) return {};
    writePrintToQueue(settingsFile, dialog.queue());
    return printCoversTo(platform, selection, dialog.queue(), dialog.copies());
}

} // namespace kavi
