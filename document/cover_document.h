// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The open covers: everything that is the user's work, in one place. Per kind the picture (with the
// picked file's JPEG bytes), how it fills its cover and the cover's text; the "Print Options" ticks
// with their selection rules; the print layout (paper and cut marks); and whether there are changes
// not saved in a cover set. The windows show it and send their edits here; whoever shows a part of
// it listens for changed(kind, what). Qt appears only through its picture and byte types.
#include "covers/cover_design.h"
#include "covers/cover_text.h"
#include "covers/disc_kinds.h"
#include "covers/fit_mode.h"
#include "covers/paper.h"
#include "covers/print_choices.h"
#include "covers/safe_area.h"
#include "covers/selection_rules.h"
#include "coverset/cover_set.h"
#include "document/cover_picture.h"
#include "document/disc_cover.h"
#include "document/kind.h"

#include <functional>
#include <optional>
#include <vector>

namespace kavi {

// The paper the covers print on and whether cut marks are drawn.
struct DocumentPrintLayout {
    DocumentPrintLayout(PaperChoice paper = PaperChoice::LetterAndLegal, bool cutMarks = false,
                        PrintChoices choices = {})
        : paper(paper), cutMarks(cutMarks), choices(choices) {}
    PaperChoice paper = PaperChoice::LetterAndLegal;
    bool cutMarks = false;
    PrintChoices choices;
    friend bool operator==(const DocumentPrintLayout&, const DocumentPrintLayout&) = default;
};

class CoverDocument {
public:
    // What changed. Picture: a new picture; PictureDecoded and PictureDamaged: an opened picture was
    // decoded, or found not to decode (it then reads as no picture). Ticks covers all ten boxes and
    // Print (a rule may change several). PrintLayout and Unsaved come without a kind, and so may Ticks.
    // Disc: a disc label's picture, fit, ring or curved text changed (told without a kind, see
    // disc_cover.h); DiscStock: the label stock, start label or copies. Design: the kind's design
    // (background, layers, further pictures, end strips) changed, or one of its further pictures
    // was found not to decode.
    enum class What {
        Picture,
        PictureDecoded,
        PictureDamaged,
        Fit,
        Text,
        Ticks,
        PrintLayout,
        Unsaved,
        Disc,
        DiscStock,
        Design
    };
    // Whether a change counts as the user's unsaved work (an edit) or only shows what is already
    // saved or not the user's to save (a restored value, a picked file).
    enum class Unsaved { Mark, Keep };
    using Listener = std::function<void(std::optional<Kind> kind, What what)>;

    CoverDocument();
    CoverDocument(const CoverDocument&) = delete;
    CoverDocument& operator=(const CoverDocument&) = delete;

    // ---- Pictures ----
    const CoverPicture& picture(Kind kind) const { return covers_[kind].picture; }
    // The pixels, decoded when first asked for (announced as PictureDecoded, or as PictureDamaged
    // when the entry does not decode: it then reads as no picture).
    const QImage& pixels(Kind kind) const;
    // A file picked into the cover. Not unsaved work by itself: only edits, fits and texts are.
    void setPickedPicture(Kind kind, QImage picture, QByteArray originalJpeg);
    // An edited picture (the Cover Manipulator's result) or a scan.
    void setPicture(Kind kind, QImage picture, Unsaved unsaved = Unsaved::Mark);

    // ---- Fit and text ----
    FitMode fitMode(Kind kind) const { return covers_[kind].fit; }
    void setFitMode(Kind kind, FitMode mode, Unsaved unsaved = Unsaved::Mark);
    const CoverText& text(Kind kind) const { return covers_[kind].text; }
    void setText(Kind kind, const CoverText& text, Unsaved unsaved = Unsaved::Mark);

    // ---- Design (cover_document_design.cpp) ----
    // The cover's background, layers and end strips; plain unless edited. Every picture layer names
    // one of the cover's further pictures, every further picture is named by a layer, and they are
    // numbered in the order the layers first name them (so an edit may renumber them).
    const CoverDesign& design(Kind kind) const { return covers_[kind].design; }
    std::size_t designPictureCount(Kind kind) const { return covers_[kind].designPictures.size(); }
    const CoverPicture& designPicture(Kind kind, std::size_t index) const;
    // A further picture's pixels, decoded when first asked for; a null image for one that does not
    // decode (announced once as Design) or an index past the pictures.
    const QImage& designPixels(Kind kind, std::size_t index) const;
    // The design as given, repaired where it cannot be (design_repair.h): false when something had
    // to be repaired. Further pictures no layer names any more are let go, the others renumbered.
    bool setDesign(Kind kind, CoverDesign design, Unsaved unsaved = Unsaved::Mark);
    // A further picture (a logo, a second photo) with the file's bytes when it is an unedited JPEG
    // file, in a new layer in `box` above the other layers but below the Texts layer if there is one.
    // The new layer's index; none, changing nothing, for a null picture or a cover that holds
    // kMostCoverLayers layers already.
    std::optional<std::size_t> addPictureLayer(Kind kind, QImage picture, QByteArray originalJpeg, LengthRect box);
    // One layer changed in place (moved, resized, turned, faded, a track list edited); false,
    // changing nothing, for an index past the layers. Repaired as setDesign repairs.
    bool setLayer(Kind kind, std::size_t index, const CoverLayer& layer, Unsaved unsaved = Unsaved::Mark);
    // Drops a layer, and the further picture it named when no other layer names it.
    void removeLayer(Kind kind, std::size_t index);
    // Brings a layer forward (by > 0) or sends it back (by < 0), stopping at either end.
    void moveLayer(Kind kind, std::size_t index, int by);
    void setBackground(Kind kind, const CoverBackground& background, Unsaved unsaved = Unsaved::Mark);
    // The CD Back's end strips; ignored on other kinds.
    void setEndStrips(Kind kind, const TextBox& endStrips, Unsaved unsaved = Unsaved::Mark);

    // ---- Ready layouts ----
    // The covers' designs and texts as a layout saves them: the kinds that have a text or a design
    // that is not plain, without any picture, tick, disc label or print layout.
    CoverSet toLayout() const;
    // Sets the design and texts of every kind the layout has (layoutKinds), keeping each cover's
    // own picture and its further pictures (their layers go on under the layout's texts), as one
    // user action. The other kinds, the ticks and the print layout stay as they are.
    void applyLayout(const CoverSet& layout);
    // The kinds a layout sets: those with a text or a design that is not plain.
    static KindFlags layoutKinds(const CoverSet& layout);

    // ---- Ticks ----
    // The ten boxes and Print as the selection rules leave them.
    const SelectionState& selection() const { return selection_; }
    bool isTicked(Kind kind) const { return selection_.isTicked(kind.number()); }
    // Box `kind` set to `ticked` by the user or by code: its rule then sets all ten boxes and Print.
    void setTicked(Kind kind, bool ticked);
    // All boxes cleared and enabled, Print disabled.
    void clearTicks();

    // ---- Disc labels (cover_document_discs.cpp) ----
    const DiscCover& disc(DiscKind kind) const { return discs_[kind]; }
    const QImage& pixels(DiscKind kind) const;
    void setPickedPicture(DiscKind kind, QImage picture, QByteArray originalJpeg);
    void setPicture(DiscKind kind, QImage picture, Unsaved unsaved = Unsaved::Mark);
    void setFitMode(DiscKind kind, FitMode mode, Unsaved unsaved = Unsaved::Mark);
    // False, changing nothing, for a ring that cannot be (discGeometryError).
    bool setGeometry(DiscKind kind, const DiscGeometry& geometry, Unsaved unsaved = Unsaved::Mark);
    void setDiscText(DiscKind kind, const DiscText& text, Unsaved unsaved = Unsaved::Mark);
    // A disc kind prints alone: ticking one clears the ten boxes and the other disc kind, and ticking any
    // of the ten clears it.
    std::optional<DiscKind> tickedDisc() const { return tickedDisc_; }
    void setTicked(DiscKind kind, bool ticked);
    // Whether Print has something to print: a case kind or a disc kind ticked.
    bool canPrint() const { return selection_.printEnabled || tickedDisc_.has_value(); }
    const DiscStockChoice& stockChoice() const { return stock_; }
    void setStockChoice(const DiscStockChoice& choice, Unsaved unsaved = Unsaved::Mark);

    // ---- Print layout ----
    const DocumentPrintLayout& printLayout() const { return layout_; }
    void setPrintLayout(const DocumentPrintLayout& layout);

    // ---- Safe margin ----
    // The distance of the layout window's dashed line from the covers' edges (never printed): the
    // setting's until a cover set that keeps one is opened. Not unsaved work by itself.
    Length safeMargin() const { return safeMargin_; }
    void setSafeMargin(Length margin) { safeMargin_ = margin; }

    // ---- Unsaved work ----
    bool hasUnsavedWork() const { return unsaved_; }
    void setUnsavedWork(bool unsaved);

    // ---- Cover sets ----
    // The covers as a cover set saves them; decodes nothing.
    CoverSet toCoverSet() const;
    // Opens a set: its pictures (decoded when first needed), fits, texts, and its ticks restored as
    // a setting is (all cleared, then each saved tick runs its rule). The covers are then saved work.
    void applyCoverSet(const CoverSet& set);

    // ---- Undo ----
    // The covers' design as a whole: every per-kind field (picture, fit, text, ...), the disc labels
    // and the print layout; not the ticks, the label stock, start label and copies, which are print
    // choices, nor the unsaved flag. Pictures are shared, never
    // copied, and one that its file's bytes give back exactly is kept as those bytes alone.
    class Snapshot;
    Snapshot snapshot() const;
    // Puts the design back as the snapshot holds it, announcing each part that changes.
    void restore(const Snapshot& snapshot);
    // Told of each change of the design before it is made (opening a set and restore() excepted).
    class EditWatcher;
    void setEditWatcher(EditWatcher* watcher) { watcher_ = watcher; }
    // The changes made while one lives are one user action (a drag that sets a text many times).
    class OneAction;

    // ---- Change notification ----
    // Listeners are called in the order they were added, after the change is made.
    int addListener(Listener listener);
    void removeListener(int id);

private:
    struct Cover {
        CoverPicture picture;
        FitMode fit = FitMode::Stretch;
        CoverText text;
        CoverDesign design;
        std::vector<CoverPicture> designPictures; // named by the design's picture layers
    };
    void notify(std::optional<Kind> kind, What what) const;
    void edited(Unsaved unsaved);
    void aboutToEdit(Unsaved unsaved);
    void applyDiscs(const CoverSet& set);
    // Puts a design and its further pictures in as they are (already repaired), telling Design when
    // anything changed.
    void putDesign(Kind kind, CoverDesign design, std::vector<CoverPicture> pictures, Unsaved unsaved);
    void discsToCoverSet(CoverSet& set) const;

    PerKind<Cover> covers_;
    PerDiscKind<DiscCover> discs_;
    std::optional<DiscKind> tickedDisc_;
    DiscStockChoice stock_;
    SelectionState selection_;
    DocumentPrintLayout layout_;
    Length safeMargin_ = kDefaultSafeMargin;
    bool unsaved_ = false;
    std::vector<std::pair<int, Listener>> listeners_;
    int nextListener_ = 1;
    EditWatcher* watcher_ = nullptr;
};

class CoverDocument::Snapshot {
public:
    // Every picture the design holds (the covers', then the disc labels', then the covers' further
    // pictures, kind by kind), by place.
    int pictureCount() const;
    const CoverPicture& pictureAt(int place) const;
    // Puts in a picture that shows the same as the one held, so that equal file bytes are kept once.
    void sharePictureAt(int place, const CoverPicture& same) { pictureIn(place) = same; }

private:
    friend class CoverDocument;
    CoverPicture& pictureIn(int place);
    PerKind<Cover> covers_;
    PerDiscKind<DiscCover> discs_;
    DocumentPrintLayout layout_;
};

class CoverDocument::EditWatcher {
public:
    virtual ~EditWatcher() = default;
    // The design is about to change; `unsaved` tells whether the change counts as unsaved work.
    virtual void beforeEdit(Unsaved unsaved) = 0;
    // An opened cover set replaced the covers: nothing before it can be gone back to.
    virtual void replaced() = 0;
    // A user action of several changes begins or ends; an action inside another is part of it.
    virtual void actionBegins() = 0;
    virtual void actionEnds() = 0;
};

class CoverDocument::OneAction {
public:
    explicit OneAction(CoverDocument& document) : watcher_(document.watcher_) {
        if (watcher_) watcher_->actionBegins();
    }
    ~OneAction() {
        if (watcher_) watcher_->actionEnds();
    }
    OneAction(const OneAction&) = delete;
    OneAction& operator=(const OneAction&) = delete;

private:
    EditWatcher* watcher_;
};

} // namespace kavi
