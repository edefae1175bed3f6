// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Disc Labels" group beside Print Options (FrameDisc): the boxes CheckDisc ("Disc") and CheckMiniDisc
// ("Mini Disc"). They show the document's disc tick; a disc label prints alone, so ticking one clears the
// other boxes, and ticking a case kind clears these.
#include "document/cover_document.h"

#include <QGroupBox>

class QCheckBox;

namespace kavi {

class ScreenUnits;

class DiscTicksView final : public QGroupBox {
    Q_OBJECT
public:
    DiscTicksView(const ScreenUnits& screen, CoverDocument& document, QWidget* parent);
    ~DiscTicksView() override;
    QCheckBox* check(DiscKind kind) const { return checks_[kind]; }

private:
    void showTicks();
    CoverDocument& document_;
    int listener_ = 0;
    PerDiscKind<QCheckBox*> checks_;
};

} // namespace kavi
