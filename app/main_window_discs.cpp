// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's disc labels: the Disc and Mini Disc tabs after Scan, their boxes beside Print Options,
// File > Label Stock..., picking a picture into a disc tab, and printing a disc label (alone).
#include "app/main_window.h"

#include "app/dialog_folders.h"
#include "app/disc_page_view.h"
#include "app/disc_ticks_view.h"
#include "app/folder_list.h"
#include "app/label_stock_dialog.h"
#include "app/tab_strip.h"
#include "output/print/disc_printing.h"
#include "platform/files/label_templates.h"
#include "platform/imaging/picture_loader.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QVBoxLayout>

namespace kavi {

void MainWindow::buildDiscs(QWidget* client) {
    for (DiscKind kind : allDiscKinds()) discPages_[kind] = new DiscPageView(platform.screen, document_, kind, *SSTab1);
    discTicks_ = new DiscTicksView(platform.screen, document_, client);
}

bool MainWindow::loadIntoShowingDisc(const QString& fullName, const QString& shownName) {
    const std::optional<DiscKind> kind = discKindOfTab(SSTab1->currentIndex());
    if (!kind) return false; // the Scan tab
    const QFileInfo info(fullName);
    if (!info.isFile()) {
        ShowNotice(QStringLiteral("\u201c%1\u201d is not an ordinary file, so it was not opened.").arg(shownName));
        return true;
    }
    PictureLoad loaded = loadPictureFile(fullName);
    if (loaded.status != PictureStatus::Loaded) {
        ShowNotice(QStringLiteral("\u201c%1\u201d could not be loaded as a picture.").arg(shownName));
        return true;
    }
    document_.setPickedPicture(*kind, std::move(loaded.picture), std::move(loaded.originalJpeg));
    return true;
}

void MainWindow::LabelStock_Click() {
    const labels::StockList found = labels::readDiscStocks(labels::templateFolders({}));
    LabelStockDialog dialog(document_.stockChoice(), found.stocks, found.skippedFiles, this);
    if (dialog.exec() != QDialog::Accepted) return;
    document_.setStockChoice(dialog.choice());
    // Ticked case covers will not print on it: said now, and again at Print.
    if (refuseCaseCoversOnStock(platform.messages, document_)) return;
    const std::optional<DiscLabelStock>& stock = document_.stockChoice().stock;
    ShowNotice(stock ? QStringLiteral("Disc labels print on %1.").arg(QString::fromStdString(stock->name()))
                     : QStringLiteral("Disc labels print on plain paper."));
}

bool MainWindow::handledAsDiscLabel(DiscOutput output) {
    if (refuseCaseCoversOnStock(platform.messages, document_)) return true;
    std::optional<DiscPrintSelection> selection = discPrintSelectionOf(document_);
    if (!selection) return false;
    selection->calibrationOf = [file = settingsFile](const QString& queue, Orientation orientation) {
        return readCalibration(file, queue, orientation);
    };
    const QString folder = dialogStartFolder(settingsFile, DialogFileKind::Pdf, dirSelect->path());
    switch (output) {
    case DiscOutput::Print: showPrintOutcome(printDiscLabel(platform, *selection, folder)); break;
    case DiscOutput::Export: showPrintOutcome(exportDiscPdf(platform, *selection, folder)); break;
    case DiscOutput::Preview: {
        // The sheet with every label's outline and the ones this print uses.
        QDialog preview(this);
        preview.setObjectName(QStringLiteral("DiscPreviewWindow"));
        preview.setWindowTitle(QStringLiteral("Print Preview"));
        auto* layout = new QVBoxLayout(&preview);
        auto* sheet = new StockSheetPicture(&preview);
        sheet->setObjectName(QStringLiteral("StockSheet"));
        sheet->setMinimumSize(340, 440);
        sheet->showPlan(selection->stock.stock, selection->stock.startLabel, selection->stock.copies);
        layout->addWidget(sheet, 1);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &preview);
        connect(buttons, &QDialogButtonBox::rejected, &preview, &QDialog::reject);
        layout->addWidget(buttons);
        preview.exec();
        break;
    }
    }
    return true;
}

} // namespace kavi
