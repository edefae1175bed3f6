// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/label_stock_dialog.h"

#include "covers/disc_page.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace kavi {

namespace {

const QString kNoTemplates =
    QStringLiteral("No label templates were found. Install the glabels-data package (it holds the disc label "
                   "stocks of many makers and printer trays), or put label template files in "
                   "~/.local/share/kavi/templates.");

} // namespace

LabelStockDialog::LabelStockDialog(const DiscStockChoice& current, std::vector<DiscLabelStock> stocks,
                                   const QStringList& skipped, QWidget* parent)
    : QDialog(parent), stocks_(std::move(stocks)) {
    setObjectName(QStringLiteral("LabelStockDialog"));
    setWindowTitle(QStringLiteral("Label Stock"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    cboStock = new QComboBox(this);
    cboStock->setObjectName(QStringLiteral("cboStock"));
    cboStock->addItem(QStringLiteral("Plain paper"));
    for (const DiscLabelStock& stock : stocks_)
        cboStock->addItem(QStringLiteral("%1 (%2, %3 mm, %4 a sheet)")
                              .arg(QString::fromStdString(stock.name()), QString::fromStdString(stock.paperId))
                              .arg(stock.outerDiameter().millimetres(), 0, 'f', 0)
                              .arg(stock.centres.size()));
    form->addRow(QStringLiteral("&Print disc labels on:"), cboStock);
    spnStartLabel = new QSpinBox(this);
    spnStartLabel->setObjectName(QStringLiteral("spnStartLabel"));
    form->addRow(QStringLiteral("&Start at label:"), spnStartLabel);
    spnCopies = new QSpinBox(this);
    spnCopies->setObjectName(QStringLiteral("spnCopies"));
    spnCopies->setRange(1, 999);
    form->addRow(QStringLiteral("&Copies:"), spnCopies);
    lblTemplates = new QLabel(this);
    lblTemplates->setObjectName(QStringLiteral("lblTemplates"));
    lblTemplates->setWordWrap(true);
    QStringList notes;
    if (stocks_.empty()) notes << kNoTemplates;
    for (const QString& file : skipped) notes << QStringLiteral("Left out: %1").arg(file);
    lblTemplates->setText(notes.join(QLatin1Char('\n')));
    lblTemplates->setVisible(!notes.isEmpty());
    layout->addWidget(lblTemplates);
    sheet = new StockSheetPicture(this);
    sheet->setObjectName(QStringLiteral("StockSheet"));
    sheet->setMinimumSize(220, 280);
    layout->addWidget(sheet, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    int index = 0;
    if (current.stock)
        for (std::size_t i = 0; i < stocks_.size(); ++i)
            if (stocks_[i].name() == current.stock->name()) index = int(i) + 1;
    cboStock->setCurrentIndex(index);
    spnCopies->setValue(current.copies);
    stockChosen();
    spnStartLabel->setValue(current.startLabel);
    connect(cboStock, &QComboBox::currentIndexChanged, this, &LabelStockDialog::stockChosen);
    const auto replan = [this] { sheet->showPlan(choice().stock, spnStartLabel->value(), spnCopies->value()); };
    connect(spnStartLabel, &QSpinBox::valueChanged, this, replan);
    connect(spnCopies, &QSpinBox::valueChanged, this, replan);
    replan();
}

void LabelStockDialog::stockChosen() {
    const std::optional<DiscLabelStock> stock = choice().stock;
    spnStartLabel->setRange(1, stock ? int(stock->centres.size()) : 1);
    spnStartLabel->setEnabled(stock.has_value());
    sheet->showPlan(stock, spnStartLabel->value(), spnCopies->value());
}

DiscStockChoice LabelStockDialog::choice() const {
    DiscStockChoice choice;
    const int index = cboStock->currentIndex();
    if (index >= 1 && index <= int(stocks_.size())) choice.stock = stocks_[std::size_t(index - 1)];
    choice.startLabel = choice.stock ? spnStartLabel->value() : 1;
    choice.copies = spnCopies->value();
    return choice;
}

StockSheetPicture::StockSheetPicture(QWidget* parent) : QWidget(parent) {}

void StockSheetPicture::showPlan(const std::optional<DiscLabelStock>& stock, int startLabel, int copies) {
    stock_ = stock;
    used_.clear();
    sheets_ = 0;
    if (stock) {
        const DiscJobLayout plan = discOnStock(*stock, startLabel, copies);
        if (!plan.sheets.empty())
            for (const DiscLabelSlot& label : plan.sheets.front().labels) used_.push_back(label.used);
        sheets_ = int(plan.sheets.size());
    }
    update();
}

void StockSheetPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!stock_) {
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
                         QStringLiteral("Plain paper: one label a sheet, centred in a PDF file, at the printable "
                                        "corner for a printer."));
        return;
    }
    const DiscLabelStock& s = *stock_;
    const QRectF room = QRectF(rect()).adjusted(4, 4, -4, -24);
    const double scale = std::min(room.width() / s.paper.width.points(), room.height() / s.paper.height.points());
    const QRectF page(room.left() + (room.width() - s.paper.width.points() * scale) / 2, room.top(),
                      s.paper.width.points() * scale, s.paper.height.points() * scale);
    painter.fillRect(page, Qt::white);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(page);
    for (std::size_t i = 0; i < s.centres.size(); ++i) {
        const QPointF c(page.left() + s.centres[i].x.points() * scale, page.top() + s.centres[i].y.points() * scale);
        const double r = s.outerRadius.points() * scale, h = s.holeRadius.points() * scale;
        QPainterPath ring;
        ring.setFillRule(Qt::OddEvenFill);
        ring.addEllipse(c, r, r);
        ring.addEllipse(c, h, h);
        const bool used = i < used_.size() && used_[i];
        painter.setBrush(used ? QColor(0x4a, 0x7f, 0xc1) : QColor(Qt::white));
        painter.setPen(QColor(0x30, 0x30, 0x30));
        painter.drawPath(ring);
        painter.drawText(QRectF(c.x() - 20, c.y() - 8, 40, 16), Qt::AlignCenter, QString::number(i + 1));
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRectF(rect()).adjusted(4, rect().height() - 20, -4, 0), Qt::AlignCenter,
                     sheets_ == 1 ? QStringLiteral("1 sheet") : QStringLiteral("%1 sheets").arg(sheets_));
}

} // namespace kavi
