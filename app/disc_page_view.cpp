// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/disc_page_view.h"

#include "app/disc_ring_canvas.h"
#include "app/tab_strip.h"
#include "platform/desktop/twips.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>

namespace kavi {

namespace {

constexpr FitMode kFits[] = {FitMode::Stretch, FitMode::Fill, FitMode::Fit};
const char* const kFitCaptions[] = {"Stretch", "Fill", "Fit"};
const QString kOwnSize = QStringLiteral("Own size");

// The controls' column right of the ring, in twips of the tab strip.
constexpr int kColumnLeft = 4560, kColumnWidth = 2085, kRowHeight = 300;

} // namespace

DiscPageView::DiscPageView(const ScreenUnits& s, CoverDocument& document, DiscKind kind, TabStrip& strip)
    : document_(document), kind_(kind) {
    const DiscKindRow& row = discKind(kind);
    const QString n = QString::number(row.tabIndex);
    setObjectName(QStringLiteral("Tab") + n);
    strip.addTab(this, QString::fromUtf8(row.tabCaption));

    canvas_ = new DiscRingCanvas(document, kind, this);
    canvas_->setObjectName(QStringLiteral("DiscImage") + n);
    strip.place(canvas_, s.rect(120, 480, 4320, 4245));

    int top = 480;
    const auto label = [&](const QString& caption, QWidget* buddy) {
        auto* l = new QLabel(caption, this);
        l->setBuddy(buddy);
        strip.place(l, s.rect(kColumnLeft, top, kColumnWidth, kRowHeight - 60));
        top += kRowHeight - 60;
        strip.place(buddy, s.rect(kColumnLeft, top, kColumnWidth, kRowHeight));
        top += kRowHeight + 90;
    };
    size_ = new QComboBox(this);
    size_->setObjectName(QStringLiteral("cboDiscSize") + n);
    for (const DiscPreset& preset : kDiscPresets) size_->addItem(QString::fromUtf8(preset.name));
    size_->addItem(kOwnSize);
    label(QStringLiteral("Size:"), size_);
    const auto millimetreBox = [&](const char* name, double from) {
        auto* box = new QDoubleSpinBox(this);
        box->setObjectName(QString::fromLatin1(name) + n);
        box->setDecimals(1);
        box->setRange(from, kLargestDisc.millimetres());
        box->setSuffix(QStringLiteral(" mm"));
        box->setKeyboardTracking(false);
        return box;
    };
    outer_ = millimetreBox("txtDiscOuter", kSmallestDisc.millimetres());
    label(QStringLiteral("Disc:"), outer_);
    hole_ = millimetreBox("txtDiscHole", 0);
    label(QStringLiteral("Hole:"), hole_);
    fit_ = new QComboBox(this);
    fit_->setObjectName(QStringLiteral("cboDiscFit") + n);
    for (const char* caption : kFitCaptions) fit_->addItem(QString::fromUtf8(caption));
    label(QStringLiteral("Picture:"), fit_);
    title_ = new QLineEdit(this);
    title_->setObjectName(QStringLiteral("txtDiscTitle") + n);
    title_->setToolTip(QStringLiteral("Runs along the top of the disc."));
    label(QStringLiteral("Title (top):"), title_);
    subtitle_ = new QLineEdit(this);
    subtitle_->setObjectName(QStringLiteral("txtDiscSubtitle") + n);
    subtitle_->setToolTip(QStringLiteral("Runs along the bottom of the disc."));
    label(QStringLiteral("Subtitle (bottom):"), subtitle_);
    stock_ = new QLabel(this);
    stock_->setObjectName(QStringLiteral("lblDiscStock") + n);
    stock_->setWordWrap(true);
    strip.place(stock_, s.rect(kColumnLeft, top, kColumnWidth, 4725 - top));

    connect(size_, &QComboBox::activated, this, &DiscPageView::sizeChosen);
    connect(outer_, &QDoubleSpinBox::valueChanged, this, &DiscPageView::ownSizeEdited);
    connect(hole_, &QDoubleSpinBox::valueChanged, this, &DiscPageView::ownSizeEdited);
    connect(fit_, &QComboBox::activated, this,
            [this](int index) { document_.setFitMode(kind_, kFits[index < 0 || index > 2 ? 1 : index]); });
    connect(title_, &QLineEdit::textEdited, this, &DiscPageView::textEdited);
    connect(subtitle_, &QLineEdit::textEdited, this, &DiscPageView::textEdited);
    showDocument();
    listener_ = document_.addListener([this](std::optional<Kind>, CoverDocument::What what) {
        if (what == CoverDocument::What::Disc || what == CoverDocument::What::DiscStock) showDocument();
    });
}

DiscPageView::~DiscPageView() { document_.removeListener(listener_); }

void DiscPageView::sizeChosen(int index) {
    if (index >= 0 && index < int(kDiscPresets.size()))
        document_.setGeometry(kind_, kDiscPresets[std::size_t(index)].geometry);
    // Own size: the numbers become editable.
    outer_->setEnabled(size_->currentText() == kOwnSize && !document_.stockChoice().stock);
    hole_->setEnabled(outer_->isEnabled());
}

// Own numbers that cannot be a ring (a hole as large as the disc) are not taken; the boxes go back.
void DiscPageView::ownSizeEdited() {
    const DiscGeometry wanted{Length::fromMillimetres(outer_->value()), Length::fromMillimetres(hole_->value())};
    if (!document_.setGeometry(kind_, wanted)) showDocument();
}

void DiscPageView::textEdited() {
    DiscText text = document_.disc(kind_).text;
    text.title = title_->text().toStdString();
    text.subtitle = subtitle_->text().toStdString();
    document_.setDiscText(kind_, text);
}

// The controls as the document has them; set from here, they announce nothing.
void DiscPageView::showDocument() {
    const DiscCover& disc = document_.disc(kind_);
    const std::optional<DiscLabelStock>& stock = document_.stockChoice().stock;
    const DiscGeometry shown = canvas_->shownGeometry();
    const QSignalBlocker a(size_), b(outer_), c(hole_), d(fit_);
    int preset = int(kDiscPresets.size());
    for (std::size_t i = 0; i < kDiscPresets.size(); ++i)
        if (kDiscPresets[i].geometry == shown) preset = int(i);
    // A ring of a preset's size shows the preset unless the user is giving own numbers.
    if (preset == int(kDiscPresets.size()) || size_->currentText() != kOwnSize || stock) size_->setCurrentIndex(preset);
    outer_->setValue(shown.outer.millimetres());
    hole_->setValue(shown.hole.millimetres());
    const bool own = size_->currentText() == kOwnSize && !stock;
    outer_->setEnabled(own);
    hole_->setEnabled(own);
    size_->setEnabled(!stock);
    for (int i = 0; i < 3; ++i)
        if (kFits[i] == disc.fit) fit_->setCurrentIndex(i);
    const QString title = QString::fromStdString(disc.text.title),
                  subtitle = QString::fromStdString(disc.text.subtitle);
    if (title_->text() != title) title_->setText(title);
    if (subtitle_->text() != subtitle) subtitle_->setText(subtitle);
    stock_->setText(stock
                        ? QStringLiteral("Printed on %1: the stock's ring.").arg(QString::fromStdString(stock->name()))
                        : QString());
    canvas_->update();
}

} // namespace kavi
