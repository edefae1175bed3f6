// SPDX-License-Identifier: GPL-3.0-or-later
#include "cover_set_file.h"

#include "cover_text_json.h"
#include "files/atomic_file.h"
#include "files/stored_zip.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>

namespace kavi {

namespace {

constexpr const char* kDescriptionName = "cover-set.json";
constexpr const char* kFormatName = "kavi cover set";
// The description and ten pictures; a few more entries are allowed for what later versions add.
constexpr std::size_t kMostEntries = 64;

constexpr const char* kShortNames[kCoverKindCount] = {"front", "inside", "back", "dvd", "mini",
                                                      "psp",   "ds",     "slim", "hd",  "blu"};

QString pictureName(int kind) { return QString::fromLatin1(coverKindShortName(kind)) + QStringLiteral(".png"); }

QByteArray encodePng(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(1); // quick: a cover set is written while the user waits
    if (!writer.write(picture)) return {};
    return bytes;
}

CoverSetReading problem(CoverSetProblem p, int version = 0) { return {p, std::nullopt, version}; }

// A PNG entry as a picture, its size checked before it is decoded.
std::optional<QImage> decodePng(std::string_view data, const CoverSetLimits& limits, qint64& budget,
                                CoverSetProblem& why) {
    QByteArray bytes = QByteArray::fromRawData(data.data(), qsizetype(data.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    why = CoverSetProblem::Damaged;
    if (!reader.canRead() || !size.isValid() || size.isEmpty()) return std::nullopt;
    const qint64 pictureBytes = qint64(size.width()) * size.height() * 4;
    if (pictureBytes > limits.mostPictureBytes || pictureBytes > budget) {
        why = CoverSetProblem::TooLarge;
        return std::nullopt;
    }
    budget -= pictureBytes;
    QImageReader::setAllocationLimit(int(std::min<qint64>(limits.mostPictureBytes >> 20, 1 << 20) + 1));
    QImage picture = reader.read();
    if (picture.isNull() || picture.size() != size) return std::nullopt;
    // A picture with transparent parts keeps them, as the program holds it.
    const QImage::Format kept = picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (picture.format() != kept) picture.convertTo(kept);
    if (picture.isNull()) {
        why = CoverSetProblem::TooLarge;
        return std::nullopt;
    }
    return picture;
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
    QJsonArray ticked, covers;
    for (int kind = 1; kind <= kCoverKindCount; ++kind)
        if (set.ticked[std::size_t(kind - 1)]) ticked.append(QLatin1String(coverKindShortName(kind)));
    std::vector<QByteArray> pictures;
    std::vector<zip::Entry> entries(1);
    for (int kind = 1; kind <= kCoverKindCount; ++kind) {
        const CoverSetCover& cover = set.cover(kind);
        QJsonObject json{{QStringLiteral("kind"), QLatin1String(coverKindShortName(kind))},
                         {QStringLiteral("fit"), QLatin1String(fitModeName(cover.fit).data())},
                         {QStringLiteral("text"), coverTextToJson(cover.text)}};
        if (!cover.picture.isNull()) {
            pictures.push_back(encodePng(cover.picture));
            if (pictures.back().isEmpty()) return {};
            json.insert(QStringLiteral("picture"), pictureName(kind));
        }
        covers.append(json);
    }
    const QJsonObject description{{QStringLiteral("format"), QLatin1String(kFormatName)},
                                  {QStringLiteral("version"), kCoverSetVersion},
                                  {QStringLiteral("ticked"), ticked},
                                  {QStringLiteral("covers"), covers}};
    const QByteArray json = QJsonDocument(description).toJson();
    entries[0] = {kDescriptionName, std::string_view(json.constData(), std::size_t(json.size()))};
    std::size_t next = 0;
    for (int kind = 1; kind <= kCoverKindCount; ++kind) {
        if (set.cover(kind).picture.isNull()) continue;
        const QByteArray& png = pictures[next++];
        entries.push_back(
            {pictureName(kind).toStdString(), std::string_view(png.constData(), std::size_t(png.size()))});
    }
    const std::string archive = zip::writeStored(entries);
    return QByteArray(archive.data(), qsizetype(archive.size()));
}

CoverSetReading readCoverSet(const QByteArray& bytes, const CoverSetLimits& limits) {
    if (bytes.isEmpty()) return problem(CoverSetProblem::Empty);
    if (bytes.size() > limits.mostFileBytes) return problem(CoverSetProblem::TooLarge);
    const zip::Archive archive =
        zip::readStored(std::string_view(bytes.constData(), std::size_t(bytes.size())), kMostEntries);
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
        const QJsonValue picture = json.value(QStringLiteral("picture"));
        if (picture.isUndefined()) continue;
        const zip::Entry* png = picture.isString() ? entry(picture.toString()) : nullptr;
        if (!png) return problem(CoverSetProblem::Damaged, version);
        CoverSetProblem why = CoverSetProblem::Damaged;
        std::optional<QImage> decoded = decodePng(png->data, limits, budget, why);
        if (!decoded) return problem(why, version);
        cover.picture = std::move(*decoded);
    }
    return {CoverSetProblem::None, std::move(set), version};
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
    const QByteArray bytes = writeCoverSet(set);
    if (bytes.isEmpty()) return EFBIG;
    return writeFileAtomicallyOrErrno(path, bytes);
}

QString coverSetProblemText(const CoverSetReading& reading, const QString& shownName) {
    switch (reading.problem) {
    case CoverSetProblem::CannotRead: return QStringLiteral("\"%1\" cannot be read.").arg(shownName);
    case CoverSetProblem::Empty: return QStringLiteral("\"%1\" is empty; it holds no covers.").arg(shownName);
    case CoverSetProblem::NotACoverSet: return QStringLiteral("\"%1\" is not a Kavi cover set.").arg(shownName);
    case CoverSetProblem::Truncated:
        return QStringLiteral("\"%1\" is incomplete: the file was cut off, perhaps while it was copied.")
            .arg(shownName);
    case CoverSetProblem::Damaged: return QStringLiteral("\"%1\" is damaged and cannot be opened.").arg(shownName);
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
