// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/cover_document.h"

#include "coverset/cover_design_rules.h"

#include <algorithm>
#include <utility>

namespace kavi {

CoverDocument::CoverDocument() {
    for (Kind kind : Kind::all()) covers_[kind].text = emptyCoverText(kind.number());
    for (DiscKind kind : allDiscKinds()) discs_[kind].geometry = discKind(kind).label;
}

const QImage& CoverDocument::pixels(Kind kind) const {
    const CoverPicture& picture = covers_[kind].picture;
    if (picture.isUndecoded()) notify(kind, picture.decode() ? What::PictureDamaged : What::PictureDecoded);
    return picture.pixels();
}

void CoverDocument::setPickedPicture(Kind kind, QImage picture, QByteArray originalJpeg) {
    aboutToEdit(Unsaved::Keep);
    covers_[kind].picture.setPicked(std::move(picture), std::move(originalJpeg));
    notify(kind, What::Picture);
}

void CoverDocument::setPicture(Kind kind, QImage picture, Unsaved unsaved) {
    aboutToEdit(unsaved);
    covers_[kind].picture.setPixels(std::move(picture));
    notify(kind, What::Picture);
    edited(unsaved);
}

void CoverDocument::setFitMode(Kind kind, FitMode mode, Unsaved unsaved) {
    if (covers_[kind].fit == mode) return;
    aboutToEdit(unsaved);
    covers_[kind].fit = mode;
    notify(kind, What::Fit);
    edited(unsaved);
}

void CoverDocument::setText(Kind kind, const CoverText& text, Unsaved unsaved) {
    if (covers_[kind].text == text) return;
    aboutToEdit(unsaved);
    covers_[kind].text = text;
    notify(kind, What::Text);
    edited(unsaved);
}

void CoverDocument::setTicked(Kind kind, bool ticked) {
    if (selection_.isTicked(kind.number()) == ticked) return;
    if (ticked) tickedDisc_.reset(); // a disc label prints alone
    selection_ = applyKindRule(selection_, kind.number(), ticked);
    notify(kind, What::Ticks);
}

void CoverDocument::clearTicks() {
    if (selection_ == SelectionState{} && !tickedDisc_) return;
    selection_ = SelectionState{};
    tickedDisc_.reset();
    notify(std::nullopt, What::Ticks);
}

void CoverDocument::setPrintLayout(const DocumentPrintLayout& layout) {
    if (layout_ == layout) return;
    aboutToEdit(Unsaved::Keep);
    layout_ = layout;
    notify(std::nullopt, What::PrintLayout);
}

void CoverDocument::setUnsavedWork(bool unsaved) {
    unsaved_ = unsaved;
    // Told even when it stays set: each edit restarts what waits for the covers to settle.
    notify(std::nullopt, What::Unsaved);
}

void CoverDocument::edited(Unsaved unsaved) {
    if (unsaved == Unsaved::Mark) setUnsavedWork(true);
}

void CoverDocument::aboutToEdit(Unsaved unsaved) {
    if (watcher_) watcher_->beforeEdit(unsaved);
}

CoverDocument::Snapshot CoverDocument::snapshot() const {
    Snapshot kept;
    kept.covers_ = covers_;
    kept.discs_ = discs_;
    for (int place = 0; place < kept.pictureCount(); ++place) kept.pictureIn(place) = kept.pictureAt(place).forUndo();
    kept.layout_ = layout_;
    return kept;
}

int CoverDocument::Snapshot::pictureCount() const {
    int count = kCoverKindCount + kDiscKindCount;
    for (Kind kind : Kind::all()) count += int(covers_[kind].designPictures.size());
    return count;
}

const CoverPicture& CoverDocument::Snapshot::pictureAt(int place) const {
    if (place < kCoverKindCount) return covers_[Kind(place + 1)].picture;
    if (place < kCoverKindCount + kDiscKindCount)
        return discs_[allDiscKinds()[std::size_t(place - kCoverKindCount)]].picture;
    auto further = std::size_t(place - kCoverKindCount - kDiscKindCount);
    for (Kind kind : Kind::all()) {
        const std::vector<CoverPicture>& pictures = covers_[kind].designPictures;
        if (further < pictures.size()) return pictures[further];
        further -= pictures.size();
    }
    static const CoverPicture none;
    return none;
}

CoverPicture& CoverDocument::Snapshot::pictureIn(int place) {
    return const_cast<CoverPicture&>(std::as_const(*this).pictureAt(place));
}

void CoverDocument::restore(const Snapshot& snapshot) {
    EditWatcher* const watcher = std::exchange(watcher_, nullptr);
    for (Kind kind : Kind::all()) {
        Cover& cover = covers_[kind];
        const Cover& kept = snapshot.covers_[kind];
        const bool samePicture = cover.picture.showsSameAs(kept.picture);
        const bool sameFit = cover.fit == kept.fit, sameText = cover.text == kept.text;
        const bool sameDesign =
            cover.design == kept.design && showSamePictures(cover.designPictures, kept.designPictures);
        // The picture shown now stays when it is the same one: nothing is decoded again.
        CoverPicture picture = samePicture ? std::move(cover.picture) : kept.picture.forUndo();
        std::vector<CoverPicture> further;
        for (std::size_t i = 0; i < kept.designPictures.size(); ++i) {
            const bool same =
                i < cover.designPictures.size() && cover.designPictures[i].showsSameAs(kept.designPictures[i]);
            further.push_back(same ? std::move(cover.designPictures[i]) : kept.designPictures[i].forUndo());
        }
        cover = kept;
        cover.picture = std::move(picture);
        cover.designPictures = std::move(further);
        if (!samePicture) notify(kind, What::Picture);
        if (!sameFit) notify(kind, What::Fit);
        if (!sameText) notify(kind, What::Text);
        if (!sameDesign) notify(kind, What::Design);
    }
    bool sameDiscs = true;
    for (DiscKind kind : allDiscKinds()) {
        DiscCover& disc = discs_[kind];
        const DiscCover& kept = snapshot.discs_[kind];
        const bool samePicture = disc.picture.showsSameAs(kept.picture);
        sameDiscs = sameDiscs && samePicture && disc.fit == kept.fit && disc.geometry == kept.geometry &&
            disc.text == kept.text;
        CoverPicture picture = samePicture ? std::move(disc.picture) : kept.picture.forUndo();
        disc = kept;
        disc.picture = std::move(picture);
    }
    if (!sameDiscs) notify(std::nullopt, What::Disc);
    const bool sameLayout = layout_ == snapshot.layout_;
    layout_ = snapshot.layout_;
    if (!sameLayout) notify(std::nullopt, What::PrintLayout);
    watcher_ = watcher;
}

CoverSet CoverDocument::toCoverSet() const {
    CoverSet set;
    for (Kind kind : Kind::all()) {
        CoverSetCover& cover = set.cover(kind.number());
        cover.picture = covers_[kind].picture.coverSetPicture();
        cover.fit = covers_[kind].fit;
        cover.text = covers_[kind].text;
        cover.design = covers_[kind].design;
        for (const CoverPicture& picture : covers_[kind].designPictures)
            cover.designPictures.push_back(picture.coverSetPicture());
    }
    set.ticked = selection_.ticked;
    discsToCoverSet(set);
    set.printLayout = CoverSetPrintLayout{layout_.paper, layout_.cutMarks, layout_.choices};
    // The margin a design was made with travels with it; a set without designs is written as before.
    const auto kinds = Kind::all();
    if (std::any_of(kinds.begin(), kinds.end(), [&](Kind k) { return !covers_[k].design.isPlain(); }))
        set.safeMargin = safeMargin_;
    return set;
}

void CoverDocument::applyCoverSet(const CoverSet& set) {
    EditWatcher* const watcher = std::exchange(watcher_, nullptr);
    for (Kind kind : Kind::all()) {
        const CoverSetCover& cover = set.cover(kind.number());
        covers_[kind].picture.setOpened(cover.picture);
        notify(kind, What::Picture);
        setFitMode(kind, cover.fit, Unsaved::Keep);
        setText(kind, cover.text, Unsaved::Keep);
        // A set that was read holds a design within the rules; one made otherwise is brought there.
        bool repaired = false;
        CoverDesign design = repairedDesign(cover.design, cover.designPictures.size(), repaired);
        if (!hasEndStrips(kind.number())) design.endStrips = {};
        std::vector<CoverPicture> pictures;
        for (std::size_t old : keepUsedPictures(design, cover.designPictures.size())) {
            pictures.emplace_back();
            pictures.back().setOpened(cover.designPictures[old]);
        }
        putDesign(kind, std::move(design), std::move(pictures), Unsaved::Keep);
    }
    clearTicks();
    for (Kind kind : Kind::all())
        if (set.ticked[kind.index()]) setTicked(kind, true);
    applyDiscs(set);
    if (set.printLayout) setPrintLayout({set.printLayout->paper, set.printLayout->cutMarks, set.printLayout->choices});
    if (set.safeMargin) safeMargin_ = *set.safeMargin;
    watcher_ = watcher;
    if (watcher_) watcher_->replaced();
    setUnsavedWork(false);
}

int CoverDocument::addListener(Listener listener) {
    listeners_.emplace_back(nextListener_, std::move(listener));
    return nextListener_++;
}

void CoverDocument::removeListener(int id) {
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void CoverDocument::notify(std::optional<Kind> kind, What what) const {
    // A listener may add or remove listeners: those added now hear the next change, and one removed
    // by an earlier listener is not called any more.
    std::vector<int> ids;
    ids.reserve(listeners_.size());
    for (const auto& entry : listeners_) ids.push_back(entry.first);
    for (int id : ids) {
        const auto found =
            std::find_if(listeners_.begin(), listeners_.end(), [id](const auto& entry) { return entry.first == id; });
        if (found == listeners_.end()) continue;
        const Listener listener = found->second; // kept alive while it runs, even if it removes itself
        listener(kind, what);
    }
}

} // namespace kavi
