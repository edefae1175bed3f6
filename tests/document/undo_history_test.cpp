// SPDX-License-Identifier: GPL-3.0-or-later
// The covers' undo history: every kind of design change undone and redone exactly, with only the
// changed parts announced; the unsaved flag back at the saved state; redo steps dropped by a new
// change; one user action as one step; opening a set starting afresh; and the memory a long
// history of large pictures holds.
#include "document/undo_history.h"
#include "tests/support/picture_files.h"

#include <QBuffer>
#include <gtest/gtest.h>

#include <vector>

using namespace kavi;

namespace {

using kavi::testing::jpegOf;

using What = CoverDocument::What;
using Unsaved = CoverDocument::Unsaved;

const Kind kFront(1), kDvd(4), kDs(7);

QImage filled(int w, int h, QColor colour) {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// A JPEG file's bytes and the picture decoding them gives, as a pick has them.
struct PickedJpeg {
    QByteArray bytes;
    QImage pixels;
};
PickedJpeg pickedJpeg(const QImage& picture) {
    PickedJpeg picked{jpegOf(picture), {}};
    picked.pixels = CoverSetPicture::ofJpegFile(picked.bytes).image();
    return picked;
}

// What the user sees of the design: the pixels of three covers, their fits, titles and the layout.
struct Seen {
    std::vector<QImage> pixels;
    std::vector<FitMode> fits;
    std::vector<std::string> titles;
    DocumentPrintLayout layout;
};
Seen seen(const CoverDocument& document) {
    Seen s;
    for (Kind kind : {kFront, kDvd, kDs}) {
        s.pixels.push_back(document.pixels(kind));
        s.fits.push_back(document.fitMode(kind));
        s.titles.push_back(document.text(kind).title.text);
    }
    s.layout = document.printLayout();
    return s;
}
void expectSeen(const Seen& expected, const CoverDocument& document, const std::string& where) {
    const Seen now = seen(document);
    for (std::size_t i = 0; i < expected.pixels.size(); ++i) {
        EXPECT_EQ(now.pixels[i], expected.pixels[i]) << where << ", picture " << i;
        EXPECT_EQ(now.fits[i], expected.fits[i]) << where << ", fit " << i;
        EXPECT_EQ(now.titles[i], expected.titles[i]) << where << ", title " << i;
    }
    EXPECT_TRUE(now.layout == expected.layout) << where;
}

void setTitle(CoverDocument& document, Kind kind, const std::string& title, Unsaved unsaved = Unsaved::Mark) {
    CoverText text = document.text(kind);
    text.title.text = title;
    document.setText(kind, text, unsaved);
}

class History : public ::testing::Test {
protected:
    History() {
        document.addListener([this](std::optional<Kind> kind, What what) { heard.push_back({kind, what}); });
    }
    struct Heard {
        std::optional<Kind> kind;
        What what;
    };
    std::size_t heardOf(What what) const {
        return std::size_t(
            std::count_if(heard.begin(), heard.end(), [what](const Heard& h) { return h.what == what; }));
    }

    CoverDocument document;
    UndoHistory history{document};
    std::vector<Heard> heard;
};

} // namespace

TEST_F(History, EveryKindOfChangeIsUndoneAndRedoneExactlyAndOnlyWhatChangedIsAnnounced) {
    const PickedJpeg photo = pickedJpeg(filled(64, 48, Qt::darkGreen));
    std::vector<Seen> states{seen(document)};
    const auto change = [&](const std::function<void()>& edit) {
        edit();
        states.push_back(seen(document));
    };
    change([&] { document.setPickedPicture(kDvd, photo.pixels, photo.bytes); });
    change([&] { document.setFitMode(kDvd, FitMode::Fill); });
    change([&] { setTitle(document, kDvd, "Night Train"); });
    change([&] { document.setPicture(kDvd, filled(30, 20, Qt::blue)); }); // an accepted edit
    change([&] { document.setPickedPicture(kFront, filled(10, 10, Qt::red), {}); }); // no JPEG bytes
    change([&] { document.setPrintLayout({PaperChoice::A4, true}); });
    change([&] { document.setFitMode(kDs, FitMode::Fit, Unsaved::Keep); });
    document.setTicked(kDvd, true); // a print choice: no step
    ASSERT_EQ(history.undoSteps(), states.size() - 1);

    for (std::size_t back = states.size() - 1; back-- > 0;) {
        heard.clear();
        history.undo();
        expectSeen(states[back], document, "undone to " + std::to_string(back));
        EXPECT_EQ(heardOf(What::Picture) + heardOf(What::Fit) + heardOf(What::Text) + heardOf(What::PrintLayout), 1u)
            << "only the one changed part is announced, at " << back;
    }
    EXPECT_FALSE(history.canUndo());
    EXPECT_TRUE(document.isTicked(kDvd)) << "ticks are not part of the design";

    // The photo comes back from its file's bytes alone: a print still carries the file as it is.
    history.redo();
    EXPECT_TRUE(document.picture(kDvd).isUndecoded());
    EXPECT_EQ(document.picture(kDvd).uneditedOriginalJpeg(), photo.bytes);
    for (std::size_t forward = 2; forward < states.size(); ++forward) {
        history.redo();
        expectSeen(states[forward], document, "redone to " + std::to_string(forward));
    }
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.undoSteps(), states.size() - 1);
}

TEST_F(History, TheUnsavedFlagFollowsTheSavedStateAndANewChangeDropsTheRedoSteps) {
    setTitle(document, kFront, "One");
    setTitle(document, kFront, "Two");
    document.setUnsavedWork(false); // saved here
    document.setPrintLayout({PaperChoice::A4, false}); // no unsaved work
    document.setPickedPicture(kDvd, filled(8, 8, Qt::red), {}); // nor is a pick
    EXPECT_FALSE(document.hasUnsavedWork());
    history.undo();
    history.undo();
    EXPECT_FALSE(document.hasUnsavedWork()) << "back at the saved state";
    history.undo();
    EXPECT_TRUE(document.hasUnsavedWork()) << "the covers differ from the saved set";
    EXPECT_EQ(document.text(kFront).title.text, "One");
    history.redo();
    EXPECT_FALSE(document.hasUnsavedWork()) << "redone to the saved state";

    // Saved at "Two"; back to "One" and changed again: the saved state is gone for good.
    history.undo();
    setTitle(document, kFront, "Three");
    EXPECT_FALSE(history.canRedo()) << "a new change drops the redo steps";
    EXPECT_TRUE(document.hasUnsavedWork());
    history.undo();
    EXPECT_EQ(document.text(kFront).title.text, "One");
    EXPECT_TRUE(document.hasUnsavedWork()) << "the saved state was among the dropped steps";
    history.undo();
    EXPECT_TRUE(document.hasUnsavedWork());
    EXPECT_FALSE(history.canUndo());
    history.redo();
    history.redo();
    EXPECT_EQ(document.text(kFront).title.text, "Three");
    EXPECT_TRUE(document.hasUnsavedWork());
}

TEST_F(History, OneActionIsOneStepAndAnOpenedSetStartsAfresh) {
    {
        CoverDocument::OneAction drag(document);
        document.setPickedPicture(kDs, filled(8, 8, Qt::red), {});
        CoverDocument::OneAction inner(document); // part of the outer action
        for (const char* title : {"N", "Ni", "Nig", "Night"}) setTitle(document, kDs, title);
    }
    EXPECT_EQ(history.undoSteps(), 1u);
    EXPECT_TRUE(document.hasUnsavedWork()) << "a later change of the action was an edit";
    history.undo();
    EXPECT_EQ(document.text(kDs).title.text, "");
    EXPECT_FALSE(document.picture(kDs).hasPicture());
    EXPECT_FALSE(document.hasUnsavedWork()) << "the action counted as unsaved work once";
    history.redo();
    EXPECT_EQ(document.text(kDs).title.text, "Night");
    setTitle(document, kDs, "Day");
    EXPECT_EQ(history.undoSteps(), 2u) << "after the action, each change is a step again";

    CoverSet set = document.toCoverSet();
    set.cover(kDs.number()).text.title.text = "Opened";
    document.applyCoverSet(set);
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    setTitle(document, kDs, "Edited");
    history.undo();
    EXPECT_EQ(document.text(kDs).title.text, "Opened");
    EXPECT_FALSE(document.hasUnsavedWork()) << "the opened set is the saved state";

    // Covers taken over unsaved (a recovery copy) have no saved state to go back to.
    document.applyCoverSet(set);
    document.setUnsavedWork(true);
    setTitle(document, kDs, "Recovered");
    history.undo();
    EXPECT_TRUE(document.hasUnsavedWork());
}

TEST_F(History, DiscLabelsAreUndoneWithTheCoversButTheirStockIsAPrintChoice) {
    const PickedJpeg label = pickedJpeg(filled(40, 40, Qt::darkBlue));
    document.setPickedPicture(DiscKind::Disc, label.pixels, label.bytes);
    {
        CoverDocument::OneAction dialog(document);
        DiscText text = document.disc(DiscKind::Disc).text;
        text.title = "Live";
        document.setDiscText(DiscKind::Disc, text);
        document.setFitMode(DiscKind::Disc, FitMode::Fit);
        setTitle(document, kFront, "Live");
    }
    document.setPicture(DiscKind::MiniDisc, filled(20, 20, Qt::yellow));
    DiscStockChoice stock = document.stockChoice();
    stock.copies = 3;
    document.setStockChoice(stock);
    EXPECT_EQ(history.undoSteps(), 3u) << "the stock is no step";

    heard.clear();
    history.undo();
    EXPECT_FALSE(document.disc(DiscKind::MiniDisc).picture.hasPicture());
    EXPECT_EQ(heardOf(What::Disc), 1u);
    EXPECT_EQ(heardOf(What::Picture), 0u) << "no cover changed";
    history.undo();
    EXPECT_EQ(document.disc(DiscKind::Disc).text.title, "");
    EXPECT_EQ(document.disc(DiscKind::Disc).fit, FitMode::Fill);
    EXPECT_EQ(document.text(kFront).title.text, "");
    EXPECT_EQ(document.pixels(DiscKind::Disc), label.pixels) << "the label's picture stays";
    EXPECT_EQ(document.stockChoice().copies, 3);
    history.undo();
    EXPECT_FALSE(document.disc(DiscKind::Disc).picture.hasPicture());
    history.redo();
    EXPECT_EQ(document.pixels(DiscKind::Disc), label.pixels) << "decoded again from the label file's bytes";
    EXPECT_EQ(document.disc(DiscKind::Disc).picture.uneditedOriginalJpeg(), label.bytes);
}

TEST(HistoryLimits, TheOldestStepsGoPastTheStepLimitAndPastThePictureBytesItAloneHolds) {
    CoverDocument document;
    UndoHistory history(document, UndoHistory::Limits{5, std::int64_t(1) << 40});
    for (int i = 1; i <= 8; ++i) setTitle(document, kFront, std::to_string(i));
    EXPECT_EQ(history.undoSteps(), 5u);
    while (history.canUndo()) history.undo();
    EXPECT_EQ(document.text(kFront).title.text, "3");
    EXPECT_TRUE(document.hasUnsavedWork()) << "the saved state went with the oldest steps";

    // Edited pictures have no file to come back from: their pixels count against the limit.
    CoverDocument edits;
    const QImage edit = filled(100, 100, Qt::blue); // 40000 bytes of pixels
    UndoHistory bounded(edits, UndoHistory::Limits{100, 3 * edit.sizeInBytes()});
    for (int i = 0; i < 10; ++i) edits.setPicture(kDvd, filled(100, 100, QColor(i, 0, 0)));
    EXPECT_LE(bounded.heldBytes(), 3 * edit.sizeInBytes());
    EXPECT_EQ(bounded.undoSteps(), 3u);
    EXPECT_EQ(bounded.heldBytes(), 3 * edit.sizeInBytes()) << "the step before the first edit holds no picture";

    UndoHistory tight(edits, UndoHistory::Limits{100, 10});
    edits.setPicture(kDvd, edit);
    edits.setPicture(kDvd, filled(100, 100, Qt::green));
    EXPECT_EQ(tight.undoSteps(), 1u) << "the latest step stays even when its picture alone is over the limit";
    tight.undo();
    EXPECT_EQ(edits.pixels(kDvd), edit);
}

TEST(HistoryMemory, SixtyPicksOfATwelveMegapixelJpegHoldLessThanTwoPicturesOverTheDocument) {
    QImage photo(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) row[x] = qRgb(x % 256, y % 256, (x * y) % 256);
    }
    const PickedJpeg file = pickedJpeg(photo);
    const std::int64_t onePicture = file.pixels.sizeInBytes();
    CoverDocument document;
    UndoHistory history(document);
    QImage firstPick;
    for (int pick = 0; pick < 60; ++pick) {
        // Each pick reads the file anew: its own pixels and its own copy of the bytes.
        QImage pixels = file.pixels.copy();
        if (pick == 0) firstPick = pixels;
        document.setPickedPicture(pick % 2 ? kDvd : kFront, std::move(pixels),
                                  QByteArray(file.bytes.constData(), file.bytes.size()));
    }
    EXPECT_EQ(history.undoSteps(), 60u);
    EXPECT_LT(history.heldBytes(), 2 * onePicture);
    EXPECT_LT(history.heldBytes(), 2 * file.bytes.size()) << "the equal file bytes are kept once";
    EXPECT_TRUE(firstPick.isDetached()) << "an earlier pick's pixels are let go";

    for (int step = 0; step < 59; ++step) history.undo();
    EXPECT_LT(history.heldBytes(), 2 * onePicture) << "the redo steps hold the bytes too";
    EXPECT_EQ(document.pixels(kFront), file.pixels) << "decoded again from the kept bytes";
    EXPECT_FALSE(document.picture(kDvd).hasPicture());
}
