// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The undo history of the open covers: the design as it was before each change (pictures, fits,
// texts, print layout and whatever else a cover holds), so that Undo and Redo go back and forth
// through the changes. It watches one document, whose changes it is told of before they are made;
// a user action of several changes (CoverDocument::OneAction) is one step, ticks are no step, and
// opening a cover set starts it afresh. The unsaved flag follows: back at the state last saved, the
// covers hold no unsaved work. Memory stays bounded: pictures are shared with the document and
// between the steps, a picture its file's bytes give back is kept as those bytes, equal bytes are
// kept once, and the oldest steps go when the steps or the pictures only the history holds pass
// their limits.
#include "document/cover_document.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace kavi {

class UndoHistory final : private CoverDocument::EditWatcher {
public:
    struct Limits {
        std::size_t steps = 100;
        // The pictures the history holds that the document does not; the latest step stays even
        // when its pictures alone are more.
        std::int64_t pictureBytes = std::int64_t(1) << 30;
    };

    // Watches `document`, which outlives the history, from now on.
    explicit UndoHistory(CoverDocument& document);
    UndoHistory(CoverDocument& document, Limits limits);
    ~UndoHistory() override;
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }
    std::size_t undoSteps() const { return done_.size(); }
    std::size_t redoSteps() const { return undone_.size(); }
    // Puts the design back as it was before the latest step (after the latest undone one for redo).
    void undo();
    void redo();
    // Forgets every step: the covers as they are now are where undo stops.
    void clear();

    // The bytes of the pictures and file bytes the history holds that the document's covers do not
    // hold themselves, each shared picture counted once.
    std::int64_t heldBytes() const { return pictureBytes(false); }

    // Called after anything that may change canUndo() or canRedo().
    void setStepsChanged(std::function<void()> changed) { stepsChanged_ = std::move(changed); }

private:
    // The design at one point of the history, and how many changes that count as unsaved work were
    // made on the way there from the start.
    struct State {
        CoverDocument::Snapshot design;
        long marks = 0;
    };

    void beforeEdit(CoverDocument::Unsaved unsaved) override;
    void replaced() override;
    void actionBegins() override;
    void actionEnds() override;

    void unsavedChanged();
    void moveTo(std::vector<State>& from, std::vector<State>& to);
    void dropRedo();
    void keepWithinLimits();
    // Equal file bytes that another step already holds are shared with it.
    void shareEqualBytes(CoverDocument::Snapshot& design) const;
    void changed() const;
    // The bytes of the pictures the steps hold, without or with those the document holds as well.
    std::int64_t pictureBytes(bool withShared) const;

    CoverDocument& document_;
    Limits limits_;
    int listener_ = 0;
    std::vector<State> done_; // before each step, oldest first
    std::vector<State> undone_; // after each undone step, the latest undone last
    long marks_ = 0; // the current state's count
    std::optional<long> savedMarks_ = 0; // the count of the state last saved, if it can be reached
    int actionDepth_ = 0;
    bool actionRecorded_ = false;
    bool actionMarked_ = false;
    bool restoring_ = false;
    std::function<void()> stepsChanged_;
};

} // namespace kavi
