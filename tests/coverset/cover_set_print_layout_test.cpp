// SPDX-License-Identifier: GPL-3.0-or-later
// The print layout in a cover set: it comes back as saved, a set without it has none (and opens as
// before), it needs no newer version, and a value this reader does not know makes the set damaged.
#include "coverset/cover_set_file.h"
#include "formats/zip/stored_zip.h"

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
