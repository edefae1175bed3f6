// SPDX-License-Identifier: GPL-3.0-or-later
// The settings-file reader and writer: every key of a random file is read, written into a fresh
// file and read again; the second reading gives the first one's value as the writer stored it
// (blanks trimmed, one pair of quotes removed).
#include "tests/fuzz/fuzz_support.h"

#include "platform/files/profile.h"

#include <QList>
#include <QStringDecoder>

#include <utility>
#include <vector>

namespace {

constexpr std::size_t kLargestInput = 16 * 1024;
constexpr int kValueRoom = 1 << 20;

// Text as the reader decodes it: a mark of UTF-8 is a character wherever it stands.
QString textOf(const QByteArray& bytes) {
    QStringDecoder decode(QStringDecoder::Utf8,
                          QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decode(bytes);
}

// What a reading of the stored value "text" gives.
QString asRead(const QString& text) {
    QByteArray v = text.toUtf8().trimmed();
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.mid(1, v.size() - 2);
    return textOf(v);
}

// Section and key names as a reader of lines sees them: "[name]" starts a section, "key=value" is a key.
std::vector<std::pair<QString, QString>> namesIn(const QByteArray& text) {
    std::vector<std::pair<QString, QString>> names;
    QByteArray section;
    bool inSection = false;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        const QByteArray t = line.trimmed();
        if (t.startsWith('[')) {
            const int close = t.indexOf(']');
            section = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
            inSection = true;
            continue;
        }
        const int eq = line.indexOf('=');
        if (inSection && eq >= 0) names.emplace_back(textOf(section), textOf(line.left(eq).trimmed()));
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kLargestInput) return 0;
    fuzz::ensureQtApplication();
    const QString original = fuzz::scratchPath("profile-in.ini");
    const QString fresh = fuzz::scratchPath("profile-out.ini");
    QFile::remove(fresh);
    FUZZ_CHECK(fuzz::writeScratch(original, data, size), "the input could not be stored");

    const QString missing = QStringLiteral("\x01missing\x01");
    std::vector<std::pair<std::pair<QString, QString>, QString>> read;
    for (const auto& [section, key] : namesIn(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)))) {
        const QString value = kavi::profile::getString(section, key, missing, kValueRoom, original);
        FUZZ_CHECK(value != missing, "a key of the file reads as missing");
        FUZZ_CHECK(kavi::profile::writeString(section, key, value, fresh), "a key could not be written");
        read.push_back({{section, key}, value});
    }
    for (const auto& [name, value] : read) {
        const QString first = kavi::profile::getString(name.first, name.second, missing, kValueRoom, original);
        const QString again = kavi::profile::getString(name.first, name.second, missing, kValueRoom, fresh);
        FUZZ_CHECK(first == value, "reading the same file twice differs");
        FUZZ_CHECK(again == asRead(value), "a key written back reads differently");
    }
    QFile::remove(original);
    QFile::remove(fresh);
    return 0;
}
