// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's disc labels: the Disc and Mini Disc tabs after Scan, their boxes beside Print Options,
// File > Label Stock..., picking a picture into a disc tab, and printing a disc label (alone).
#include "frmcovercreator.h"

#include "dialog_folders.h"
#include "disc_page_view.h"
#include "disc_printing.h"
#include "disc_ticks_view.h"
#include "files/label_templates.h"
#include "folder_list.h"
#include "imaging/picture_loader.h"
#include "label_stock_dialog.h"
#include "tab_strip.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QVBoxLayout>

namespace kavi {

void frmcovercreator::buildDiscs(QWidget* client) {
    for (DiscKind kind : allDiscKinds()) discPages_[kind] = new DiscPageView(platform.screen, document_, kind, *SSTab1);
    discTicks_ = new DiscTicksView(platform.screen, document_, client);
}

bool frmcovercreator::loadIntoShowingDisc(const QString& fullName, const QString& shownName) {
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

void frmcovercreator::LabelStock_Click() {
    const labels::StockList found = labels::readDiscStocks(labels::templateFolders({}));
    frmLabelStock dialog(document_.stockChoice(), found.stocks, found.skippedFiles, this);
    if (dialog.exec() != QDialog::Accepted) return;
    document_.setStockChoice(dialog.choice());
    // Ticked case covers will not print on it: said now, and again at Print.
    if (refuseCaseCoversOnStock(platform.messages, document_)) return;
    const std::optional<DiscLabelStock>& stock = document_.stockChoice().stock;
    ShowNotice(stock ? QStringLiteral("Disc labels print on %1.").arg(QString::fromStdString(stock->name()))
                     : QStringLiteral("Disc labels print on plain paper."));
}

bool frmcovercreator::handledAsDiscLabel(DiscOutput output) {
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
        preview.setObjectName(QStringLiteral("frmDiscPreview"));
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
