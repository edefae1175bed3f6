// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/undo_history.h"

#include <algorithm>
#include <utility>

namespace kavi {

namespace {

// One block of memory a picture holds: its pixels or its encoded bytes, known by their address.
struct HeldBlock {
    const void* address = nullptr;
    std::int64_t bytes = 0;
};

// What a picture holds: pixels once decoded, encoded bytes while they can give it back.
void addBlocksOf(const CoverPicture& picture, std::vector<HeldBlock>& blocks) {
    const auto add = [&blocks](const void* address, std::int64_t bytes) {
        if (address == nullptr || bytes == 0) return;
        if (std::none_of(blocks.begin(), blocks.end(), [address](const HeldBlock& b) { return b.address == address; }))
            blocks.push_back({address, bytes});
    };
    const QImage& pixels = picture.pixels();
    if (!pixels.isNull()) add(pixels.constBits(), pixels.sizeInBytes());
    const QByteArray bytes =
        picture.isUndecoded() ? picture.coverSetPicture().encoded() : picture.uneditedOriginalJpeg();
    add(bytes.constData(), bytes.size());
}

// The encoded bytes a kept picture is made from; empty for pixels.
QByteArray encodedBytesOf(const CoverPicture& picture) {
    return picture.isUndecoded() ? picture.coverSetPicture().encoded() : QByteArray();
}

} // namespace

UndoHistory::UndoHistory(CoverDocument& document) : UndoHistory(document, Limits()) {}

UndoHistory::UndoHistory(CoverDocument& document, Limits limits) : document_(document), limits_(limits) {
    savedMarks_ = document_.hasUnsavedWork() ? std::nullopt : std::optional<long>(0);
    listener_ = document_.addListener([this](std::optional<Kind>, CoverDocument::What what) {
        if (what == CoverDocument::What::Unsaved) unsavedChanged();
    });
    document_.setEditWatcher(this);
}

UndoHistory::~UndoHistory() {
    document_.setEditWatcher(nullptr);
    document_.removeListener(listener_);
}

void UndoHistory::beforeEdit(CoverDocument::Unsaved unsaved) {
    const bool marks = unsaved == CoverDocument::Unsaved::Mark;
    if (actionDepth_ > 0 && actionRecorded_) {
        // A later change of the same action: the step is there already, and counts as unsaved
        // work when any of its changes does.
        if (marks && !actionMarked_) ++marks_;
        actionMarked_ = actionMarked_ || marks;
        return;
    }
    actionRecorded_ = actionDepth_ > 0;
    actionMarked_ = marks;
    dropRedo();
    State before{document_.snapshot(), marks_};
    shareEqualBytes(before.design);
    done_.push_back(std::move(before));
    if (marks) ++marks_;
    keepWithinLimits();
    changed();
}

void UndoHistory::replaced() { clear(); }

void UndoHistory::actionBegins() {
    if (actionDepth_++ == 0) actionRecorded_ = false;
}

void UndoHistory::actionEnds() {
    if (actionDepth_ > 0) --actionDepth_;
}

void UndoHistory::clear() {
    done_.clear();
    undone_.clear();
    marks_ = 0;
    savedMarks_ = document_.hasUnsavedWork() ? std::nullopt : std::optional<long>(0);
    changed();
}

// Saving (or opening) makes the current state the saved one. The covers becoming unsaved work at
// the saved state's count means they went another way than to the saved state (an edit after
// undoing past it, the saved state dropped with the redo steps) or were taken over unsaved (a
// recovery copy): in both, no state to come is the saved one. An edit made at the saved state
// itself is counted before it is told.
void UndoHistory::unsavedChanged() {
    if (restoring_) return;
    if (!document_.hasUnsavedWork()) savedMarks_ = marks_;
    else if (savedMarks_ == marks_) savedMarks_.reset();
}

void UndoHistory::undo() { moveTo(done_, undone_); }
void UndoHistory::redo() { moveTo(undone_, done_); }

void UndoHistory::moveTo(std::vector<State>& from, std::vector<State>& to) {
    if (from.empty()) return;
    State target = std::move(from.back());
    from.pop_back();
    State here{document_.snapshot(), marks_};
    shareEqualBytes(here.design);
    to.push_back(std::move(here));
    marks_ = target.marks;
    restoring_ = true;
    document_.restore(target.design);
    document_.setUnsavedWork(savedMarks_ != marks_);
    restoring_ = false;
    changed();
}

void UndoHistory::dropRedo() { undone_.clear(); }

void UndoHistory::keepWithinLimits() {
    const std::size_t over = done_.size() > limits_.steps ? done_.size() - limits_.steps : 0;
    done_.erase(done_.begin(), done_.begin() + std::ptrdiff_t(over));
    // Counted before the change is made, the pictures the document is about to let go count too.
    while (done_.size() > 1 && pictureBytes(true) > limits_.pictureBytes) done_.erase(done_.begin());
}

void UndoHistory::shareEqualBytes(CoverDocument::Snapshot& design) const {
    // The held picture to share for `picture`: none when its bytes are held already, or by no step.
    const auto heldEqual = [this](const CoverPicture& picture) -> const CoverPicture* {
        const QByteArray bytes = encodedBytesOf(picture);
        if (bytes.isEmpty()) return nullptr;
        for (const auto* states : {&done_, &undone_})
            for (const State& state : *states)
                for (int place = 0; place < state.design.pictureCount(); ++place) {
                    const CoverPicture& held = state.design.pictureAt(place);
                    const QByteArray heldBytes = encodedBytesOf(held);
                    if (heldBytes.size() != bytes.size()) continue;
                    if (heldBytes.constData() == bytes.constData()) return nullptr;
                    if (held.coverSetPicture().encoding() == picture.coverSetPicture().encoding() &&
                        held.showsSameAs(picture))
                        return &held;
                }
        return nullptr;
    };
    for (int place = 0; place < design.pictureCount(); ++place)
        if (const CoverPicture* same = heldEqual(design.pictureAt(place))) design.sharePictureAt(place, *same);
}

std::int64_t UndoHistory::pictureBytes(bool withShared) const {
    std::vector<HeldBlock> own;
    if (!withShared) {
        for (Kind kind : Kind::all()) {
            addBlocksOf(document_.picture(kind), own);
            for (std::size_t i = 0; i < document_.designPictureCount(kind); ++i)
                addBlocksOf(document_.designPicture(kind, i), own);
        }
        for (DiscKind kind : allDiscKinds()) addBlocksOf(document_.disc(kind).picture, own);
    }
    const std::size_t documentBlocks = own.size();
    for (const auto* states : {&done_, &undone_})
        for (const State& state : *states)
            for (int place = 0; place < state.design.pictureCount(); ++place)
                addBlocksOf(state.design.pictureAt(place), own);
    std::int64_t total = 0;
    for (std::size_t i = documentBlocks; i < own.size(); ++i) total += own[i].bytes;
    return total;
}

void UndoHistory::changed() const {
    if (stepsChanged_) stepsChanged_();
}

} // namespace kavi
