// SPDX-License-Identifier: GPL-3.0-or-later
// The cover document: which changes are unsaved work and who is told of them, the selection rules
// kept inside it, and a cover set opened into it and saved from it, its pictures undecoded until
// needed and kept as stored while unchanged.
#include "document/cover_document.h"
#include "tests/support/picture_files.h"

#include <QBuffer>
#include <gtest/gtest.h>

#include <vector>

using namespace kavi;

namespace {

using kavi::testing::jpegOf;

using What = CoverDocument::What;

struct Heard {
    std::optional<Kind> kind;
    What what;
    friend bool operator==(const Heard&, const Heard&) = default;
};

class Document : public ::testing::Test {
protected:
    Document() {
        document.addListener([this](std::optional<Kind> kind, What what) { heard.push_back({kind, what}); });
    }
    bool heardOf(What what) const {
        return std::any_of(heard.begin(), heard.end(), [what](const Heard& h) { return h.what == what; });
    }

    CoverDocument document;
    std::vector<Heard> heard;
};

QImage filled(int w, int h, QColor colour) {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

const Kind kFront(1), kBack(3), kDvd(4), kDs(7);

} // namespace

TEST_F(Document, OnlyRealEditsAreUnsavedWorkAndEachChangeIsToldForItsOwnKind) {
    document.setFitMode(kDvd, FitMode::Fill, CoverDocument::Unsaved::Keep);
    document.setPickedPicture(kDs, filled(40, 20, Qt::red), jpegOf(filled(40, 20, Qt::red)));
    EXPECT_FALSE(document.hasUnsavedWork()) << "a shown fit and a picked file are not edits";
    EXPECT_EQ(document.fitMode(kDvd), FitMode::Fill);
    EXPECT_EQ(document.fitMode(kDs), FitMode::Stretch) << "another kind keeps its own fit";

    heard.clear();
    document.setFitMode(kDvd, FitMode::Fill); // already so
    CoverText text = document.text(kDs);
    document.setText(kDs, text); // the same text
    EXPECT_TRUE(heard.empty());
    EXPECT_FALSE(document.hasUnsavedWork()) << "setting what is already there changes nothing";

    text.title.text = "Level 1";
    document.setText(kDs, text);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0], (Heard{kDs, What::Text}));
    EXPECT_EQ(heard[1], (Heard{std::nullopt, What::Unsaved}));
    EXPECT_TRUE(document.hasUnsavedWork());
    EXPECT_EQ(document.text(kDvd).title.text, "") << "the DVD's text is its own";

    // An edited picture lets the picked file go: neither a print nor a saved set carries it now.
    ASSERT_TRUE(document.picture(kDs).isUneditedOriginal());
    document.setPicture(kDs, filled(40, 20, Qt::blue));
    EXPECT_FALSE(document.picture(kDs).isUneditedOriginal());
    EXPECT_EQ(document.toCoverSet().cover(kDs.number()).picture.encoding(), CoverSetPicture::Encoding::None);
    EXPECT_EQ(document.pixels(kDs).pixel(0, 0), QColor(Qt::blue).rgb());
}

TEST_F(Document, TicksFollowTheSelectionRulesAndARestoredSingleTickClearsTheJewelCaseTicks) {
    document.setTicked(kFront, true);
    document.setTicked(kBack, true);
    EXPECT_TRUE(document.selection().printEnabled);
    EXPECT_FALSE(document.selection().isEnabled(kDvd.number())) << "single kinds are locked by a jewel-case tick";

    // A tick on a locked box (a restored setting) still takes it, and its rule clears the others.
    heard.clear();
    document.setTicked(kDvd, true);
    EXPECT_EQ(heard, (std::vector<Heard>{{kDvd, What::Ticks}})) << "one notice for all ten boxes";
    EXPECT_FALSE(document.isTicked(kFront));
    EXPECT_FALSE(document.isTicked(kBack));
    EXPECT_FALSE(document.selection().isEnabled(kFront.number()));
    EXPECT_FALSE(document.hasUnsavedWork()) << "ticks are not unsaved work";
    const KindFlags saved = document.toCoverSet().ticked;
    EXPECT_EQ(std::count(saved.begin(), saved.end(), true), 1);
    EXPECT_TRUE(saved[kDvd.index()]);

    document.setTicked(kDvd, false);
    EXPECT_EQ(document.selection(), SelectionState{}) << "nothing ticked: every box usable, Print off";
}

TEST_F(Document, AnOpenedSetStaysUndecodedUntilNeededAndIsSavedAgainAsStored) {
    const QImage red = filled(64, 48, Qt::red);
    const QByteArray jpeg = jpegOf(red);
    CoverSet set;
    set.cover(kDvd.number()).picture =
        CoverSetPicture::ofEntry(jpeg, CoverSetPicture::Encoding::Jpeg, red.size(), false);
    set.cover(kDs.number()).picture =
        CoverSetPicture::ofEntry("not a picture", CoverSetPicture::Encoding::Png, QSize(10, 10), false);
    set.cover(kDvd.number()).fit = FitMode::Fit;
    set.ticked[kFront.index()] = true;
    set.ticked[kDvd.index()] = true; // the later tick's rule wins, as when the setting is restored

    document.setText(kFront, [] {
        CoverText text = emptyCoverText(1);
        text.title.text = "old";
        return text;
    }());
    ASSERT_TRUE(document.hasUnsavedWork());
    document.applyCoverSet(set);
    EXPECT_FALSE(document.hasUnsavedWork());
    EXPECT_EQ(document.text(kFront).title.text, "") << "the set's text replaces the edited one";
    EXPECT_EQ(document.fitMode(kDvd), FitMode::Fit);
    EXPECT_TRUE(document.isTicked(kDvd));
    EXPECT_FALSE(document.isTicked(kFront));

    const CoverPicture& dvd = document.picture(kDvd);
    EXPECT_TRUE(dvd.isUndecoded());
    EXPECT_EQ(dvd.size(), red.size()) << "known without decoding";
    EXPECT_EQ(document.toCoverSet().cover(kDvd.number()).picture.encoded(), jpeg) << "saved as stored, undecoded";
    EXPECT_TRUE(dvd.isUndecoded());
    EXPECT_EQ(dvd.uneditedOriginalJpeg(), jpeg) << "a print may carry the JPEG entry as it is";

    heard.clear();
    EXPECT_EQ(document.pixels(kDvd).size(), red.size());
    document.pixels(kDvd);
    EXPECT_EQ(heard, (std::vector<Heard>{{kDvd, What::PictureDecoded}})) << "decoded once";
    EXPECT_EQ(document.toCoverSet().cover(kDvd.number()).picture.encoded(), jpeg) << "still unchanged";
    EXPECT_EQ(dvd.uneditedOriginalJpeg(), jpeg);

    // A damaged entry reads as no picture, is told once, and is saved again as it was stored.
    heard.clear();
    EXPECT_TRUE(document.pixels(kDs).isNull());
    EXPECT_EQ(heard, (std::vector<Heard>{{kDs, What::PictureDamaged}}));
    EXPECT_EQ(document.toCoverSet().cover(kDs.number()).picture.encoded(), QByteArray("not a picture"));
    EXPECT_FALSE(document.picture(kDs).hasPicture());
}

TEST_F(Document, AListenerRemovedByAnEarlierOneDuringANoticeIsNotCalled) {
    int later = 0, second = 0;
    document.addListener([&](std::optional<Kind>, What) {
        document.removeListener(second);
        if (later == 0) later = document.addListener([&](std::optional<Kind>, What) { ADD_FAILURE() << "too early"; });
    });
    second = document.addListener([](std::optional<Kind>, What) { ADD_FAILURE() << "removed before its turn"; });
    document.setTicked(kFront, true);
    document.removeListener(later);
    document.setTicked(kFront, false);
    EXPECT_EQ(heard.size(), 2u);
}
