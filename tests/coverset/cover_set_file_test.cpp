// SPDX-License-Identifier: GPL-3.0-or-later
// Cover-set files: all ten covers come back pixel for pixel with their fit modes, texts and ticks,
// and every empty, cut-off, damaged, foreign or newer file is refused without a cover set.
#include "coverset/cover_set_file.h"
#include "formats/zip/stored_zip.h"
#include "tests/support/picture_files.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace kavi;
using kavi::testing::samePixels;

namespace {

// A picture with a different colour in every pixel, different for every kind.
QImage pictureFor(int kind) {
    QImage image(17 + kind, 9 + 2 * kind, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 11 + kind, y * 7, (x * y + kind * 13) & 0xFF));
    return image;
}

CoverSet fullSet() {
    CoverSet set = CoverSet::empty();
    for (int kind = 1; kind <= kCoverKindCount; ++kind) {
        CoverSetCover& cover = set.cover(kind);
        cover.picture = pictureFor(kind);
        cover.fit = FitMode(kind % 3);
        cover.text.title.text = "Title " + std::to_string(kind) + " \xC3\xA9t\xC3\xA9"; // UTF-8
        cover.text.title.style.colour = 0x123456u * std::uint32_t(kind) & 0xFFFFFF;
        cover.text.title.anchor.y = Length::fromTwips(100 + kind);
        cover.text.subtitle.text = "Sub";
        cover.text.subtitle.style = {"DejaVu Serif",     11.5,    0xFF0000, false, true, TextAlign::Right,
                                     TextEffect::Shadow, 0x00FF00};
        cover.text.spine.text = "Spine";
        cover.text.boxes.push_back({"two\nlines", {}, {Length::fromTwips(720), Length::fromTwips(1440)}});
        cover.text.boxes.back().style.effect = TextEffect::Outline;
    }
    set.ticked[0] = set.ticked[2] = true;
    return set;
}

// The archive with its description replaced.
QByteArray withDescription(const QJsonObject& description, const QByteArray& png = {}) {
    const QByteArray json = QJsonDocument(description).toJson();
    std::vector<zip::Entry> entries{{"cover-set.json", std::string_view(json.constData(), std::size_t(json.size()))}};
    if (!png.isEmpty()) entries.push_back({"front.png", std::string_view(png.constData(), std::size_t(png.size()))});
    const std::string bytes = zip::writeStored(entries);
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

QJsonObject descriptionOf(const QByteArray& file) {
    const zip::Archive archive = zip::readArchive(std::string_view(file.constData(), std::size_t(file.size())), {});
    const auto& data = archive.entries.at(0).data;
    return QJsonDocument::fromJson(QByteArray(data.data(), qsizetype(data.size()))).object();
}

} // namespace

TEST(CoverSetFile, AllTenCoversComeBackPixelForPixelWithFitModesTextsAndTicks) {
    const CoverSet set = fullSet();
    const QByteArray bytes = writeCoverSet(set);
    ASSERT_FALSE(bytes.isEmpty());
    const CoverSetReading reading = readCoverSet(bytes);
    ASSERT_EQ(reading.problem, CoverSetProblem::None);
    ASSERT_TRUE(reading.set);
    EXPECT_EQ(reading.version, 1) << "opaque pictures of pixels need no newer reader";
    EXPECT_EQ(reading.set->ticked, set.ticked);
    for (int kind = 1; kind <= kCoverKindCount; ++kind) {
        const CoverSetCover& back = reading.set->cover(kind);
        EXPECT_TRUE(samePixels(back.picture.image(), set.cover(kind).picture.image())) << "kind " << kind;
        EXPECT_EQ(back.picture.image().format(), QImage::Format_RGB32);
        EXPECT_EQ(back.fit, set.cover(kind).fit) << "kind " << kind;
        EXPECT_TRUE(back.text == set.cover(kind).text) << "kind " << kind;
    }
}

TEST(CoverSetFile, CoversWithoutPictureAndUnknownFieldsReadAsExpected) {
    CoverSet set = CoverSet::empty();
    set.cover(4).picture = pictureFor(4);
    QJsonObject description = descriptionOf(writeCoverSet(CoverSet::empty()));
    description.insert("comment", "a field a later version of version 1 adds"); // ignored
    const CoverSetReading reading = readCoverSet(writeCoverSet(set));
    ASSERT_TRUE(reading.set);
    EXPECT_TRUE(reading.set->cover(1).picture.isNull());
    EXPECT_FALSE(reading.set->cover(4).picture.isNull());
    EXPECT_EQ(reading.set->cover(1).fit, FitMode::Stretch);
    EXPECT_TRUE(readCoverSet(withDescription(description)).set) << "unknown fields are no damage";
}

TEST(CoverSetFile, EmptyTruncatedAndForeignFilesAreRefused) {
    const QByteArray good = writeCoverSet(fullSet());
    EXPECT_EQ(readCoverSet(QByteArray()).problem, CoverSetProblem::Empty);
    EXPECT_FALSE(readCoverSet(QByteArray()).set);
    for (qsizetype length : {qsizetype(1), qsizetype(30), good.size() / 3, good.size() / 2, good.size() - 1}) {
        const CoverSetReading r = readCoverSet(good.left(length));
        EXPECT_EQ(r.problem, CoverSetProblem::Truncated) << "cut to " << length;
        EXPECT_FALSE(r.set);
    }
    EXPECT_EQ(readCoverSet("GIF89a not a cover set").problem, CoverSetProblem::NotACoverSet);
    const std::string otherZip = zip::writeStored({{"readme.txt", "hello"}});
    EXPECT_EQ(readCoverSet(QByteArray(otherZip.data(), qsizetype(otherZip.size()))).problem,
              CoverSetProblem::NotACoverSet);
    EXPECT_FALSE(coverSetProblemText(readCoverSet(good.left(40)), "x.kavi").isEmpty());
}

TEST(CoverSetFile, DamagedPicturesAndDescriptionsAreRefused) {
    QByteArray flipped = writeCoverSet(fullSet());
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x40); // inside a picture
    EXPECT_EQ(readCoverSet(flipped).problem, CoverSetProblem::Damaged);

    const QJsonObject good = descriptionOf(writeCoverSet(CoverSet::empty()));
    const auto damaged = [&good](const char* what, auto change) {
        QJsonObject d = good;
        change(d);
        const CoverSetReading r = readCoverSet(withDescription(d));
        EXPECT_EQ(r.problem, CoverSetProblem::Damaged) << what;
        EXPECT_FALSE(r.set) << what;
    };
    damaged("version not a number", [](QJsonObject& d) { d["version"] = "1"; });
    damaged("unknown ticked kind", [](QJsonObject& d) { d["ticked"] = QJsonArray{"poster"}; });
    damaged("missing picture entry", [](QJsonObject& d) {
        QJsonArray covers = d["covers"].toArray();
        QJsonObject front = covers[0].toObject();
        front["picture"] = "front.png";
        covers[0] = front;
        d["covers"] = covers;
    });
    damaged("a kind twice", [](QJsonObject& d) {
        QJsonArray covers = d["covers"].toArray();
        covers[1] = covers[0];
        d["covers"] = covers;
    });
    damaged("unknown fit", [](QJsonObject& d) {
        QJsonArray covers = d["covers"].toArray();
        QJsonObject front = covers[0].toObject();
        front["fit"] = "squash";
        covers[0] = front;
        d["covers"] = covers;
    });
    damaged("text size of the wrong type", [](QJsonObject& d) {
        QJsonArray covers = d["covers"].toArray();
        QJsonObject front = covers[0].toObject(), text = front["text"].toObject(), title = text["title"].toObject();
        title["size"] = "huge";
        text["title"] = title;
        front["text"] = text;
        covers[0] = front;
        d["covers"] = covers;
    });
    // Out-of-range values that are still numbers are brought inside, not refused.
    QJsonObject d = good;
    QJsonArray covers = d["covers"].toArray();
    QJsonObject front = covers[0].toObject(), text = front["text"].toObject(), title = text["title"].toObject();
    title["size"] = 100000;
    title["x"] = -5e9;
    text["title"] = title;
    front["text"] = text;
    covers[0] = front;
    d["covers"] = covers;
    const CoverSetReading clamped = readCoverSet(withDescription(d));
    ASSERT_TRUE(clamped.set);
    EXPECT_EQ(clamped.set->cover(1).text.title.style.sizePoints, kLargestTextPoints);
    EXPECT_EQ(clamped.set->cover(1).text.title.anchor.x, Length());
}

TEST(CoverSetFile, ADescriptionWithoutTheFormatNameIsNoCoverSet) {
    const QJsonObject good = descriptionOf(writeCoverSet(CoverSet::empty()));
    ASSERT_TRUE(readCoverSet(withDescription(good)).set);
    for (const QJsonValue& name : {QJsonValue("kavi cover sets"), QJsonValue("KAVI COVER SET"), QJsonValue(1),
                                   QJsonValue(QJsonValue::Undefined)}) {
        QJsonObject d = good;
        if (name.isUndefined()) d.remove("format");
        else d["format"] = name;
        const CoverSetReading r = readCoverSet(withDescription(d));
        EXPECT_EQ(r.problem, CoverSetProblem::NotACoverSet) << name.toVariant().toString().toStdString();
        EXPECT_FALSE(r.set);
    }
}

TEST(CoverSetFile, ASetRepackedByOtherZipToolsOpensTheSame) {
    // Python's zipfile and Info-ZIP's zip, at their strongest, deflate every entry.
    const CoverSet set = fullSet();
    const QString folder = QString::fromStdString(::testing::TempDir()) + "/repacked";
    QDir(folder).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(folder + "/entries"));
    const QString original = folder + "/original.kavi";
    ASSERT_EQ(saveCoverSetFile(original, set), 0);
    const QByteArray commands =
        ("cd '" + folder +
         "' && python3 -c \"import zipfile as z; a=z.ZipFile('original.kavi'); "
         "b=z.ZipFile('python.kavi','w',z.ZIP_DEFLATED); "
         "[b.writestr(i.filename,a.read(i)) for i in a.infolist()]; b.close(); a.extractall('entries')\""
         " && cd entries && zip -9 -q ../zip9.kavi *")
            .toUtf8();
    ASSERT_EQ(std::system(commands.constData()), 0);
    for (const char* name : {"python.kavi", "zip9.kavi"}) {
        QFile file(folder + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const QByteArray bytes = file.readAll();
        ASSERT_EQ(bytes.at(8), 8) << name << ": the first entry is deflated";
        const CoverSetReading reading = readCoverSet(bytes);
        ASSERT_EQ(reading.problem, CoverSetProblem::None) << name;
        EXPECT_EQ(reading.set->ticked, set.ticked) << name;
        for (int kind = 1; kind <= kCoverKindCount; ++kind) {
            EXPECT_TRUE(samePixels(reading.set->cover(kind).picture.image(), set.cover(kind).picture.image()))
                << name << kind;
            EXPECT_TRUE(reading.set->cover(kind).text == set.cover(kind).text) << name << kind;
        }
        // A bit flipped in the deflated description is noticed, whether inflating or the CRC-32 finds it.
        QByteArray flipped = bytes;
        const int data = 30 + uchar(bytes[26]) + (uchar(bytes[27]) << 8) + uchar(bytes[28]) + (uchar(bytes[29]) << 8);
        flipped[data + 16] = char(flipped[data + 16] ^ 0x04);
        EXPECT_EQ(readCoverSet(flipped).problem, CoverSetProblem::Damaged) << name;
    }
}

TEST(CoverSetFile, ANewerVersionIsRefusedAndNamed) {
    QJsonObject d = descriptionOf(writeCoverSet(CoverSet::empty()));
    d["version"] = kCoverSetVersion + 1;
    const CoverSetReading r = readCoverSet(withDescription(d));
    EXPECT_EQ(r.problem, CoverSetProblem::NewerVersion);
    EXPECT_FALSE(r.set);
    EXPECT_EQ(r.version, kCoverSetVersion + 1);
    EXPECT_TRUE(coverSetProblemText(r, "x.kavi").contains(QString::number(kCoverSetVersion + 1)));
}

TEST(CoverSetFile, PicturesLargerThanTheLimitsAreRefusedBeforeDecoding) {
    CoverSet set = CoverSet::empty();
    QImage blue(400, 300, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    set.cover(1).picture = blue;
    set.cover(2).picture = blue;
    const QByteArray bytes = writeCoverSet(set);
    CoverSetLimits limits;
    limits.mostPictureBytes = 400 * 300 * 4 - 1;
    EXPECT_EQ(readCoverSet(bytes, limits).problem, CoverSetProblem::TooLarge);
    limits = {};
    limits.mostPicturesBytes = 400 * 300 * 4 * 2 - 1; // each fits, both together do not
    EXPECT_EQ(readCoverSet(bytes, limits).problem, CoverSetProblem::TooLarge);
    limits = {};
    limits.mostFileBytes = bytes.size() - 1;
    EXPECT_EQ(readCoverSet(bytes, limits).problem, CoverSetProblem::TooLarge);
    // A PNG header that claims a picture of 60000 x 60000 pixels is refused without decoding it.
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "png").write(QImage(1, 1, QImage::Format_RGB32));
    }
    png.replace(16, 8, QByteArray::fromHex("0000ea600000ea60"));
    const std::uint32_t crc = zip::crc32(std::string_view(png.constData() + 12, 17)); // the header's own checksum
    for (int i = 0; i < 4; ++i) png[29 + i] = char(crc >> (24 - 8 * i) & 0xFF);
    QJsonObject d = descriptionOf(writeCoverSet(CoverSet::empty()));
    QJsonArray covers = d["covers"].toArray();
    QJsonObject front = covers[0].toObject();
    front["picture"] = "front.png";
    covers[0] = front;
    d["covers"] = covers;
    EXPECT_EQ(readCoverSet(withDescription(d, png)).problem, CoverSetProblem::TooLarge);
}
