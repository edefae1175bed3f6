// SPDX-License-Identifier: GPL-3.0-or-later
// Cover designs in cover-set files: a design with a logo that has transparency, a JPEG photo, a
// track list and end strips comes back whole in a version-3 file whose picture entries cannot
// clash; plain designs keep the version and bytes older Kavis read; earlier files open plain; and
// every damaged design value refuses the set, naming the cover and what is wrong.
#include "coverset/cover_set_file.h"
#include "formats/zip/stored_zip.h"
#include "tests/support/picture_files.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <functional>

using namespace kavi;

namespace {

const int kBack = 3, kDvd = 4;

// A logo: opaque in the middle, clear around it with colour under the clear pixels, half clear
// in between.
QImage logo() {
    QImage image(12, 8, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = (x > 3 && x < 8) ? 255 : (x == 3 || x == 8) ? 128 : 0;
            image.setPixel(x, y, qRgba(x * 20, y * 30, 90, alpha));
        }
    return image;
}

QByteArray jpegBytes() {
    QImage photo(16, 10, QImage::Format_RGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 16; ++x) photo.setPixel(x, y, qRgb(x * 15, y * 25, 128));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    photo.save(&buffer, "JPG", 85);
    return bytes;
}

CoverLayer textsLayer() {
    CoverLayer layer;
    layer.type = LayerType::Texts;
    return layer;
}

CoverLayer pictureLayer(std::size_t picture, double leftMm, int turns, double opacity) {
    CoverLayer layer;
    layer.type = LayerType::Picture;
    layer.box = {Length::fromMillimetres(leftMm), Length::fromMillimetres(-2), Length::fromMillimetres(40.5),
                 Length::fromMillimetres(20)};
    layer.picture = picture;
    layer.quarterTurns = turns;
    layer.opacity = opacity;
    return layer;
}

// A DVD with a gradient, a logo used twice, a JPEG photo, a track list and the texts between; a
// CD Back with end strips.
CoverSet designedSet(const QByteArray& jpeg) {
    CoverSet set = CoverSet::empty();
    CoverSetCover& dvd = set.cover(kDvd);
    dvd.picture = CoverSetPicture::ofJpegFile(jpeg); // the cover's own picture, named "dvd.jpg"
    dvd.design.background = {BackgroundFill::Gradient, 0x102030, 0xA0B0C0, 135};
    dvd.designPictures = {CoverSetPicture::ofJpegFile(jpeg), logo()};
    dvd.design.layers.push_back(pictureLayer(0, 10, 0, 1));
    dvd.design.layers.push_back(pictureLayer(1, 200, 3, 0.25));
    CoverLayer tracks;
    tracks.type = LayerType::TrackList;
    tracks.box = {Length::fromTwips(300), Length::fromTwips(400), Length::fromTwips(5000), Length::fromTwips(6000)};
    tracks.tracks = {{1, "Ouverture \xC3\xA9t\xC3\xA9", "Anna", 245.5}, {2, "Second", "", std::nullopt}};
    tracks.style.sizePoints = 9;
    tracks.style.align = TextAlign::Left;
    tracks.style.colour = 0x334455;
    dvd.design.layers.push_back(tracks);
    dvd.design.layers.push_back(textsLayer());
    dvd.design.layers.push_back(pictureLayer(1, -5, 1, 0.5)); // over the texts
    CoverSetCover& back = set.cover(kBack);
    back.design.endStrips.text = "Night Train \xE2\x80\x94 Live";
    back.design.endStrips.style.sizePoints = 8;
    return set;
}

std::string_view viewOf(const QByteArray& bytes) { return {bytes.constData(), std::size_t(bytes.size())}; }

QByteArray entryOf(const QByteArray& file, const std::string& name) {
    const zip::Archive archive = zip::readArchive(viewOf(file), {});
    for (const zip::Entry& e : archive.entries)
        if (e.name == name) return QByteArray(e.data.data(), qsizetype(e.data.size()));
    return {};
}

QJsonObject descriptionOf(const QByteArray& file) {
    return QJsonDocument::fromJson(entryOf(file, "cover-set.json")).object();
}

// The file with its description replaced, the other entries kept.
QByteArray withDescription(const QByteArray& file, const QJsonObject& description) {
    const QByteArray json = QJsonDocument(description).toJson();
    const zip::Archive archive = zip::readArchive(viewOf(file), {});
    std::vector<zip::Entry> entries{{"cover-set.json", viewOf(json)}};
    for (const zip::Entry& e : archive.entries)
        if (e.name != "cover-set.json") entries.push_back(e);
    const std::string bytes = zip::writeStored(entries);
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

QJsonObject dvdDesign(const QJsonObject& description) {
    for (const QJsonValue& cover : description["covers"].toArray())
        if (cover["kind"] == QStringLiteral("dvd")) return cover["design"].toObject();
    return {};
}

QJsonObject withDvdDesign(QJsonObject description, const QJsonValue& design) {
    QJsonArray covers = description["covers"].toArray();
    for (qsizetype i = 0; i < covers.size(); ++i)
        if (covers[i].toObject()["kind"] == QStringLiteral("dvd")) {
            QJsonObject cover = covers[i].toObject();
            cover["design"] = design;
            covers[i] = cover;
        }
    description["covers"] = covers;
    return description;
}

bool sameArgb(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) return false;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col)
            if (x.pixel(col, row) != y.pixel(col, row)) return false;
    return true;
}

QByteArray storedFile(const char* path) {
    QFile file(QString::fromLocal8Bit(qgetenv("KAVI_SOURCE_DIR")) + "/" + path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(CoverSetDesign, ADesignComesBackWholeWithItsPicturesAlphaAndJpegBytesInAVersionThreeFile) {
    const QByteArray jpeg = jpegBytes();
    const CoverSet set = designedSet(jpeg);
    const QByteArray file = writeCoverSet(set);
    const CoverSetReading reading = readCoverSet(file);
    ASSERT_EQ(reading.problem, CoverSetProblem::None) << reading.reason;
    EXPECT_EQ(reading.version, 3);
    EXPECT_EQ(descriptionOf(file)["version"].toInt(), 3);

    // The further pictures have entries of their own beside the cover's own "dvd.jpg".
    EXPECT_EQ(entryOf(file, "dvd.jpg"), jpeg);
    EXPECT_EQ(entryOf(file, "dvd-1.jpg"), jpeg) << "a JPEG further picture is stored as the file's bytes";
    EXPECT_FALSE(entryOf(file, "dvd-2.png").isEmpty()) << "the logo, a PNG";

    const CoverSetCover& dvd = reading.set->cover(kDvd);
    EXPECT_TRUE(dvd.design == set.cover(kDvd).design);
    ASSERT_EQ(dvd.designPictures.size(), 2u);
    EXPECT_EQ(dvd.designPictures[0].encoding(), CoverSetPicture::Encoding::Jpeg);
    EXPECT_EQ(dvd.designPictures[0].encoded(), jpeg);
    EXPECT_TRUE(dvd.designPictures[1].hasAlpha());
    EXPECT_TRUE(sameArgb(dvd.designPictures[1].image(), logo())) << "transparency and the colour under it kept";
    EXPECT_TRUE(reading.set->cover(kBack).design == set.cover(kBack).design);
    EXPECT_TRUE(reading.set->cover(1).design.isPlain());

    // A set made by another zip writer, with a picture layer that names its picture before the
    // other: read as the format says.
    const CoverSetReading other = readCoverSet(storedFile("tests/fuzz/corpus/cover_set/version3-design.kavi"));
    ASSERT_TRUE(other.set) << other.reason;
    const CoverDesign& seed = other.set->cover(kDvd).design;
    ASSERT_EQ(seed.layers.size(), 4u);
    EXPECT_EQ(seed.layers[0].quarterTurns, 1);
    EXPECT_EQ(seed.layers[1].tracks.size(), 2u);
    EXPECT_EQ(seed.layers[3].picture, 1u);
    EXPECT_EQ(other.set->cover(kDvd).designPictures.at(1).encoding(), CoverSetPicture::Encoding::Jpeg);
    EXPECT_EQ(other.set->cover(kBack).design.endStrips.text, "Side");

    // Written again from what was read: the same entries, byte for byte.
    const QByteArray again = writeCoverSet(*reading.set);
    for (const char* name : {"dvd.jpg", "dvd-1.jpg", "dvd-2.png"})
        EXPECT_EQ(entryOf(again, name), entryOf(file, name)) << name;
}

TEST(CoverSetDesign, PlainDesignsKeepTheOlderVersionAndEarlierFilesOpenPlain) {
    // A design of only the texts layer prints as none: the file stays readable by older Kavis.
    CoverSet set = CoverSet::empty();
    set.cover(kDvd).picture = logo();
    set.cover(kDvd).design.layers.push_back(textsLayer());
    const QByteArray file = writeCoverSet(set);
    EXPECT_EQ(readCoverSet(file).version, 2) << "the logo's alpha needs version 2, the plain design nothing";
    EXPECT_FALSE(descriptionOf(file)["covers"].toArray()[kDvd - 1].toObject().contains("design"));

    for (const char* path : {"tests/data/cover-set-version1.kavi", "tests/fuzz/corpus/cover_set/version2-jpeg.kavi"}) {
        const QByteArray stored = storedFile(path);
        ASSERT_FALSE(stored.isEmpty()) << path;
        const CoverSetReading reading = readCoverSet(stored);
        ASSERT_EQ(reading.problem, CoverSetProblem::None) << path;
        for (int kind = 1; kind <= kCoverKindCount; ++kind) {
            EXPECT_TRUE(reading.set->cover(kind).design == CoverDesign()) << path << " " << kind;
            EXPECT_TRUE(reading.set->cover(kind).designPictures.empty()) << path << " " << kind;
        }
        EXPECT_EQ(readCoverSet(writeCoverSet(*reading.set)).version, reading.version)
            << path << " is written again in its own version";
    }
}

TEST(CoverSetDesign, EachDamagedDesignValueRefusesTheSetAndNamesTheCoverAndWhatIsWrong) {
    const QByteArray file = writeCoverSet(designedSet(jpegBytes()));
    const QJsonObject description = descriptionOf(file);
    const QJsonObject design = dvdDesign(description);
    ASSERT_FALSE(design.isEmpty());
    const auto layer = [&design](int i) { return design["layers"].toArray()[i].toObject(); };
    const auto withLayer = [&design](int i, const QJsonObject& changed) {
        QJsonObject d = design;
        QJsonArray layers = d["layers"].toArray();
        layers[i] = changed;
        d["layers"] = layers;
        return d;
    };
    const auto set = [](QJsonObject o, const char* key, const QJsonValue& value) {
        o[QLatin1String(key)] = value;
        return o;
    };
    QJsonArray tooMany;
    for (int i = 0; i < 65; ++i) tooMany.append(layer(2));
    QJsonArray twoTexts = design["layers"].toArray();
    twoTexts.append(layer(3));
    struct Case {
        const char* what;
        QJsonValue design;
        const char* said; // a part of the reason the message gives
    };
    const std::vector<Case> cases{
        {"an opacity past 1", withLayer(1, set(layer(1), "opacity", 1.5)), "layer 2's opacity"},
        {"five quarter turns", withLayer(1, set(layer(1), "turns", 5)), "layer 2's turns"},
        {"half a quarter turn", withLayer(1, set(layer(1), "turns", 1.5)), "layer 2's turns"},
        {"an angle not of 45", set(design, "background", set(design["background"].toObject(), "angle", 50)),
         "angle 50"},
        {"an unknown fill", set(design, "background", set(design["background"].toObject(), "fill", "plaid")), "fill"},
        {"a colour that is no colour", set(design, "background", set(design["background"].toObject(), "colour", 7)),
         "colour"},
        {"an unknown layer", withLayer(0, set(layer(0), "type", "video")), "layer 1"},
        {"a missing picture entry", withLayer(0, set(layer(0), "picture", "dvd-9.png")), "dvd-9.png"},
        {"a picture named by no text", withLayer(0, set(layer(0), "picture", 3)), "layer 1's picture"},
        {"a box of no width", withLayer(0, set(layer(0), "width", 0)), "layer 1 has a box"},
        {"a box far off the cover", withLayer(0, set(layer(0), "x", 1e9)), "layer 1's x"},
        {"a box of no number", withLayer(0, set(layer(0), "height", "tall")), "layer 1's height"},
        {"a track without its title's type",
         withLayer(2, set(layer(2), "tracks", QJsonArray{QJsonObject{{"title", 5}}})), "layer 3's tracks"},
        {"a track of negative length",
         withLayer(2, set(layer(2), "tracks", QJsonArray{QJsonObject{{"title", "a"}, {"seconds", -1}}})),
         "layer 3's tracks"},
        {"a style that is no style", withLayer(2, set(layer(2), "style", "bold")), "layer 3's style"},
        {"65 layers", set(design, "layers", tooMany), "at most 64"},
        {"two texts layers", set(design, "layers", twoTexts), "second layer of the cover's texts"},
        {"end strips on the DVD", set(design, "endStrips", QJsonObject{{"text", "strip"}}), "only the CD Back"},
        {"a design that is a number", QJsonValue(4), "not a design"},
    };
    for (const Case& c : cases) {
        const CoverSetReading damaged = readCoverSet(withDescription(file, withDvdDesign(description, c.design)));
        EXPECT_EQ(damaged.problem, CoverSetProblem::Damaged) << c.what;
        EXPECT_FALSE(damaged.set) << c.what;
        const QString text = coverSetProblemText(damaged, QStringLiteral("night.kavi"));
        EXPECT_TRUE(text.contains(QStringLiteral("the DVD cover's design"))) << c.what << ": " << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.said))) << c.what << ": " << text.toStdString();
    }
    // The file as written is fine: each case above broke one value only.
    EXPECT_EQ(readCoverSet(withDescription(file, description)).problem, CoverSetProblem::None);
    // Damage that is not in a design keeps its message as it was.
    const CoverSetReading other = readCoverSet(withDescription(file, set(description, "ticked", 3)));
    EXPECT_EQ(coverSetProblemText(other, "x.kavi"), QStringLiteral("\"x.kavi\" is damaged and cannot be opened."));
}
