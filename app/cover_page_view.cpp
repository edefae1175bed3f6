// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cover_page_view.h"

#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "platform/desktop/twips.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace kavi {

namespace {

constexpr FitMode kFitChoices[] = {FitMode::Stretch, FitMode::Fill, FitMode::Fit};
const char* const kFitCaptions[] = {"Stretch", "Fill", "Fit"};

int indexOfFit(FitMode mode) {
    for (int i = 0; i < 3; ++i)
        if (kFitChoices[i] == mode) return i;
    return 0;
}

// The slot's frame on the page, in twips of the tab strip.
constexpr int kSlotLeft = 120, kSlotTop = 480, kSlotWidth = 6495, kSlotHeight = 4245;
// The "Text..." button's least width, in twips.
constexpr int kTextButtonWidth = 900;

} // namespace

FitMode CoverPageView::fitAt(int index) { return kFitChoices[index < 0 || index > 2 ? 0 : index]; }

CoverPageView::CoverPageView(const ScreenUnits& s, CoverDocument& document, Kind kind, TabStrip& strip)
    : document_(document), kind_(kind) {
    const CoverKind& row = kind.row();
    setObjectName(QStringLiteral("Tab%1").arg(row.tabIndex));
    strip.addTab(this, QString::fromUtf8(row.tabCaption));
    const QRect slotInStrip = s.rect(kSlotLeft, kSlotTop, kSlotWidth, kSlotHeight);
    slot_ = new PictureSlot(QString::fromUtf8(row.slotName), row, document, this);
    strip.place(slot_, slotInStrip);
    connect(slot_, &PictureSlot::clicked, this, &CoverPageView::slotClicked);
    buildFitControl(slotInStrip, strip);
    buildTextButton(s, slotInStrip, strip);
    listener_ = document_.addListener([this](std::optional<Kind> changed, CoverDocument::What what) {
        if (changed == kind_ && what == CoverDocument::What::Fit) showFitMode();
    });
}

CoverPageView::~CoverPageView() { document_.removeListener(listener_); }

// The control lies in a band along the bottom of the slot's frame, at its right end; the cover is
// drawn above the band, so the control never covers the picture.
void CoverPageView::buildFitControl(const QRect& slotInStrip, TabStrip& strip) {
    fitBox_ = new QComboBox(this);
    fitBox_->setObjectName(QStringLiteral("cboFit%1").arg(kind_.number()));
    for (const char* caption : kFitCaptions) fitBox_->addItem(QString::fromUtf8(caption));
    fitBox_->setToolTip(QStringLiteral("How the picture fills the cover: Stretch it to the cover's shape, Fill the "
                                       "cover keeping the picture's proportions (the overflow is cut off), or Fit the "
                                       "whole picture inside it (the rest stays paper)."));
    auto* label = new QLabel(QStringLiteral("Picture:"), this);
    label->setObjectName(QStringLiteral("lblFit%1").arg(kind_.number()));
    label->setBuddy(fitBox_);

    const QSize size(fitBox_->sizeHint().width() + 4, fitBox_->sizeHint().height());
    const QRect at(slotInStrip.right() - 4 - size.width() + 1, slotInStrip.bottom() - 2 - size.height() + 1,
                   size.width(), size.height());
    const int labelWidth = label->sizeHint().width();
    strip.place(fitBox_, at);
    strip.place(label, QRect(at.left() - 4 - labelWidth, at.top(), labelWidth, at.height()));
    slot_->setBottomBand(size.height() + 4);
    showFitMode();
    connect(fitBox_, &QComboBox::activated, this, &CoverPageView::fitActivated);
}

// The "Text..." button lies at the left end of the band along the bottom of the slot's frame,
// level with the fit control at its right end; the cover is drawn above the band, so the button
// never covers it.
void CoverPageView::buildTextButton(const ScreenUnits& s, const QRect& slotInStrip, TabStrip& strip) {
    textButton_ = new QPushButton(QStringLiteral("Text..."), this);
    textButton_->setObjectName(QStringLiteral("cmdText%1").arg(kind_.number()));
    textButton_->setToolTip(QStringLiteral("Title, subtitle, spine and other text on this cover."));
    const int height = fitBox_->sizeHint().height();
    const int width = std::max(s.x(kTextButtonWidth), textButton_->sizeHint().width());
    strip.place(textButton_, QRect(slotInStrip.left() + 4, slotInStrip.bottom() - 2 - height + 1, width, height));
    textButton_->raise();
    connect(textButton_, &QPushButton::clicked, this, &CoverPageView::textClicked);
}

// Set from the document, the control announces nothing.
void CoverPageView::showFitMode() {
    const QSignalBlocker block(fitBox_);
    fitBox_->setCurrentIndex(indexOfFit(document_.fitMode(kind_)));
}

} // namespace kavi
