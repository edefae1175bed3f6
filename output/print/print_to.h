// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Print To...": the covers sent to a queue the user chooses for this job only, with a number of
// copies. No default printer changes for it (neither the user's nor the system's, and the
// temporary-printer record is not involved); the job takes the chosen queue's printable area and
// calibration. The queue list says which queues cannot print now and why.
#include "output/print/cover_printing.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace kavi {

// How a queue's state reads in the list ("stopped", ...); empty for a queue that can print.
QString queueStateText(QueueState state);

class PrintToDialog : public QDialog {
public:
    // Lists the installed queues, the remembered one (else the default) chosen.
    PrintToDialog(Platform& platform, const QString& remembered, QWidget* parent = nullptr);

    // The queue chosen and the copies; set when the dialog was accepted.
    QString queue() const { return chosen_; }
    int copies() const;

    // Accepts a queue that can print now; for one that cannot, says why and stays open.
    void cmdPrint_Click();

    QLabel* lblPrinters;
    QListWidget* lstPrinters;
    QLabel* lblCopies;
    QSpinBox* spnCopies;
    QPushButton* cmdPrint;
    QPushButton* cmdCancel;

private:
    Platform& platform_;
    std::vector<InstalledPrinter> printers_;
    QString chosen_;
};

// Sends the job to the named queue, with copies: the print command's questions first (covers
// without a picture, covers that do not fit that queue's printable area, the paper question).
PrintOutcome printCoversTo(Platform& platform, const PrintSelection& selection, const QString& queue, int copies);

// The command: says so when nothing is ticked or no printer is installed; otherwise asks for the
// queue and sends the job there. The queue is remembered in the settings file for the next time.
PrintOutcome showPrintTo(Platform& platform, const PrintSelection& selection, const QString& settingsFile,
                         QWidget* parent);

} // namespace kavi
