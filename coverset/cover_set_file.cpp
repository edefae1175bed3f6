// SPDX-License-Identifier: GPL-3.0-or-later
#include "coverset/cover_set_file.h"

#include "coverset/cover_design_json.h"
#include "coverset/cover_design_rules.h"
#include "coverset/cover_set_discs_json.h"
#include "coverset/cover_text_json.h"
#include "coverset/png_encoder.h"
#include "coverset/print_layout_json.h"
#include "coverset/safe_margin_json.h"
#include "formats/raster/jpeg_frame.h"
#include "formats/zip/stored_zip.h"
#include "platform/files/atomic_file.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>

namespace kavi {

namespace {

constexpr const char* kDescriptionName = "cover-set.json";
constexpr const char* kFormatName = "kavi cover set";
// The description, ten covers' and two disc labels' pictures, and each cover's further pictures.
constexpr std::size_t kMostEntries = 1 + kCoverKindCount + kDiscKindCount + kCoverKindCount * kMostCoverLayers;

constexpr const char* kShortNames[kCoverKindCount] = {"front", "inside", "back", "dvd", "mini",
                                                      "psp",   "ds",     "slim", "hd",  "blu"};

// The version a set needs: 3 when a cover has a design that is not plain (a reader of version 2
// would drop it silently), else 2 when a reader of version 1 would misread a picture (a JPEG
// entry, or transparency it would drop), else 1, which every reader reads.
constexpr int kPlainVersion = 1;
constexpr int kPicturesVersion = 2;
constexpr int kDesignVersion = 3;

CoverSetReading problem(CoverSetProblem p, int version = 0) { return {p, std::nullopt, version, {}}; }

// Whether any pixel of a picture with an alpha channel is not fully opaque.
bool hasTransparency(const QImage& picture) {
    if (!picture.hasAlphaChannel()) return false;
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(line[x]) != 255) return true;
    }
    return false;
}

struct PictureEntry {
    std::string name;
    QByteArray bytes;
    bool needsNewReader = false; // a JPEG entry or a PNG with alpha
};

// The entry of a cover's picture: its encoded bytes as they are, or its pixels as a new PNG; none
// when the pixels could not be encoded.
std::optional<PictureEntry> pictureEntry(const std::string& shortName, const CoverSetPicture& picture) {
    if (picture.encoding() == CoverSetPicture::Encoding::Jpeg)
        return PictureEntry{shortName + ".jpg", picture.encoded(), true};
    if (picture.encoding() == CoverSetPicture::Encoding::Png)
        return PictureEntry{shortName + ".png", picture.encoded(), picture.hasAlpha()};
    QImage pixels = picture.image();
    const bool alpha = hasTransparency(pixels);
    const QImage::Format format = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (pixels.format() != format && pixels.format() != QImage::Format_ARGB32) pixels.convertTo(format);
    if (pixels.isNull()) return std::nullopt;
    const std::string png =
        encodePng({pixels.constBits(), pixels.width(), pixels.height(), std::ptrdiff_t(pixels.bytesPerLine()), alpha});
    if (png.empty()) return std::nullopt;
    return PictureEntry{shortName + ".png", QByteArray(png.data(), qsizetype(png.size())), alpha};
}

// A picture entry whose header was read and whose size fits the limits, kept as it is stored; its
// pixels are decoded when first needed.
// An entry's bytes. A stored entry shares the file's memory instead of copying it (a copy of every
// picture would cost as much as reading the file again): the array points into the file's block,
// which it keeps alive, and copies itself on any change like any shared array. Unlike other arrays,
// no zero byte follows its data; every user takes the size with the data. A deflated entry, which
// lives in the archive, is copied.
QByteArray bytesOf(const QByteArray& file, std::string_view data) {
    const char* start = file.constData();
    if (data.data() < start || data.data() + data.size() > start + file.size())
        return QByteArray(data.data(), qsizetype(data.size()));
    QByteArray part = file;
    QByteArray::DataPointer& pointer = part.data_ptr();
    if (!pointer.d_ptr()) return QByteArray(data.data(), qsizetype(data.size())); // raw data, owned elsewhere
    pointer.setBegin(pointer.data() + (data.data() - start));
    pointer.size = qsizetype(data.size());
    return part;
}

// Version 1 knew no transparency: its pictures read without it, as they always did.
std::optional<CoverSetPicture> storedPicture(const QByteArray& file, std::string_view data, int version,
                                             const CoverSetLimits& limits, qint64& budget, CoverSetProblem& why) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
    why = CoverSetProblem::Damaged;
    CoverSetPicture::Encoding encoding = CoverSetPicture::Encoding::None;
    QSize size;
    bool alpha = false;
    PngHeader png;
    if (readPngHeader(bytes, data.size(), png)) {
        encoding = CoverSetPicture::Encoding::Png;
        size = QSize(png.width, png.height);
        alpha = png.alpha && version > kPlainVersion;
    } else if (const std::optional<raster::JpegFrame> frame = raster::readJpegFrame(bytes, data.size())) {
        // Only the JPEGs whose bytes a picked file keeps are stored as they are.
        if (!raster::isPortableJpeg(*frame) || frame->width <= 0 || frame->height <= 0) return std::nullopt;
        encoding = CoverSetPicture::Encoding::Jpeg;
        const bool turned = frame->orientation >= 5; // a quarter turn upright
        size = turned ? QSize(frame->height, frame->width) : QSize(frame->width, frame->height);
    } else {
        return std::nullopt;
    }
    const qint64 pictureBytes = qint64(size.width()) * size.height() * 4;
    if (pictureBytes > limits.mostPictureBytes || pictureBytes > budget) {
        why = CoverSetProblem::TooLarge;
        return std::nullopt;
    }
    budget -= pictureBytes;
    return CoverSetPicture::ofEntry(bytesOf(file, data), encoding, size, alpha);
}

CoverSetProblem problemOfArchive(zip::ReadError error, const QByteArray& bytes) {
    switch (error) {
    case zip::ReadError::NotAnArchive:
        // A zip that begins like one but has lost its end was cut off.
        return QByteArray("PK\x03\x04").startsWith(bytes.left(4)) ? CoverSetProblem::Truncated
                                                                  : CoverSetProblem::NotACoverSet;
    case zip::ReadError::Truncated: return CoverSetProblem::Truncated;
    case zip::ReadError::TooLarge: return CoverSetProblem::TooLarge;
    case zip::ReadError::Unsupported: return CoverSetProblem::NotACoverSet;
    case zip::ReadError::Damaged:
    case zip::ReadError::None: break;
    }
    return CoverSetProblem::Damaged;
}

// The entries of the file: the description and each picture, stored in their holders; none when a
// picture could not be encoded.
struct SetEntries {
    QByteArray json;
    std::vector<PictureEntry> pictures;
    std::vector<zip::Entry> entries;
};

std::optional<SetEntries> entriesOf(const CoverSet& set) {
    SetEntries out;
    QJsonArray ticked, covers;
    for (int kind = 1; kind <= kCoverKindCount; ++kind)
        if (set.ticked[std::size_t(kind - 1)]) ticked.append(QLatin1String(coverKindShortName(kind)));
    int version = kPlainVersion;
    for (int kind = 1; kind <= kCoverKindCount; ++kind) {
        const CoverSetCover& cover = set.cover(kind);
        QJsonObject json{{QStringLiteral("kind"), QLatin1String(coverKindShortName(kind))},
                         {QStringLiteral("fit"), QLatin1String(fitModeName(cover.fit).data())},
                         {QStringLiteral("text"), coverTextToJson(cover.text)}};
        if (!cover.picture.isNull()) {
            std::optional<PictureEntry> entry = pictureEntry(coverKindShortName(kind), cover.picture);
            if (!entry) return std::nullopt;
            if (entry->needsNewReader) version = std::max(version, kPicturesVersion);
            json.insert(QStringLiteral("picture"), QString::fromStdString(entry->name));
            out.pictures.push_back(std::move(*entry));
        }
        // A plain design prints as none: such a cover is written as it always was.
        if (!cover.design.isPlain()) {
            // Further pictures as "dvd-1.png", "dvd-2.jpg", ...: no cover's or disc label's own name.
            // Numbered in the order the layers first name them, as a reader numbers them.
            CoverDesign design = cover.design;
            std::vector<QString> names;
            for (std::size_t old : keepUsedPictures(design, cover.designPictures.size())) {
                const std::string name = std::string(coverKindShortName(kind)) + "-" + std::to_string(names.size() + 1);
                std::optional<PictureEntry> entry = pictureEntry(name, cover.designPictures[old]);
                if (!entry) return std::nullopt;
                names.push_back(QString::fromStdString(entry->name));
                out.pictures.push_back(std::move(*entry));
            }
            json.insert(QStringLiteral("design"), coverDesignToJson(design, names));
            version = kDesignVersion;
        }
        covers.append(json);
    }
    // The disc labels' pictures follow the covers' under the disc kinds' names.
    std::array<QString, kDiscKindCount> discPictures;
    for (DiscKind kind : allDiscKinds()) {
        const CoverSetPicture& picture = set.discs.labels[kind].picture;
        if (picture.isNull()) continue;
        std::optional<PictureEntry> entry = pictureEntry(discKind(kind).commandName, picture);
        if (!entry) return std::nullopt;
        if (entry->needsNewReader) version = std::max(version, kPicturesVersion);
        discPictures[std::size_t(kind)] = QString::fromStdString(entry->name);
        out.pictures.push_back(std::move(*entry));
    }
    QJsonObject description{{QStringLiteral("format"), QLatin1String(kFormatName)},
                            {QStringLiteral("version"), version},
                            {QStringLiteral("ticked"), ticked},
                            {QStringLiteral("covers"), covers}};
    // A set whose disc labels are untouched is written as it always was.
    if (!set.discs.isUntouched()) description.insert(QStringLiteral("discs"), discsToJson(set.discs, discPictures));
    if (set.printLayout) description.insert(QStringLiteral("print"), printLayoutToJson(*set.printLayout));
    insertSafeMargin(description, set.safeMargin);
    out.json = QJsonDocument(description).toJson();
    out.entries.push_back({kDescriptionName, std::string_view(out.json.constData(), std::size_t(out.json.size()))});
    for (const PictureEntry& picture : out.pictures)
        out.entries.push_back(
            {picture.name, std::string_view(picture.bytes.constData(), std::size_t(picture.bytes.size()))});
    return out;
}

} // namespace

CoverSet CoverSet::empty() {
    CoverSet set;
    for (int kind = 1; kind <= kCoverKindCount; ++kind) set.cover(kind).text = emptyCoverText(kind);
    return set;
}

const char* coverKindShortName(int kind) { return kind >= 1 && kind <= kCoverKindCount ? kShortNames[kind - 1] : ""; }

int coverKindOfShortName(const QString& name) {
    for (int kind = 1; kind <= kCoverKindCount; ++kind)
        if (name.compare(QLatin1String(kShortNames[kind - 1]), Qt::CaseInsensitive) == 0) return kind;
    return 0;
}

QByteArray writeCoverSet(const CoverSet& set) {
    const std::optional<SetEntries> entries = entriesOf(set);
    if (!entries) return {};
    const std::string archive = zip::writeStored(entries->entries);
    return QByteArray(archive.data(), qsizetype(archive.size()));
}

CoverSetReading readCoverSet(const QByteArray& bytes, const CoverSetLimits& limits) {
    if (bytes.isEmpty()) return problem(CoverSetProblem::Empty);
    if (bytes.size() > limits.mostFileBytes) return problem(CoverSetProblem::TooLarge);
    zip::ReadLimits zipLimits;
    zipLimits.mostEntries = kMostEntries;
    zipLimits.mostEntryBytes = std::uint64_t(std::max(limits.mostPictureBytes, limits.mostDescriptionBytes));
    zipLimits.mostBytes = std::uint64_t(limits.mostFileBytes);
    const zip::Archive archive =
        zip::readArchive(std::string_view(bytes.constData(), std::size_t(bytes.size())), zipLimits);
    if (archive.error != zip::ReadError::None) return problem(problemOfArchive(archive.error, bytes));
    const auto entry = [&archive](const QString& name) -> const zip::Entry* {
        for (const zip::Entry& e : archive.entries)
            if (QString::fromStdString(e.name) == name) return &e;
        return nullptr;
    };
    const zip::Entry* descriptionEntry = entry(QLatin1String(kDescriptionName));
    if (!descriptionEntry) return problem(CoverSetProblem::NotACoverSet);
    if (qint64(descriptionEntry->data.size()) > limits.mostDescriptionBytes) return problem(CoverSetProblem::TooLarge);
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray(descriptionEntry->data.data(), qsizetype(descriptionEntry->data.size())), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) return problem(CoverSetProblem::Damaged);
    const QJsonObject description = document.object();
    if (description.value(QStringLiteral("format")).toString() != QLatin1String(kFormatName))
        return problem(CoverSetProblem::NotACoverSet);
    const QJsonValue versionValue = description.value(QStringLiteral("version"));
    const double versionNumber = versionValue.toDouble(-1);
    if (!versionValue.isDouble() || versionNumber < 1 || versionNumber != double(int(versionNumber)))
        return problem(CoverSetProblem::Damaged);
    const int version = int(versionNumber);
    if (version > kCoverSetVersion) return problem(CoverSetProblem::NewerVersion, version);

    CoverSet set = CoverSet::empty();
    const QJsonValue ticked = description.value(QStringLiteral("ticked"));
    if (!ticked.isUndefined() && !ticked.isArray()) return problem(CoverSetProblem::Damaged, version);
    for (const QJsonValue& name : ticked.toArray()) {
        const int kind = coverKindOfShortName(name.toString());
        if (!kind) return problem(CoverSetProblem::Damaged, version);
        set.ticked[std::size_t(kind - 1)] = true;
    }
    const QJsonValue print = description.value(QStringLiteral("print"));
    if (!print.isUndefined()) {
        set.printLayout = print.isObject() ? printLayoutFromJson(print.toObject()) : std::nullopt;
        if (!set.printLayout) return problem(CoverSetProblem::Damaged, version);
    }
    if (!readSafeMargin(description, set.safeMargin)) return problem(CoverSetProblem::Damaged, version);
    const QJsonValue covers = description.value(QStringLiteral("covers"));
    if (!covers.isArray() || covers.toArray().size() > kCoverKindCount)
        return problem(CoverSetProblem::Damaged, version);
    KindFlags seen{};
    qint64 budget = limits.mostPicturesBytes;
    for (const QJsonValue& value : covers.toArray()) {
        const QJsonObject json = value.toObject();
        const int kind = coverKindOfShortName(json.value(QStringLiteral("kind")).toString());
        if (!value.isObject() || !kind || seen[std::size_t(kind - 1)])
            return problem(CoverSetProblem::Damaged, version);
        seen[std::size_t(kind - 1)] = true;
        CoverSetCover& cover = set.cover(kind);
        const QJsonValue fit = json.value(QStringLiteral("fit"));
        if (!fit.isUndefined()) {
            const auto mode = fitModeFromName(fit.toString().toStdString());
            if (!fit.isString() || !mode) return problem(CoverSetProblem::Damaged, version);
            cover.fit = *mode;
        }
        const QJsonValue text = json.value(QStringLiteral("text"));
        if (!text.isUndefined()) {
            std::optional<CoverText> read = text.isObject() ? coverTextFromJson(text.toObject(), kind) : std::nullopt;
            if (!read) return problem(CoverSetProblem::Damaged, version);
            cover.text = std::move(*read);
        }
        if (const QJsonValue design = json.value(QStringLiteral("design")); !design.isUndefined()) {
            DesignFromJson read = coverDesignFromJson(design, kind);
            const auto damaged = [&](const std::string& what) {
                CoverSetReading reading = problem(CoverSetProblem::Damaged, version);
                reading.reason = "the " + std::string(coverKind(kind).checkCaption) + " cover's design: " + what;
                return reading;
            };
            if (!read.problem.empty()) return damaged(read.problem);
            cover.design = std::move(read.design);
            for (const QString& name : read.pictureNames) {
                const zip::Entry* stored = entry(name);
                if (!stored) return damaged("its picture \"" + name.toStdString() + "\" is missing");
                CoverSetProblem why = CoverSetProblem::Damaged;
                std::optional<CoverSetPicture> picture =
                    storedPicture(bytes, stored->data, version, limits, budget, why);
                if (!picture && why == CoverSetProblem::Damaged)
                    return damaged("its picture \"" + name.toStdString() + "\" is neither a PNG nor a JPEG");
                if (!picture) return problem(why, version);
                cover.designPictures.push_back(std::move(*picture));
            }
        }
        const QJsonValue picture = json.value(QStringLiteral("picture"));
        if (picture.isUndefined()) continue;
        const zip::Entry* stored = picture.isString() ? entry(picture.toString()) : nullptr;
        if (!stored) return problem(CoverSetProblem::Damaged, version);
        CoverSetProblem why = CoverSetProblem::Damaged;
        std::optional<CoverSetPicture> read = storedPicture(bytes, stored->data, version, limits, budget, why);
        if (!read) return problem(why, version);
        cover.picture = std::move(*read);
    }
    if (const QJsonValue discs = description.value(QStringLiteral("discs")); !discs.isUndefined()) {
        std::optional<DiscsFromJson> read = discs.isObject() ? discsFromJson(discs.toObject()) : std::nullopt;
        if (!read) return problem(CoverSetProblem::Damaged, version);
        set.discs = std::move(read->discs);
        for (DiscKind kind : allDiscKinds()) {
            const QString& name = read->pictureNames[std::size_t(kind)];
            if (name.isEmpty()) continue;
            const zip::Entry* stored = entry(name);
            if (!stored) return problem(CoverSetProblem::Damaged, version);
            CoverSetProblem why = CoverSetProblem::Damaged;
            std::optional<CoverSetPicture> picture = storedPicture(bytes, stored->data, version, limits, budget, why);
            if (!picture) return problem(why, version);
            set.discs.labels[kind].picture = std::move(*picture);
        }
    }
    return {CoverSetProblem::None, std::move(set), version, {}};
}

CoverSetReading loadCoverSetFile(const QString& path, const CoverSetLimits& limits) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return problem(CoverSetProblem::CannotRead);
    if (file.size() > limits.mostFileBytes) return problem(CoverSetProblem::TooLarge);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return problem(CoverSetProblem::CannotRead);
    return readCoverSet(bytes, limits);
}

int saveCoverSetFile(const QString& path, const CoverSet& set) {
    // Written from the pictures' own bytes, without gathering the file in memory first.
    const std::optional<SetEntries> entries = entriesOf(set);
    if (!entries) return EFBIG;
    const zip::StoredPieces layout = zip::layoutStored(entries->entries);
    if (layout.pieces.empty()) return EFBIG;
    return writeFileAtomicallyOrErrno(path, layout.pieces);
}

QString coverSetProblemText(const CoverSetReading& reading, const QString& shownName) {
    switch (reading.problem) {
    case CoverSetProblem::CannotRead: return QStringLiteral("\"%1\" cannot be read.").arg(shownName);
    case CoverSetProblem::Empty: return QStringLiteral("\"%1\" is empty; it holds no covers.").arg(shownName);
    case CoverSetProblem::NotACoverSet: return QStringLiteral("\"%1\" is not a Kavi cover set.").arg(shownName);
    case CoverSetProblem::Truncated:
        return QStringLiteral("\"%1\" is incomplete: the file was cut off, perhaps while it was copied.")
            .arg(shownName);
    case CoverSetProblem::Damaged:
        if (!reading.reason.empty())
            return QStringLiteral("\"%1\" is damaged and cannot be opened (%2).")
                .arg(shownName, QString::fromStdString(reading.reason));
        return QStringLiteral("\"%1\" is damaged and cannot be opened.").arg(shownName);
    case CoverSetProblem::NewerVersion:
        return QStringLiteral("\"%1\" was saved by a newer Kavi (cover set version %2); this Kavi reads version %3.")
            .arg(shownName)
            .arg(reading.version)
            .arg(kCoverSetVersion);
    case CoverSetProblem::TooLarge:
        return QStringLiteral("\"%1\" holds more than Kavi can open at once.").arg(shownName);
    case CoverSetProblem::None: break;
    }
    return QString();
}

} // namespace kavi
