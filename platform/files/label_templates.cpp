// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/label_templates.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace kavi::labels {

namespace {

// Bounds that no real sheet comes near; a file past them is damaged, not a stock.
constexpr double kLargestLengthMm = 2000;
constexpr int kMostLabelsAcross = 100;
constexpr qint64 kLargestFile = 16 * 1024 * 1024;

std::string utf8(const QString& text) { return text.toStdString(); }

struct Layout {
    int across = 1, down = 1;
    Length x0, y0, dx, dy;
};

// One <Template> as read, before its equivalents are resolved.
struct RawTemplate {
    QString brand, part, description, paperId, equivalentOf;
    std::optional<LengthSize> ownPaper;
    bool isDisc = false;
    Length radius, hole;
    std::optional<Length> cutWidth, cutHeight;
    std::vector<Layout> layouts;
};

class Reader {
public:
    explicit Reader(const QByteArray& xml) : xml_(xml) {}

    // The length in the attribute; an error when it is there but unreadable, or negative.
    std::optional<Length> length(const QXmlStreamAttributes& a, QLatin1String name, bool required) {
        if (!a.hasAttribute(name)) {
            if (required) fail(QStringLiteral("a %1 element has no %2").arg(xml_.name().toString(), QString(name)));
            return std::nullopt;
        }
        const std::optional<Length> l = parseLength(a.value(name));
        if (!l || l->millimetres() < 0 || l->millimetres() > kLargestLengthMm) {
            fail(QStringLiteral("%1=\"%2\" is not a length").arg(QString(name), a.value(name).toString()));
            return std::nullopt;
        }
        return l;
    }

    int count(const QXmlStreamAttributes& a, QLatin1String name) {
        bool ok = false;
        const int n = a.value(name).toInt(&ok);
        if (!ok || n < 1 || n > kMostLabelsAcross) {
            fail(QStringLiteral("%1=\"%2\" is not a label count").arg(QString(name), a.value(name).toString()));
            return 1;
        }
        return n;
    }

    void fail(const QString& why) {
        if (error_.isEmpty()) error_ = why;
    }

    std::vector<RawTemplate> templates;
    std::vector<PaperSize> papers;

    QString read() {
        std::optional<RawTemplate> current;
        bool inDiscLabel = false;
        while (!xml_.atEnd() && error_.isEmpty()) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            if (token == QXmlStreamReader::EndElement) {
                if (xml_.name() == u"Template" && current) {
                    templates.push_back(std::move(*current));
                    current.reset();
                } else if (xml_.name() == u"Label-cd") {
                    inDiscLabel = false;
                }
                continue;
            }
            if (token != QXmlStreamReader::StartElement) continue;
            const QXmlStreamAttributes a = xml_.attributes();
            const QStringView name = xml_.name();
            if (name == u"Paper-size") {
                const auto w = length(a, QLatin1String("width"), true);
                const auto h = length(a, QLatin1String("height"), true);
                if (w && h) papers.push_back({a.value(QLatin1String("id")).toString(), {*w, *h}});
            } else if (name == u"Template") {
                current.emplace();
                current->brand = a.value(QLatin1String("brand")).toString();
                current->part = a.value(QLatin1String("part")).toString();
                current->description = a.value(QLatin1String("_description")).toString();
                if (current->description.isEmpty())
                    current->description = a.value(QLatin1String("description")).toString();
                current->paperId = a.value(QLatin1String("size")).toString();
                current->equivalentOf = a.value(QLatin1String("equiv")).toString();
                if (current->paperId == u"Other") {
                    const auto w = length(a, QLatin1String("width"), true);
                    const auto h = length(a, QLatin1String("height"), true);
                    if (w && h) current->ownPaper = LengthSize{*w, *h};
                }
            } else if (name == u"Label-cd" && current && !current->isDisc) {
                current->isDisc = true;
                inDiscLabel = true;
                current->radius = length(a, QLatin1String("radius"), true).value_or(Length());
                current->hole = length(a, QLatin1String("hole"), true).value_or(Length());
                current->cutWidth = length(a, QLatin1String("width"), false);
                current->cutHeight = length(a, QLatin1String("height"), false);
            } else if (name == u"Layout" && inDiscLabel) {
                Layout l;
                l.across = count(a, QLatin1String("nx"));
                l.down = count(a, QLatin1String("ny"));
                l.x0 = length(a, QLatin1String("x0"), true).value_or(Length());
                l.y0 = length(a, QLatin1String("y0"), true).value_or(Length());
                l.dx = length(a, QLatin1String("dx"), false).value_or(Length());
                l.dy = length(a, QLatin1String("dy"), false).value_or(Length());
                current->layouts.push_back(l);
            }
        }
        if (error_.isEmpty() && xml_.hasError())
            error_ = QStringLiteral("line %1: %2").arg(xml_.lineNumber()).arg(xml_.errorString());
        return error_;
    }

private:
    QXmlStreamReader xml_;
    QString error_;
};

std::optional<LengthSize> paperNamed(const QString& id, const std::vector<PaperSize>& own,
                                     const std::vector<PaperSize>& given) {
    for (const auto* list : {&own, &given})
        for (const PaperSize& p : *list)
            if (p.id == id) return p.size;
    if (id == u"US-Letter") return LengthSize{Length::fromInches(8.5), Length::fromInches(11)};
    if (id == u"US-Legal") return LengthSize{Length::fromInches(8.5), Length::fromInches(14)};
    if (id == u"A4") return LengthSize{Length::fromMillimetres(210), Length::fromMillimetres(297)};
    return std::nullopt;
}

// The stock a disc template describes, or why it cannot be one.
std::optional<DiscLabelStock> stockOf(const RawTemplate& t, const LengthSize& paper, QString& why) {
    DiscLabelStock s;
    s.brand = utf8(t.brand);
    s.part = utf8(t.part);
    s.description = utf8(t.description);
    s.paperId = utf8(t.paperId);
    // A sheet is used upright, the way the template's positions are measured.
    s.paper = paper.width <= paper.height ? paper : paper.transposed();
    s.outerRadius = t.radius;
    s.holeRadius = t.hole;
    s.cutWidth = t.cutWidth;
    s.cutHeight = t.cutHeight;
    const QString name = t.brand + u' ' + t.part;
    if (t.brand.isEmpty() || t.part.isEmpty()) {
        why = QStringLiteral("a disc template has no brand or part");
        return std::nullopt;
    }
    if (t.radius <= Length() || t.hole >= t.radius) {
        why = QStringLiteral("%1: the hole is not smaller than the label").arg(name);
        return std::nullopt;
    }
    if (t.layouts.empty()) {
        why = QStringLiteral("%1: no Layout").arg(name);
        return std::nullopt;
    }
    const Length boxWidth = t.cutWidth.value_or(t.radius * 2);
    const Length boxHeight = t.cutHeight.value_or(t.radius * 2);
    const Length slack = Length::fromMillimetres(1);
    for (const Layout& l : t.layouts)
        for (int row = 0; row < l.down; ++row)
            for (int column = 0; column < l.across; ++column) {
                const Length left = l.x0 + l.dx * column;
                const Length top = l.y0 + l.dy * row;
                if (left + boxWidth > s.paper.width + slack || top + boxHeight > s.paper.height + slack) {
                    why = QStringLiteral("%1: a label lies off the sheet").arg(name);
                    return std::nullopt;
                }
                s.centres.push_back({left + boxWidth / 2, top + boxHeight / 2});
            }
    // Left to right, then top to bottom; labels whose centres are within a point of one height are one row.
    std::stable_sort(s.centres.begin(), s.centres.end(), [](const LengthPoint& a, const LengthPoint& b) {
        if (std::abs(a.y.points() - b.y.points()) > 1) return a.y < b.y;
        return a.x < b.x;
    });
    return s;
}

} // namespace

std::optional<Length> parseLength(QStringView text) {
    QStringView t = text.trimmed();
    struct Unit {
        const char16_t* suffix;
        double points;
    };
    static constexpr Unit kUnits[] = {{u"pt", 1},
                                      {u"in", 72},
                                      {u"mm", 72 / Length::kMillimetresPerInch},
                                      {u"cm", 720 / Length::kMillimetresPerInch},
                                      {u"pc", 12}};
    double perUnit = 1;
    for (const Unit& u : kUnits) {
        if (t.endsWith(QStringView(u.suffix))) {
            t.chop(2);
            perUnit = u.points;
            break;
        }
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(t.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return Length::fromPoints(value * perUnit);
}

std::vector<PaperSize> parsePaperSizes(const QByteArray& xml) {
    Reader reader(xml);
    if (!reader.read().isEmpty()) return {};
    return reader.papers;
}

FileReading parseTemplateFile(const QByteArray& xml, const std::vector<PaperSize>& papers) {
    FileReading result;
    Reader reader(xml);
    result.error = reader.read();
    if (!result.error.isEmpty()) return result;

    std::map<std::pair<QString, QString>, const RawTemplate*> discs;
    for (const RawTemplate& t : reader.templates)
        if (t.isDisc) discs[{t.brand, t.part}] = &t;

    for (const RawTemplate& t : reader.templates) {
        const RawTemplate* geometry = &t;
        if (!t.isDisc) {
            // <Template brand="B" part="P2" equiv="P1"/>: the same stock as B P1 under another part number.
            if (t.equivalentOf.isEmpty()) continue;
            const auto found = discs.find({t.brand, t.equivalentOf});
            if (found == discs.end()) continue;
            geometry = found->second;
        }
        const QString paperId = geometry->paperId;
        const std::optional<LengthSize> paper =
            paperId == u"Other" ? geometry->ownPaper : paperNamed(paperId, reader.papers, papers);
        if (!paper) {
            result.error = QStringLiteral("%1 %2: unknown paper \"%3\"").arg(t.brand, t.part, paperId);
            result.stocks.clear();
            return result;
        }
        QString why;
        std::optional<DiscLabelStock> stock = stockOf(*geometry, *paper, why);
        if (!stock) {
            result.error = why;
            result.stocks.clear();
            return result;
        }
        stock->brand = utf8(t.brand);
        stock->part = utf8(t.part);
        if (!t.description.isEmpty()) stock->description = utf8(t.description);
        result.stocks.push_back(std::move(*stock));
    }
    return result;
}

QStringList templateFolders(const QStringList& givenFolders) {
    QStringList folders = givenFolders;
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty()) dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    folders << dataHome + QStringLiteral("/kavi/templates");
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty()) dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& dir : dataDirs.split(u':', Qt::SkipEmptyParts))
        folders << dir + QStringLiteral("/libglabels-3.0/templates");
    return folders;
}

StockList readDiscStocks(const QStringList& folders) {
    StockList list;
    std::set<std::string> names;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        const QStringList files = dir.entryList({QStringLiteral("*.xml")}, QDir::Files | QDir::Readable, QDir::Name);
        auto readAll = [&](const QString& path, QByteArray& bytes) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) return file.errorString();
            if (file.size() > kLargestFile) return QStringLiteral("too large to be a template file");
            bytes = file.readAll();
            return QString();
        };
        // The folder's own paper sizes first, so that its templates can name them.
        std::vector<PaperSize> papers;
        for (const QString& name : files) {
            QByteArray bytes;
            if (readAll(dir.filePath(name), bytes).isEmpty() && bytes.contains("<Paper-size")) {
                const std::vector<PaperSize> more = parsePaperSizes(bytes);
                papers.insert(papers.end(), more.begin(), more.end());
            }
        }
        for (const QString& name : files) {
            const QString path = dir.filePath(name);
            QByteArray bytes;
            QString error = readAll(path, bytes);
            FileReading reading;
            if (error.isEmpty()) {
                reading = parseTemplateFile(bytes, papers);
                error = reading.error;
            }
            if (!error.isEmpty()) {
                list.skippedFiles << path + QStringLiteral(": ") + error;
                continue;
            }
            for (DiscLabelStock& stock : reading.stocks)
                if (names.insert(stock.name()).second) list.stocks.push_back(std::move(stock));
        }
    }
    std::sort(list.stocks.begin(), list.stocks.end(),
              [](const DiscLabelStock& a, const DiscLabelStock& b) { return a.name() < b.name(); });
    return list;
}

} // namespace kavi::labels
