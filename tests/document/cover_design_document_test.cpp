// SPDX-License-Identifier: GPL-3.0-or-later
// Each cover's design in the cover document: edits announced as Design and marked unsaved, with
// what cannot be repaired; picture layers placed under the texts, removed and moved with their
// pictures renumbered; sixty mixed edits undone and redone to every state, pictures and JPEG files
// included; a set with a design opened lazily and saved back; ready layouts applied as one step
// that keeps the pictures.
#include "coverset/cover_set_file.h"
#include "document/undo_history.h"
#include "tests/support/picture_files.h"

#include <QBuffer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace kavi;

namespace {

using kavi::testing::jpegOf;

using What = CoverDocument::What;
const Kind kFront(1), kBack(3), kDvd(4);

QImage filled(int w, int h, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
    QImage picture(w, h, format);
    picture.fill(colour);
    return picture;
}

LengthRect boxAt(double leftMm) {
    return {Length::fromMillimetres(leftMm), Length::fromMillimetres(5), Length::fromMillimetres(30),
            Length::fromMillimetres(20)};
}

CoverLayer layerOf(LayerType type) {
    CoverLayer layer;
    layer.type = type;
    layer.box = boxAt(1);
    return layer;
}

class Design : public ::testing::Test {
protected:
    Design() {
        document.addListener([this](std::optional<Kind> kind, What what) {
            if (what == What::Design) designHeard.push_back(kind);
        });
    }
    CoverDocument document;
    UndoHistory history{document};
    std::vector<std::optional<Kind>> designHeard;
};

// What the user sees of one cover's design: the design, and each further picture's pixels and
// kept JPEG file.
struct SeenDesign {
    CoverDesign design;
    std::vector<QImage> pixels;
    std::vector<QByteArray> jpegs;
    std::string title;
};
SeenDesign seen(const CoverDocument& document, Kind kind) {
    SeenDesign s{document.design(kind), {}, {}, document.text(kind).title.text};
    for (std::size_t i = 0; i < document.designPictureCount(kind); ++i) {
        s.pixels.push_back(document.designPixels(kind, i));
        s.jpegs.push_back(document.designPicture(kind, i).uneditedOriginalJpeg());
    }
    return s;
}
void expectSeen(const SeenDesign& expected, const CoverDocument& document, Kind kind, const std::string& where) {
    const SeenDesign now = seen(document, kind);
    EXPECT_TRUE(now.design == expected.design) << where;
    EXPECT_EQ(now.title, expected.title) << where;
    ASSERT_EQ(now.pixels.size(), expected.pixels.size()) << where;
    for (std::size_t i = 0; i < now.pixels.size(); ++i) {
        EXPECT_EQ(now.pixels[i], expected.pixels[i]) << where << ", picture " << i;
        EXPECT_EQ(now.jpegs[i], expected.jpegs[i]) << where << ", JPEG file " << i;
    }
}

} // namespace

TEST_F(Design, AnEditIsAnnouncedMarkedUnsavedAndWhatCannotBeIsRepaired) {
    CoverDesign asked;
    asked.background = {BackgroundFill::Gradient, 0x112233, 0x445566, 50};
    asked.layers.push_back(layerOf(LayerType::Picture)); // names picture 0, which the cover does not hold
    CoverLayer tracks = layerOf(LayerType::TrackList);
    tracks.tracks.resize(kMostTracks + 1);
    tracks.style.sizePoints = 1;
    asked.layers.push_back(tracks);
    asked.layers.push_back(layerOf(LayerType::Texts));
    asked.layers.push_back(layerOf(LayerType::Texts));
    asked.endStrips.text = "strips on a DVD";
    EXPECT_FALSE(document.setDesign(kDvd, asked));

    const CoverDesign& kept = document.design(kDvd);
    EXPECT_EQ(kept.background.angleDegrees, 45);
    ASSERT_EQ(kept.layers.size(), 2u) << "the picture without a picture and the second texts layer dropped";
    EXPECT_EQ(kept.layers[0].type, LayerType::TrackList);
    EXPECT_EQ(kept.layers[0].tracks.size(), kMostTracks);
    EXPECT_EQ(kept.layers[0].style.sizePoints, kSmallestTextPoints);
    EXPECT_EQ(kept.layers[1].type, LayerType::Texts);
    EXPECT_TRUE(kept.endStrips.text.empty()) << "only the CD Back has end strips";
    EXPECT_EQ(designHeard, std::vector<std::optional<Kind>>{kDvd});
    EXPECT_TRUE(document.hasUnsavedWork());
    EXPECT_EQ(history.undoSteps(), 1u);

    // The same design again changes nothing: no announcement, no step.
    EXPECT_TRUE(document.setDesign(kDvd, kept));
    EXPECT_EQ(designHeard.size(), 1u);
    EXPECT_EQ(history.undoSteps(), 1u);

    // End strips: the CD Back takes them, the DVD does not.
    TextBox strips;
    strips.text = "Night Train";
    document.setEndStrips(kDvd, strips);
    EXPECT_EQ(designHeard.size(), 1u);
    document.setEndStrips(kBack, strips);
    EXPECT_EQ(document.design(kBack).endStrips.text, "Night Train");
    EXPECT_EQ(designHeard.back(), kBack);

    // An edit that keeps the unsaved flag as it is.
    document.setUnsavedWork(false);
    document.setBackground(kBack, {BackgroundFill::Colour, 0xFF0000, 0, 0}, CoverDocument::Unsaved::Keep);
    EXPECT_FALSE(document.hasUnsavedWork());
    EXPECT_EQ(document.design(kBack).background.fill, BackgroundFill::Colour);
}

TEST_F(Design, PictureLayersGoUnderTheTextsAndRemovingOrMovingOneRenumbersThePictures) {
    EXPECT_EQ(document.addPictureLayer(kDvd, QImage(), {}, boxAt(0)), std::nullopt) << "no picture";
    EXPECT_EQ(document.addPictureLayer(kDvd, filled(4, 4, 0xFF0000), {}, boxAt(0)), 0u);
    CoverDesign design = document.design(kDvd);
    design.layers.push_back(layerOf(LayerType::Texts));
    document.setDesign(kDvd, design);
    const QImage photo = filled(8, 6, 0x00FF00);
    const QByteArray photoFile = jpegOf(photo);
    EXPECT_EQ(document.addPictureLayer(kDvd, photo, photoFile, boxAt(10)), 1u) << "under the texts";
    EXPECT_EQ(document.addPictureLayer(kDvd, filled(2, 2, 0x0000FF), {}, boxAt(20)), 2u);
    ASSERT_EQ(document.design(kDvd).layers.size(), 4u);
    EXPECT_EQ(document.design(kDvd).layers[3].type, LayerType::Texts);
    EXPECT_EQ(document.designPictureCount(kDvd), 3u);

    // The red logo goes: the photo becomes picture 0, the blue one picture 1.
    document.removeLayer(kDvd, 0);
    ASSERT_EQ(document.designPictureCount(kDvd), 2u);
    EXPECT_EQ(document.design(kDvd).layers[0].picture, 0u);
    EXPECT_EQ(document.design(kDvd).layers[1].picture, 1u);
    EXPECT_EQ(document.designPixels(kDvd, 0), photo);
    EXPECT_EQ(document.designPicture(kDvd, 0).uneditedOriginalJpeg(), photoFile) << "the JPEG file kept";
    EXPECT_EQ(document.designPixels(kDvd, 1).pixel(0, 0), 0xFF0000FFu);
    EXPECT_TRUE(document.designPixels(kDvd, 7).isNull());

    // Two layers of one picture: removing one keeps the picture.
    CoverLayer again = document.design(kDvd).layers[0];
    again.box = boxAt(50);
    design = document.design(kDvd);
    design.layers.push_back(again);
    document.setDesign(kDvd, design);
    document.removeLayer(kDvd, 0);
    EXPECT_EQ(document.designPictureCount(kDvd), 2u);
    EXPECT_EQ(document.designPixels(kDvd, 1), photo) << "the blue picture is first named now";

    // Moving stops at either end, and the pictures follow the layers' order.
    document.moveLayer(kDvd, 0, +10); // the blue picture to the top
    ASSERT_EQ(document.design(kDvd).layers.size(), 3u);
    EXPECT_EQ(document.design(kDvd).layers[0].type, LayerType::Texts);
    EXPECT_EQ(document.designPixels(kDvd, 0), photo);
    document.moveLayer(kDvd, 2, -10);
    EXPECT_EQ(document.design(kDvd).layers[0].box, boxAt(20));
    EXPECT_EQ(document.designPixels(kDvd, 0).pixel(0, 0), 0xFF0000FFu);

    // No more than the most layers a cover holds.
    while (document.design(kDvd).layers.size() < kMostCoverLayers)
        ASSERT_TRUE(document.addPictureLayer(kDvd, filled(1, 1, 0x808080), {}, boxAt(3)));
    const std::size_t steps = history.undoSteps();
    EXPECT_EQ(document.addPictureLayer(kDvd, filled(1, 1, 0x808080), {}, boxAt(3)), std::nullopt);
    EXPECT_EQ(document.design(kDvd).layers.size(), kMostCoverLayers);
    EXPECT_EQ(history.undoSteps(), steps);
}

TEST_F(Design, SixtyMixedEditsOnTwoCoversAreUndoneAndRedoneToEveryStatePicturesIncluded) {
    std::vector<std::pair<SeenDesign, SeenDesign>> states{{seen(document, kDvd), seen(document, kBack)}};
    for (int i = 0; i < 60; ++i) {
        const Kind kind = i % 3 == 2 ? kBack : kDvd;
        const std::size_t layers = document.design(kind).layers.size();
        switch (i % 7) {
        case 0:
        case 3: {
            const QImage picture = filled(3 + i % 5, 2 + i % 3, qRgb(i * 4, 255 - i * 4, i % 2 ? 0 : 200));
            // Every other one is a picked JPEG file whose bytes a print carries.
            const QByteArray file = i % 2 ? jpegOf(picture) : QByteArray();
            const QImage shown = file.isEmpty() ? picture : CoverSetPicture::ofJpegFile(file).image();
            ASSERT_TRUE(document.addPictureLayer(kind, shown, file, boxAt(i)));
            break;
        }
        case 1:
            document.setBackground(kind, {BackgroundFill::Gradient, std::uint32_t(i), 0xFFFFFF, (i * 45) % 360});
            break;
        case 2:
            if (layers > 0) document.removeLayer(kind, std::size_t(i) % layers);
            else document.setBackground(kind, {BackgroundFill::Colour, 0xABCDEF, 0, 0});
            break;
        case 4:
            if (layers > 1) {
                const std::size_t index = std::size_t(i) % layers;
                document.moveLayer(kind, index, index + 1 == layers ? -2 : 1);
            } else document.addPictureLayer(kind, filled(5, 5, 0x123456), {}, boxAt(2));
            break;
        case 5:
            if (layers > 0) {
                CoverLayer layer = document.design(kind).layers[0];
                layer.opacity = 0.5 + i / 200.0;
                layer.quarterTurns = i % 4;
                document.setLayer(kind, 0, layer);
            } else {
                document.addPictureLayer(kind, filled(6, 2, 0x654321), {}, boxAt(4));
            }
            break;
        case 6: {
            // A text edit between design edits, each its own step.
            CoverText text = document.text(kind);
            text.title.text = "Title " + std::to_string(i);
            document.setText(kind, text);
            break;
        }
        }
        states.push_back({seen(document, kDvd), seen(document, kBack)});
    }
    ASSERT_EQ(history.undoSteps(), 60u);
    EXPECT_GT(document.designPictureCount(kDvd), 2u);

    for (std::size_t back = states.size() - 1; back-- > 0;) {
        designHeard.clear();
        history.undo();
        // A view of the DVD hears of each step that changes its design.
        const bool dvdChanged = !(states[back].first.design == states[back + 1].first.design) ||
            states[back].first.pixels.size() != states[back + 1].first.pixels.size();
        EXPECT_EQ(std::count(designHeard.begin(), designHeard.end(), std::optional<Kind>(kDvd)), dvdChanged ? 1 : 0)
            << back;
        expectSeen(states[back].first, document, kDvd, "DVD undone to " + std::to_string(back));
        expectSeen(states[back].second, document, kBack, "Back undone to " + std::to_string(back));
    }
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(document.hasUnsavedWork()) << "back where nothing was changed";
    for (std::size_t forward = 1; forward < states.size(); ++forward) {
        history.redo();
        expectSeen(states[forward].first, document, kDvd, "DVD redone to " + std::to_string(forward));
        expectSeen(states[forward].second, document, kBack, "Back redone to " + std::to_string(forward));
    }
    EXPECT_FALSE(history.canRedo());
    EXPECT_TRUE(document.hasUnsavedWork());
}

TEST_F(Design, AnOpenedSetsDesignIsDecodedWhenFirstNeededAndSavedBackAsItWasStored) {
    const QImage logo = filled(6, 4, qRgba(10, 20, 30, 100), QImage::Format_ARGB32);
    document.addPictureLayer(kDvd, logo, {}, boxAt(0));
    const QImage photo = filled(8, 8, 0x336699);
    const QByteArray photoFile = jpegOf(photo);
    document.addPictureLayer(kDvd, CoverSetPicture::ofJpegFile(photoFile).image(), photoFile, boxAt(9));
    const QByteArray file = writeCoverSet(document.toCoverSet());
    const CoverSetReading reading = readCoverSet(file);
    ASSERT_TRUE(reading.set) << reading.reason;

    CoverDocument opened;
    std::vector<std::optional<Kind>> heard;
    opened.addListener([&heard](std::optional<Kind> kind, What what) {
        if (what == What::Design) heard.push_back(kind);
    });
    opened.applyCoverSet(*reading.set);
    EXPECT_TRUE(opened.design(kDvd) == document.design(kDvd));
    ASSERT_EQ(opened.designPictureCount(kDvd), 2u);
    EXPECT_TRUE(opened.designPicture(kDvd, 0).isUndecoded());
    EXPECT_FALSE(opened.hasUnsavedWork());
    EXPECT_EQ(opened.designPicture(kDvd, 1).uneditedOriginalJpeg(), photoFile) << "known without decoding";
    EXPECT_EQ(opened.designPixels(kDvd, 0).pixel(2, 2), logo.pixel(2, 2)) << "alpha kept";
    const std::size_t heardBefore = heard.size();
    // Saved again, the entries are the ones read, byte for byte, decoded or not.
    const CoverSet again = opened.toCoverSet();
    EXPECT_EQ(again.cover(kDvd.number()).designPictures[0].encoded(),
              reading.set->cover(kDvd.number()).designPictures[0].encoded());
    EXPECT_EQ(again.cover(kDvd.number()).designPictures[1].encoded(), photoFile);

    // A further picture whose data does not decode reads as none, told once as Design.
    CoverSet damaged = *reading.set;
    QByteArray broken = damaged.cover(kDvd.number()).designPictures[0].encoded();
    broken.truncate(40);
    damaged.cover(kDvd.number()).designPictures[0] =
        CoverSetPicture::ofEntry(broken, CoverSetPicture::Encoding::Png, QSize(6, 4), true);
    opened.applyCoverSet(damaged);
    heard.clear();
    EXPECT_TRUE(opened.designPixels(kDvd, 0).isNull());
    EXPECT_TRUE(opened.designPixels(kDvd, 0).isNull());
    EXPECT_EQ(heard, std::vector<std::optional<Kind>>{kDvd});
    EXPECT_GE(heardBefore, 1u);
}

TEST_F(Design, ALayoutSetsDesignsAndTextsOfItsKindsKeepsThePicturesAndUndoesInOneStep) {
    // The covers as they are: a DVD photo, a logo layer and a title; a front title.
    const QImage photo = filled(20, 10, 0x102030);
    document.setPickedPicture(kDvd, photo, {});
    document.addPictureLayer(kDvd, filled(4, 4, 0xFFFF00), {}, boxAt(3));
    CoverText dvdText = document.text(kDvd);
    dvdText.title.text = "Before";
    document.setText(kDvd, dvdText);
    CoverText frontText = document.text(kFront);
    frontText.title.text = "Front stays";
    document.setText(kFront, frontText);
    const SeenDesign dvdBefore = seen(document, kDvd), backBefore = seen(document, kBack);

    // A layout for the DVD and the CD Back, made from another document's covers.
    CoverDocument maker;
    CoverText title = maker.text(kDvd);
    title.title.text = "Title";
    title.subtitle.text = "Tagline";
    maker.setText(kDvd, title);
    CoverDesign film;
    film.background = {BackgroundFill::Colour, 0x000000, 0, 0};
    film.layers.push_back(layerOf(LayerType::TrackList));
    film.layers.push_back(layerOf(LayerType::Texts));
    maker.setDesign(kDvd, film);
    maker.addPictureLayer(kDvd, filled(2, 2, 0xFF00FF), {}, boxAt(7)); // no picture goes into a layout
    TextBox strips;
    strips.text = "Artist - Album";
    maker.setEndStrips(kBack, strips);
    maker.setTicked(kDvd, true);
    const CoverSet layout = maker.toLayout();
    const KindFlags kinds = CoverDocument::layoutKinds(layout);
    EXPECT_TRUE(kinds[kDvd.index()] && kinds[kBack.index()]);
    EXPECT_FALSE(kinds[kFront.index()]);
    EXPECT_TRUE(layout.cover(kDvd.number()).designPictures.empty());
    EXPECT_TRUE(layout.cover(kDvd.number()).picture.isNull());
    EXPECT_EQ(layout.ticked, KindFlags{}) << "a layout has no ticks";
    // A layout survives its file.
    const CoverSetReading read = readCoverSet(writeCoverSet(layout));
    ASSERT_TRUE(read.set) << read.reason;

    const std::size_t steps = history.undoSteps();
    document.applyLayout(*read.set);
    EXPECT_EQ(history.undoSteps(), steps + 1) << "one step";
    EXPECT_EQ(document.pixels(kDvd), photo) << "the cover's own picture stays";
    EXPECT_EQ(document.text(kDvd).subtitle.text, "Tagline");
    EXPECT_EQ(document.text(kFront).title.text, "Front stays") << "a kind the layout does not have";
    const CoverDesign& now = document.design(kDvd);
    ASSERT_EQ(now.layers.size(), 3u);
    EXPECT_EQ(now.layers[0].type, LayerType::TrackList);
    EXPECT_EQ(now.layers[1].type, LayerType::Picture) << "the logo kept, under the layout's texts";
    EXPECT_EQ(now.layers[2].type, LayerType::Texts);
    EXPECT_EQ(document.designPixels(kDvd, 0).pixel(0, 0), 0xFFFFFF00u);
    EXPECT_EQ(now.background.fill, BackgroundFill::Colour);
    EXPECT_EQ(document.design(kBack).endStrips.text, "Artist - Album");

    history.undo();
    expectSeen(dvdBefore, document, kDvd, "DVD after undo");
    expectSeen(backBefore, document, kBack, "Back after undo");
    EXPECT_EQ(document.pixels(kDvd), photo);
}

TEST_F(Design, WhateverAnEditLeavesIsSavedAndReadBackTheSame) {
    // Values at and past every edge a set's reader checks, through the document's repairs.
    CoverDesign odd;
    CoverLayer tracks = layerOf(LayerType::TrackList);
    tracks.box.left = Length::fromMillimetres(-999);
    tracks.tracks = {{20000, std::string(600, 'x') + "\xFF\xFE", "\xC3", 1e9},
                     {-3, "", std::string(501, 'a'), -1},
                     {7, "\xE2\x82", "ok", 59.5}};
    tracks.style.family = std::string(300, 'f');
    tracks.style.sizePoints = 1000;
    tracks.style.colour = 0xFF123456;
    odd.layers.push_back(tracks);
    odd.layers.push_back(layerOf(LayerType::Texts));
    odd.background = {BackgroundFill::Gradient, 0xFFFFFFFF, 0x01000000, -45};
    odd.endStrips.text = std::string(kLongestText, 'e') + "\xC3\xA9";
    odd.endStrips.style.sizePoints = std::nan("");
    EXPECT_FALSE(document.setDesign(kBack, odd));

    const CoverSetReading reading = readCoverSet(writeCoverSet(document.toCoverSet()));
    ASSERT_TRUE(reading.set) << reading.reason;
    const CoverDesign& read = reading.set->cover(kBack.number()).design;
    EXPECT_TRUE(read.background == document.design(kBack).background);
    EXPECT_TRUE(read.endStrips == document.design(kBack).endStrips);
    ASSERT_EQ(read.layers.size(), 2u);
    EXPECT_TRUE(read.layers[0].style == document.design(kBack).layers[0].style);
    EXPECT_TRUE(read.layers[0].tracks == document.design(kBack).layers[0].tracks);
    EXPECT_TRUE(read.layers[0].box == document.design(kBack).layers[0].box);
    EXPECT_TRUE(read.layers[1] == document.design(kBack).layers[1]);
    EXPECT_TRUE(read == document.design(kBack));
    EXPECT_EQ(document.design(kBack).background.angleDegrees, 315);
    EXPECT_EQ(document.design(kBack).layers[0].tracks[2].seconds, 59.5) << "a length that can be is kept";
}

TEST_F(Design, TheSafeMarginTravelsWithADesignedSetOnlyAndAnOpenedSetsMarginIsTaken) {
    document.setSafeMargin(Length::fromMillimetres(5));
    EXPECT_FALSE(document.toCoverSet().safeMargin) << "a set without designs is written as before";

    document.setBackground(kBack, {BackgroundFill::Colour, 0x203040, 0, 0});
    const CoverSetReading reading = readCoverSet(writeCoverSet(document.toCoverSet()));
    ASSERT_TRUE(reading.set) << reading.reason;
    ASSERT_TRUE(reading.set->safeMargin);
    EXPECT_EQ(*reading.set->safeMargin, Length::fromMillimetres(5));

    // Opened where the setting says 2 mm: the set's margin wins; a set without one keeps the current.
    CoverDocument other;
    other.setSafeMargin(Length::fromMillimetres(2));
    other.applyCoverSet(*reading.set);
    EXPECT_EQ(other.safeMargin(), Length::fromMillimetres(5));
    CoverSet plain;
    other.setSafeMargin(Length::fromMillimetres(2));
    other.applyCoverSet(plain);
    EXPECT_EQ(other.safeMargin(), Length::fromMillimetres(2));
}
