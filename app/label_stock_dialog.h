// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File > Label Stock... (LabelStockDialog): Plain paper, or a disc label stock from the template files found
// (cboStock), the label the first copy goes on (spnStartLabel) and the copies (spnCopies); the sheet drawn
// with every label's outline and the ones the copies use. Without template files it says how to get them.
#include "document/cover_document.h"

#include <QDialog>
#include <QStringList>

#include <vector>

class QComboBox;
class QLabel;
class QSpinBox;

namespace kavi {

class StockSheetPicture;

class LabelStockDialog final : public QDialog {
    Q_OBJECT
public:
    // stocks: the disc stocks found (sorted); skipped: the template files left out, as "FILE: reason".
    LabelStockDialog(const DiscStockChoice& current, std::vector<DiscLabelStock> stocks, const QStringList& skipped,
                     QWidget* parent);
    // The choice as the dialog shows it.
    DiscStockChoice choice() const;

    QComboBox* cboStock = nullptr;
    QSpinBox* spnStartLabel = nullptr;
    QSpinBox* spnCopies = nullptr;
    QLabel* lblTemplates = nullptr;
    StockSheetPicture* sheet = nullptr;

private:
    void stockChosen();
    std::vector<DiscLabelStock> stocks_;
};

// The sheet of the chosen stock, at the dialog's scale: its labels' outlines, the used ones filled.
class StockSheetPicture final : public QWidget {
    Q_OBJECT
public:
    explicit StockSheetPicture(QWidget* parent);
    void showPlan(const std::optional<DiscLabelStock>& stock, int startLabel, int copies);
    // Which labels of the first sheet the copies use, as drawn.
    const std::vector<bool>& usedOnFirstSheet() const { return used_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<DiscLabelStock> stock_;
    std::vector<bool> used_;
    int sheets_ = 0;
};

} // namespace kavi
