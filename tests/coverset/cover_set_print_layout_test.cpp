// SPDX-License-Identifier: GPL-3.0-or-later
// The print layout in a cover set: it comes back as saved, a set without it has none (and opens as
// before), it needs no newer version, and a value this reader does not know makes the set damaged.
#include "coverset/cover_set_file.h"
#include "formats/zip/stored_zip.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kavi;

namespace {

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

CoverSet setWithPicture() {
    CoverSet set = CoverSet::empty();
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    set.cover(5).picture = picture;
    set.ticked[4] = true;
    return set;
}

} // namespace

TEST(CoverSetPrintLayout, ComesBackAsSavedInAVersionOneFileAndASetWithoutItHasNone) {
    CoverSet set = setWithPicture();
    const QByteArray plain = writeCoverSet(set);
    EXPECT_FALSE(descriptionOf(plain).contains("print"));
    const CoverSetReading withoutLayout = readCoverSet(plain);
    ASSERT_TRUE(withoutLayout.set);
    EXPECT_FALSE(withoutLayout.set->printLayout);

    CoverSetPrintLayout layout{PaperChoice::A4, true, {}};
    layout.choices.placement = Placement::MovedInForMarks;
    layout.choices.sheets = {LongCaseSheet::Legal, DsSheetOnA4::Legal};
    layout.choices.together = true;
    for (const CoverSetPrintLayout& saved : {layout, CoverSetPrintLayout{}}) {
        set.printLayout = saved;
        const QByteArray bytes = writeCoverSet(set);
        const CoverSetReading reading = readCoverSet(bytes);
        ASSERT_EQ(reading.problem, CoverSetProblem::None);
        EXPECT_EQ(reading.version, 1) << "a reader of version 1 ignores the layout and misreads nothing";
        ASSERT_TRUE(reading.set->printLayout);
        EXPECT_EQ(*reading.set->printLayout, saved);
    }
    EXPECT_EQ(descriptionOf(writeCoverSet(set)).value("print").toObject().value("place").toString(), "corner");
}

TEST(CoverSetPrintLayout, UnknownValuesAreDamageAndUnknownFieldsAreIgnored) {
    CoverSet set = setWithPicture();
    set.cover(5).picture = {};
    set.printLayout = CoverSetPrintLayout{};
    const QJsonObject description = descriptionOf(writeCoverSet(set));
    const auto withPrint = [&](const QJsonValue& print) {
        QJsonObject d = description;
        d["print"] = print;
        return readCoverSet(withDescription(d));
    };
    for (const QJsonValue& bad :
         {QJsonValue(QJsonObject{{"place", "middle"}}), QJsonValue(QJsonObject{{"paper", 9}}),
          QJsonValue(QJsonObject{{"marks", "yes"}}), QJsonValue(QJsonObject{{"hdSheet", "a3"}}),
          QJsonValue(QJsonObject{{"dsSheet", "letter"}}), QJsonValue(QJsonObject{{"together", 1}}), QJsonValue("us")}) {
        const CoverSetReading reading = withPrint(bad);
        EXPECT_EQ(reading.problem, CoverSetProblem::Damaged) << QJsonDocument(QJsonObject{{"p", bad}}).toJson().data();
        EXPECT_FALSE(reading.set);
    }
    const CoverSetReading later = withPrint(QJsonObject{{"bleed", 3}, {"place", "centre"}});
    ASSERT_TRUE(later.set);
    ASSERT_TRUE(later.set->printLayout);
    EXPECT_EQ(later.set->printLayout->choices.placement, Placement::CentredOnSheet);
    EXPECT_EQ(later.set->printLayout->paper, PaperChoice::LetterAndLegal) << "missing fields keep their usual values";
}

TEST(CoverSetPrintLayout, TheBleedAndTheSafeMarginComeBackAndAnOldSetOrABadValueIsAsTheFormatSays) {
    CoverSet set = setWithPicture();
    CoverSetPrintLayout layout{PaperChoice::A4, true, {}};
    layout.choices.together = true;
    set.printLayout = layout;
    // Without bleed and margin the description is written as before: no "bleed", no "design".
    const QJsonObject plain = descriptionOf(writeCoverSet(set));
    EXPECT_FALSE(plain.value("print").toObject().contains("bleed"));
    EXPECT_FALSE(plain.contains("design"));
    const CoverSetReading old = readCoverSet(writeCoverSet(set));
    ASSERT_TRUE(old.set);
    EXPECT_EQ(old.set->printLayout->choices.bleed, Bleed::Off);
    EXPECT_FALSE(old.set->safeMargin);
    for (Bleed bleed : {Bleed::TwoMillimetres, Bleed::ThreeMillimetres}) {
        set.printLayout->choices.bleed = bleed;
        set.safeMargin = Length::fromMillimetres(bleed == Bleed::TwoMillimetres ? 4.5 : 3);
        const QByteArray bytes = writeCoverSet(set);
        const QJsonObject description = descriptionOf(bytes);
        EXPECT_EQ(description.value("print").toObject().value("bleed").toDouble(), bleedMillimetres(bleed));
        const CoverSetReading reading = readCoverSet(bytes);
        ASSERT_EQ(reading.problem, CoverSetProblem::None);
        EXPECT_EQ(reading.version, 1) << "neither needs a newer reader";
        EXPECT_EQ(*reading.set->printLayout, *set.printLayout) << "the other choices kept beside the bleed";
        ASSERT_TRUE(reading.set->safeMargin);
        EXPECT_NEAR(reading.set->safeMargin->millimetres(), set.safeMargin->millimetres(), 1e-9);
    }
    EXPECT_EQ(descriptionOf(writeCoverSet(set)).value("design").toObject().value("safeMargin").toDouble(), 3.0)
        << "3 mm is written as 3";

    // A bleed or a margin this reader does not know is damage, as any other print value is.
    set.cover(5).picture = {};
    const QJsonObject description = descriptionOf(writeCoverSet(set));
    const auto with = [&](const char* field, const QJsonValue& value) {
        QJsonObject d = description;
        d[field] = value;
        return readCoverSet(withDescription(d));
    };
    for (const QJsonValue& bad : {QJsonValue(5), QJsonValue(2.5), QJsonValue(-3), QJsonValue("3"), QJsonValue(true)})
        EXPECT_EQ(with("print", QJsonObject{{"bleed", bad}}).problem, CoverSetProblem::Damaged);
    for (const QJsonValue& bad : {QJsonValue(21), QJsonValue(-0.5), QJsonValue("3"), QJsonValue(QJsonArray{3})})
        EXPECT_EQ(with("design", QJsonObject{{"safeMargin", bad}}).problem, CoverSetProblem::Damaged);
    EXPECT_EQ(with("design", QJsonObject{{"safeMargin", 2.5}}).problem, CoverSetProblem::None)
        << "a margin may be any length from 0 to 20 mm";
    EXPECT_EQ(with("design", QJsonValue(3)).problem, CoverSetProblem::Damaged);
    const CoverSetReading zero = with("print", QJsonObject{{"bleed", 0.0}, {"place", "marks"}});
    ASSERT_TRUE(zero.set);
    EXPECT_EQ(zero.set->printLayout->choices.bleed, Bleed::Off);
    EXPECT_EQ(zero.set->printLayout->choices.placement, Placement::MovedInForMarks);
    const CoverSetReading noMargin = with("design", QJsonObject{});
    ASSERT_TRUE(noMargin.set);
    EXPECT_FALSE(noMargin.set->safeMargin) << "a design without a margin takes the settings' margin";
}
