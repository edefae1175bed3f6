// SPDX-License-Identifier: GPL-3.0-or-later
#include "stored_zip.h"

#include <array>
#include <set>

namespace kavi::zip {

namespace {

constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kCentralHeader = 0x02014b50;
constexpr std::uint32_t kEndRecord = 0x06054b50;
constexpr std::size_t kLocalHeaderSize = 30, kCentralHeaderSize = 46, kEndRecordSize = 22;
constexpr std::uint16_t kUtf8Names = 1 << 11;
constexpr std::uint16_t kEncrypted = 1 << 0;
constexpr std::uint16_t kVersion = 20;
constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDosDate = (0 << 9) | (1 << 5) | 1; // 1980-01-01, the earliest a zip can tell
constexpr std::uint32_t kTooLarge = 0xFFFFFFFFu;

const std::array<std::uint32_t, 256>& crcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void put16(std::string& out, std::uint32_t v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char(v >> 8 & 0xFF));
}
void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Little-endian numbers at an offset already checked to lie inside the bytes.
std::uint32_t get16(std::string_view b, std::size_t at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8;
}
std::uint32_t get32(std::string_view b, std::size_t at) { return get16(b, at) | get16(b, at + 2) << 16; }

bool fits(std::string_view b, std::size_t at, std::size_t size) { return at <= b.size() && size <= b.size() - at; }

Archive failed(ReadError error) { return {error, {}}; }

} // namespace

std::uint32_t crc32(std::string_view data) {
    const auto& table = crcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (char ch : data) c = table[(c ^ std::uint8_t(ch)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::string writeStored(const std::vector<Entry>& entries) {
    if (entries.size() > 0xFFFF) return {};
    std::string out, central;
    for (const Entry& e : entries) {
        if (e.data.size() >= kTooLarge || e.name.size() > 0xFFFF || out.size() >= kTooLarge) return {};
        const std::uint32_t crc = crc32(e.data), size = std::uint32_t(e.data.size());
        const std::uint32_t offset = std::uint32_t(out.size());
        const auto common = [&](std::string& to) {
            put16(to, kVersion);
            put16(to, kUtf8Names);
            put16(to, kStored);
            put16(to, 0); // time
            put16(to, kDosDate);
            put32(to, crc);
            put32(to, size);
            put32(to, size);
            put16(to, std::uint32_t(e.name.size()));
            put16(to, 0); // extra field
        };
        put32(out, kLocalHeader);
        common(out);
        out += e.name;
        out += e.data;
        put32(central, kCentralHeader);
        put16(central, kVersion); // made by
        common(central);
        put16(central, 0); // comment
        put16(central, 0); // disk
        put16(central, 0); // internal attributes
        put32(central, 0); // external attributes
        put32(central, offset);
        central += e.name;
    }
    if (out.size() + central.size() >= kTooLarge) return {};
    const std::uint32_t centralOffset = std::uint32_t(out.size());
    out += central;
    put32(out, kEndRecord);
    put16(out, 0);
    put16(out, 0);
    put16(out, std::uint32_t(entries.size()));
    put16(out, std::uint32_t(entries.size()));
    put32(out, std::uint32_t(central.size()));
    put32(out, centralOffset);
    put16(out, 0); // comment
    return out;
}

Archive readStored(std::string_view bytes, std::size_t mostEntries) {
    if (bytes.size() < kEndRecordSize) return failed(ReadError::NotAnArchive);
    // The end record is the last thing in the file, followed only by its comment (at most 64 KiB).
    std::size_t end = std::string_view::npos;
    const std::size_t lowest = bytes.size() > kEndRecordSize + 0xFFFF ? bytes.size() - kEndRecordSize - 0xFFFF : 0;
    for (std::size_t at = bytes.size() - kEndRecordSize + 1; at-- > lowest;) {
        if (get32(bytes, at) == kEndRecord && at + kEndRecordSize + get16(bytes, at + 20) == bytes.size()) {
            end = at;
            break;
        }
    }
    if (end == std::string_view::npos) return failed(ReadError::NotAnArchive);
    const std::size_t count = get16(bytes, end + 10);
    const std::size_t centralSize = get32(bytes, end + 12), centralOffset = get32(bytes, end + 16);
    if (get16(bytes, end + 4) != 0 || get16(bytes, end + 6) != 0 || get16(bytes, end + 8) != count)
        return failed(ReadError::Unsupported); // split over several disks
    if (count == 0xFFFF || centralSize == kTooLarge || centralOffset == kTooLarge)
        return failed(ReadError::Unsupported);
    if (count > mostEntries) return failed(ReadError::TooLarge);
    if (!fits(bytes, centralOffset, centralSize) || centralOffset + centralSize > end)
        return failed(ReadError::Truncated);

    Archive archive;
    std::set<std::string> names;
    std::size_t at = centralOffset;
    for (std::size_t i = 0; i < count; ++i) {
        if (!fits(bytes, at, kCentralHeaderSize) || at + kCentralHeaderSize > centralOffset + centralSize)
            return failed(ReadError::Truncated);
        if (get32(bytes, at) != kCentralHeader) return failed(ReadError::Damaged);
        const std::uint32_t flags = get16(bytes, at + 8), method = get16(bytes, at + 10);
        const std::uint32_t crc = get32(bytes, at + 16);
        const std::size_t packed = get32(bytes, at + 20), size = get32(bytes, at + 24);
        const std::size_t nameLength = get16(bytes, at + 28), extraLength = get16(bytes, at + 30),
                          commentLength = get16(bytes, at + 32);
        const std::size_t local = get32(bytes, at + 42);
        if (flags & kEncrypted || method != kStored || packed == kTooLarge || size == kTooLarge || local == kTooLarge)
            return failed(ReadError::Unsupported);
        if (packed != size) return failed(ReadError::Damaged);
        const std::size_t recordSize = kCentralHeaderSize + nameLength + extraLength + commentLength;
        if (!fits(bytes, at, recordSize)) return failed(ReadError::Truncated);
        Entry entry;
        entry.name.assign(bytes.substr(at + kCentralHeaderSize, nameLength));
        at += recordSize;

        if (!fits(bytes, local, kLocalHeaderSize)) return failed(ReadError::Truncated);
        if (get32(bytes, local) != kLocalHeader || get16(bytes, local + 8) != method) return failed(ReadError::Damaged);
        const std::size_t dataAt = local + kLocalHeaderSize + get16(bytes, local + 26) + get16(bytes, local + 28);
        if (!fits(bytes, dataAt, size) || dataAt + size > centralOffset) return failed(ReadError::Truncated);
        entry.data = bytes.substr(dataAt, size);
        if (crc32(entry.data) != crc) return failed(ReadError::Damaged);
        if (!names.insert(entry.name).second) return failed(ReadError::Damaged);
        archive.entries.push_back(std::move(entry));
    }
    return archive;
}

} // namespace kavi::zip
