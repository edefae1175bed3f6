// SPDX-License-Identifier: GPL-3.0-or-later
// The disc labels in the cover document: their defaults, a disc kind printing alone against the ten case
// kinds (both ways), rings that cannot be refused, and what a cover set keeps of them.
#include "document/cover_document.h"

#include <gtest/gtest.h>

using namespace kavi;

namespace {

const Kind kFront(1), kDvd(4);

TEST(DiscDocument, StartsWithTheLabelRingsFillAndNothingTicked) {
    CoverDocument document;
    EXPECT_EQ(document.disc(DiscKind::Disc).geometry, kDiscLabel);
    EXPECT_EQ(document.disc(DiscKind::MiniDisc).geometry, kMiniDiscLabel);
    EXPECT_EQ(document.disc(DiscKind::MiniDisc).fit, FitMode::Fill);
    EXPECT_EQ(document.fitMode(kDvd), FitMode::Stretch); // the case kinds keep theirs
    EXPECT_FALSE(document.tickedDisc());
    EXPECT_FALSE(document.canPrint());
    EXPECT_TRUE(document.stockChoice().isPlainPaper());
}

TEST(DiscDocument, ADiscKindPrintsAloneEitherWay) {
    CoverDocument document;
    int ticksTold = 0;
    document.addListener([&](std::optional<Kind>, CoverDocument::What what) {
        if (what == CoverDocument::What::Ticks) ++ticksTold;
    });
    document.setTicked(kFront, true);
    document.setTicked(Kind(2), true);
    document.setTicked(DiscKind::MiniDisc, true);
    EXPECT_EQ(document.tickedDisc(), DiscKind::MiniDisc);
    EXPECT_FALSE(document.isTicked(kFront));
    EXPECT_FALSE(document.isTicked(Kind(2)));
    for (Kind kind : Kind::all()) EXPECT_TRUE(document.selection().enabled[kind.index()]);
    EXPECT_TRUE(document.canPrint());

    // The other disc kind replaces it; a single case kind clears it.
    document.setTicked(DiscKind::Disc, true);
    EXPECT_EQ(document.tickedDisc(), DiscKind::Disc);
    document.setTicked(kDvd, true);
    EXPECT_FALSE(document.tickedDisc());
    EXPECT_TRUE(document.isTicked(kDvd));

    // Unticking a disc kind that is not ticked changes nothing; clearing all clears it.
    const int before = ticksTold;
    document.setTicked(DiscKind::Disc, false);
    EXPECT_EQ(ticksTold, before);
    document.setTicked(DiscKind::Disc, true);
    document.clearTicks();
    EXPECT_FALSE(document.tickedDisc());
    EXPECT_FALSE(document.canPrint());
}

TEST(DiscDocument, RefusesRingsThatCannotBeAndMarksEditsUnsaved) {
    CoverDocument document;
    const Length mm = Length::fromMillimetres(1);
    EXPECT_FALSE(document.setGeometry(DiscKind::Disc, {mm * 131, mm * 41}));
    EXPECT_FALSE(document.setGeometry(DiscKind::Disc, {mm * 60, mm * 60}));
    EXPECT_FALSE(document.setGeometry(DiscKind::Disc, {mm * 19, mm * 0}));
    EXPECT_FALSE(document.hasUnsavedWork());
    EXPECT_EQ(document.disc(DiscKind::Disc).geometry, kDiscLabel);
    EXPECT_TRUE(document.setGeometry(DiscKind::Disc, {mm * 20, mm * 0}));
    EXPECT_TRUE(document.hasUnsavedWork());
    EXPECT_EQ(document.disc(DiscKind::MiniDisc).geometry, kMiniDiscLabel);
}

TEST(DiscDocument, ACoverSetKeepsTheLabelsTheTickAndTheStock) {
    CoverDocument document;
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    document.setPicture(DiscKind::MiniDisc, picture);
    document.setFitMode(DiscKind::MiniDisc, FitMode::Fit);
    const DiscGeometry own{Length::fromMillimetres(80), Length::fromMillimetres(15)};
    document.setGeometry(DiscKind::MiniDisc, own);
    DiscText text;
    text.title = "Holiday";
    text.subtitle = "2026";
    document.setDiscText(DiscKind::MiniDisc, text);
    document.setTicked(DiscKind::MiniDisc, true);
    DiscLabelStock stock;
    stock.brand = "Test";
    stock.part = "Two";
    stock.centres = {{Length(), Length()}, {Length(), Length()}};
    document.setStockChoice({stock, 2, 3});

    CoverDocument opened;
    opened.setTicked(kFront, true);
    opened.applyCoverSet(document.toCoverSet());
    EXPECT_EQ(opened.tickedDisc(), DiscKind::MiniDisc);
    EXPECT_FALSE(opened.isTicked(kFront));
    const DiscCover& disc = opened.disc(DiscKind::MiniDisc);
    EXPECT_EQ(disc.fit, FitMode::Fit);
    EXPECT_EQ(disc.geometry, own);
    EXPECT_EQ(disc.text, text);
    EXPECT_EQ(opened.pixels(DiscKind::MiniDisc).size(), QSize(8, 6));
    EXPECT_FALSE(opened.disc(DiscKind::Disc).picture.hasPicture());
    ASSERT_TRUE(opened.stockChoice().stock);
    EXPECT_EQ(opened.stockChoice().stock->name(), "Test Two");
    EXPECT_EQ(opened.stockChoice().startLabel, 2);
    EXPECT_EQ(opened.stockChoice().copies, 3);
    EXPECT_FALSE(opened.hasUnsavedWork());
}

} // namespace
