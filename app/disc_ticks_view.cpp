// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/disc_ticks_view.h"

#include "platform/desktop/twips.h"

#include <QCheckBox>

namespace kavi {

DiscTicksView::DiscTicksView(const ScreenUnits& s, CoverDocument& document, QWidget* parent)
    : QGroupBox(QStringLiteral("Disc Labels"), parent), document_(document) {
    placeControl(s, static_cast<QGroupBox*>(this), "FrameDisc", 11415, 5760, 1335, 975);
    int top = 240;
    for (DiscKind kind : allDiscKinds()) {
        const DiscKindRow& row = discKind(kind);
        auto* box = placeControl(s, new QCheckBox(QString::fromUtf8(row.checkCaption), this), row.checkName, 120, top,
                                 1155, 295);
        box->setToolTip(QString::fromUtf8(row.checkTooltip));
        connect(box, &QCheckBox::toggled, this, [this, kind](bool ticked) { document_.setTicked(kind, ticked); });
        checks_[kind] = box;
        top += 330;
    }
    showTicks();
    listener_ = document_.addListener([this](std::optional<Kind>, CoverDocument::What what) {
        if (what == CoverDocument::What::Ticks) showTicks();
    });
}

DiscTicksView::~DiscTicksView() { document_.removeListener(listener_); }

void DiscTicksView::showTicks() {
    for (DiscKind kind : allDiscKinds()) {
        const QSignalBlocker block(checks_[kind]);
        checks_[kind]->setChecked(document_.tickedDisc() == kind);
    }
}

} // namespace kavi
