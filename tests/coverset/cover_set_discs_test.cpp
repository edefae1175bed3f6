// SPDX-License-Identifier: GPL-3.0-or-later
// Cover-set files keep the disc labels (pictures, fits, rings, curved texts), the ticked disc kind and the
// label stock whole; a set without disc labels is written as before and an old one reads as untouched;
// a damaged disc member refuses the file.
#include "coverset/cover_set_file.h"
#include "formats/zip/stored_zip.h"
#include "tests/support/picture_files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::samePixels;

namespace {

Length mm(double v) { return Length::fromMillimetres(v); }

QJsonObject descriptionOf(const QByteArray& file) {
    const zip::Archive archive = zip::readArchive(std::string_view(file.constData(), std::size_t(file.size())), {});
    const auto& data = archive.entries.at(0).data;
    return QJsonDocument::fromJson(QByteArray(data.data(), qsizetype(data.size()))).object();
}

QByteArray withDescription(const QJsonObject& description) {
    const QByteArray json = QJsonDocument(description).toJson();
    const std::string bytes =
        zip::writeStored({{"cover-set.json", std::string_view(json.constData(), std::size_t(json.size()))}});
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

CoverSet discSet() {
    CoverSet set = CoverSet::empty();
    QImage picture(23, 11, QImage::Format_RGB32);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 23; ++x) picture.setPixel(x, y, qRgb(x * 11, y * 20, 90));
    CoverSetDisc& mini = set.discs.labels[DiscKind::MiniDisc];
    mini.picture = picture;
    mini.fit = FitMode::Fit;
    mini.geometry = {mm(80.5), mm(15)};
    mini.text.title = "Sommer \xC3\xA9t\xC3\xA9";
    mini.text.subtitle = "2026";
    mini.text.titlePoints = 18;
    mini.text.rgb = 0x3366CC;
    set.discs.ticked = DiscKind::MiniDisc;
    DiscLabelStock stock;
    stock.brand = "Test";
    stock.part = "Card";
    stock.paperId = "Other";
    stock.paper = {mm(135), mm(295)};
    stock.outerRadius = mm(29);
    stock.holeRadius = mm(8);
    stock.cutHeight = mm(40);
    stock.centres = {{mm(50), mm(50)}, {mm(50), mm(150.25)}};
    set.discs.stock = stock;
    set.discs.startLabel = 2;
    set.discs.copies = 3;
    return set;
}

TEST(CoverSetDiscs, TheLabelsTheTickAndTheWholeStockComeBack) {
    const CoverSet saved = discSet();
    const CoverSetReading reading = readCoverSet(writeCoverSet(saved));
    ASSERT_TRUE(reading.set);
    const CoverSetDiscs& discs = reading.set->discs;
    EXPECT_EQ(discs.ticked, DiscKind::MiniDisc);
    const CoverSetDisc& mini = discs.labels[DiscKind::MiniDisc];
    EXPECT_TRUE(samePixels(mini.picture.image(), saved.discs.labels[DiscKind::MiniDisc].picture.image()));
    EXPECT_EQ(mini.fit, FitMode::Fit);
    EXPECT_NEAR(mini.geometry.outer.millimetres(), 80.5, 1e-9);
    EXPECT_EQ(mini.text, saved.discs.labels[DiscKind::MiniDisc].text);
    EXPECT_TRUE(discs.labels[DiscKind::Disc].picture.isNull());
    EXPECT_EQ(discs.labels[DiscKind::Disc].geometry, kDiscLabel);
    ASSERT_TRUE(discs.stock);
    EXPECT_EQ(discs.stock->name(), "Test Card");
    EXPECT_EQ(discs.stock->paperId, "Other");
    EXPECT_NEAR(discs.stock->paper.height.millimetres(), 295, 1e-9);
    EXPECT_NEAR(discs.stock->holeRadius.millimetres(), 8, 1e-9);
    ASSERT_TRUE(discs.stock->cutHeight);
    EXPECT_FALSE(discs.stock->cutWidth);
    ASSERT_EQ(discs.stock->centres.size(), 2u);
    EXPECT_NEAR(discs.stock->centres[1].y.millimetres(), 150.25, 1e-9);
    EXPECT_EQ(discs.startLabel, 2);
    EXPECT_EQ(discs.copies, 3);
}

TEST(CoverSetDiscs, UntouchedLabelsAreNotWrittenAndAnOldSetReadsAsUntouched) {
    CoverSet set = CoverSet::empty();
    set.ticked[3] = true;
    const QByteArray file = writeCoverSet(set);
    EXPECT_FALSE(descriptionOf(file).contains("discs"));
    const CoverSetReading reading = readCoverSet(file);
    ASSERT_TRUE(reading.set);
    EXPECT_TRUE(reading.set->discs.isUntouched());
    EXPECT_EQ(reading.version, 1);
    // Disc labels alone do not raise the version: an older reader only leaves them out.
    CoverSet disc = CoverSet::empty();
    disc.discs.labels[DiscKind::Disc].text.title = "x";
    EXPECT_EQ(readCoverSet(writeCoverSet(disc)).version, 1);
}

TEST(CoverSetDiscs, ADamagedDiscMemberRefusesTheFile) {
    const QJsonObject good = descriptionOf(writeCoverSet(discSet()));
    ASSERT_TRUE(good.contains("discs"));
    const auto damaged = [&](const std::function<void(QJsonObject&)>& change) {
        QJsonObject description = good;
        QJsonObject discs = description["discs"].toObject();
        change(discs);
        description["discs"] = discs;
        return readCoverSet(withDescription(description)).problem;
    };
    // The picture entry is left out of these archives, so a named picture is a damage of its own.
    EXPECT_EQ(damaged([](QJsonObject&) {}), CoverSetProblem::Damaged);
    const auto withoutPictures = [](QJsonObject& d) {
        QJsonArray labels = d["labels"].toArray();
        for (qsizetype i = 0; i < labels.size(); ++i) {
            QJsonObject l = labels[i].toObject();
            l.remove("picture");
            labels[i] = l;
        }
        d["labels"] = labels;
    };
    EXPECT_EQ(damaged(withoutPictures), CoverSetProblem::None);
    const std::vector<std::function<void(QJsonObject&)>> changes = {
        [](QJsonObject& d) { d["ticked"] = "front"; },
        [](QJsonObject& d) { d["startLabel"] = 3; },
        [](QJsonObject& d) { d["copies"] = 0; },
        [](QJsonObject& d) {
            d["stock"] = QJsonObject{{"brand", "X"}};
        },
        [](QJsonObject& d) {
            QJsonObject stock = d["stock"].toObject();
            stock["centres"] = QJsonArray{QJsonArray{1}};
            d["stock"] = stock;
        },
        [](QJsonObject& d) {
            QJsonArray labels = d["labels"].toArray();
            QJsonObject l = labels[1].toObject();
            l["hole"] = 90;
            labels[1] = l;
            d["labels"] = labels;
        },
    };
    for (std::size_t i = 0; i < changes.size(); ++i)
        EXPECT_EQ(damaged([&](QJsonObject& d) {
                      withoutPictures(d);
                      changes[i](d);
                  }),
                  CoverSetProblem::Damaged)
            << "change " << i;
}

} // namespace
