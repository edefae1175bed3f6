// SPDX-License-Identifier: GPL-3.0-or-later
// The disc labels of the open covers: their pictures, fits, rings and curved texts, the disc tick that
// prints alone, and the label stock.
#include "document/cover_document.h"

namespace kavi {

const QImage& CoverDocument::pixels(DiscKind kind) const {
    const CoverPicture& picture = discs_[kind].picture;
    if (picture.isUndecoded()) {
        picture.decode();
        notify(std::nullopt, What::Disc);
    }
    return picture.pixels();
}

void CoverDocument::setPickedPicture(DiscKind kind, QImage picture, QByteArray originalJpeg) {
    aboutToEdit(Unsaved::Keep);
    discs_[kind].picture.setPicked(std::move(picture), std::move(originalJpeg));
    notify(std::nullopt, What::Disc);
}

void CoverDocument::setPicture(DiscKind kind, QImage picture, Unsaved unsaved) {
    aboutToEdit(unsaved);
    discs_[kind].picture.setPixels(std::move(picture));
    notify(std::nullopt, What::Disc);
    edited(unsaved);
}

void CoverDocument::setFitMode(DiscKind kind, FitMode mode, Unsaved unsaved) {
    if (discs_[kind].fit == mode) return;
    aboutToEdit(unsaved);
    discs_[kind].fit = mode;
    notify(std::nullopt, What::Disc);
    edited(unsaved);
}

bool CoverDocument::setGeometry(DiscKind kind, const DiscGeometry& geometry, Unsaved unsaved) {
    if (!discGeometryError(geometry).empty()) return false;
    if (discs_[kind].geometry == geometry) return true;
    aboutToEdit(unsaved);
    discs_[kind].geometry = geometry;
    notify(std::nullopt, What::Disc);
    edited(unsaved);
    return true;
}

void CoverDocument::setDiscText(DiscKind kind, const DiscText& text, Unsaved unsaved) {
    if (discs_[kind].text == text) return;
    aboutToEdit(unsaved);
    discs_[kind].text = text;
    notify(std::nullopt, What::Disc);
    edited(unsaved);
}

void CoverDocument::setTicked(DiscKind kind, bool ticked) {
    if ((tickedDisc_ == kind) == ticked) return;
    if (ticked) {
        selection_ = SelectionState{}; // the ten boxes cleared and enabled
        tickedDisc_ = kind;
    } else {
        tickedDisc_.reset();
    }
    notify(std::nullopt, What::Ticks);
}

void CoverDocument::setStockChoice(const DiscStockChoice& choice, Unsaved unsaved) {
    if (sameStockChoice(stock_, choice)) return;
    stock_ = choice;
    notify(std::nullopt, What::DiscStock);
    edited(unsaved);
}

void CoverDocument::discsToCoverSet(CoverSet& set) const {
    for (DiscKind kind : allDiscKinds()) {
        CoverSetDisc& saved = set.discs.labels[kind];
        saved.picture = discs_[kind].picture.coverSetPicture();
        saved.fit = discs_[kind].fit;
        saved.geometry = discs_[kind].geometry;
        saved.text = discs_[kind].text;
    }
    set.discs.ticked = tickedDisc_;
    set.discs.stock = stock_.stock;
    set.discs.startLabel = stock_.startLabel;
    set.discs.copies = stock_.copies;
}

void CoverDocument::applyDiscs(const CoverSet& set) {
    for (DiscKind kind : allDiscKinds()) {
        const CoverSetDisc& saved = set.discs.labels[kind];
        discs_[kind].picture.setOpened(saved.picture);
        discs_[kind].fit = saved.fit;
        discs_[kind].geometry = discGeometryError(saved.geometry).empty() ? saved.geometry : discKind(kind).label;
        discs_[kind].text = saved.text;
    }
    notify(std::nullopt, What::Disc);
    if (set.discs.ticked) setTicked(*set.discs.ticked, true);
    stock_ = {set.discs.stock, set.discs.startLabel, set.discs.copies};
    notify(std::nullopt, What::DiscStock);
}

} // namespace kavi
