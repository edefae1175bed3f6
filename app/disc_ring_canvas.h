// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ring of a disc label on its tab, in real proportions (the largest disc fills the canvas): white paper
// in the ring, the picture filling the ring's square by its fit mode and shown only inside the ring, the
// curved title and subtitle from the same outlines the print gets, and the hole left empty.
#include "document/cover_document.h"

#include <QImage>
#include <QWidget>

namespace kavi {

class DiscRingCanvas final : public QWidget {
    Q_OBJECT
public:
    DiscRingCanvas(CoverDocument& document, DiscKind kind, QWidget* parent);
    // The ring shown: the stock's when a stock is chosen, else the label's own.
    DiscGeometry shownGeometry() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CoverDocument& document_;
    DiscKind kind_;
    QImage scaled_; // the picture at its size on screen, made again when the picture or size changes
    qint64 scaledKey_ = 0;
};

} // namespace kavi
