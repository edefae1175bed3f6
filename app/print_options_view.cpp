// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/print_options_view.h"

#include "platform/desktop/twips.h"

#include <QCheckBox>
#include <QPushButton>

namespace kavi {

PrintOptionsView::PrintOptionsView(const ScreenUnits& s, CoverDocument& document, QWidget* parent)
    : QGroupBox(QStringLiteral("Print Options"), parent), document_(document) {
    placeControl(s, static_cast<QGroupBox*>(this), "Frame4", 4560, 5760, 6735, 975);
    for (Kind kind : Kind::all()) {
        const CoverKind& row = kind.row();
        auto* box = placeControl(s, new QCheckBox(QString::fromUtf8(row.checkCaption), this), row.checkName,
                                 row.checkLeft, row.checkTop, row.checkWidth, row.checkHeight);
        box->setToolTip(QString::fromUtf8(row.checkTooltip));
        // A change of state, by the user or by code, goes to the document, whose rule sets all the
        // boxes before the change returns.
        connect(box, &QCheckBox::toggled, this, [this, kind] { sendTick(kind); });
        checks_[kind] = box;
    }
    print_ = placeControl(s, new QPushButton(QStringLiteral("Print"), this), "cmdPrint", 5280, 360, 1215, 375);
    print_->setToolTip(QStringLiteral("Print covers."));
    connect(print_, &QPushButton::clicked, this, &PrintOptionsView::printClicked);
    showTicks();
    listener_ = document_.addListener([this](std::optional<Kind>, CoverDocument::What what) {
        if (what == CoverDocument::What::Ticks) showTicks();
    });
}

PrintOptionsView::~PrintOptionsView() { document_.removeListener(listener_); }

void PrintOptionsView::sendTick(Kind kind) { document_.setTicked(kind, checks_[kind]->isChecked()); }

// The boxes and Print as the document's rules left them; setting them from here is no new tick.
void PrintOptionsView::showTicks() {
    const SelectionState& state = document_.selection();
    for (Kind kind : Kind::all()) {
        QCheckBox* box = checks_[kind];
        const QSignalBlocker block(box);
        box->setChecked(state.isTicked(kind.number()));
        box->setEnabled(state.isEnabled(kind.number()));
    }
    print_->setEnabled(document_.canPrint()); // a disc label too
}

} // namespace kavi
