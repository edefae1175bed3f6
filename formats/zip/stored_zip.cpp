// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/zip/stored_zip.h"

#include <libdeflate.h>

#include <memory>
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
constexpr std::uint16_t kDataDescriptor = 1 << 3;
constexpr std::uint16_t kStored = 0, kDeflated = 8;
constexpr std::uint32_t kDescriptorSignature = 0x08074b50;
constexpr std::size_t kDescriptorSize = 12;
constexpr std::uint16_t kDosDate = (0 << 9) | (1 << 5) | 1; // 1980-01-01, the earliest a zip can tell
constexpr std::uint32_t kTooLarge = 0xFFFFFFFFu;

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

Archive failed(ReadError error) { return Archive(error); }

// Inflates raw deflate data that must come to exactly size bytes, taking all of raw.
bool inflate(std::string_view raw, std::size_t size, std::string& out) {
    const std::unique_ptr<libdeflate_decompressor, decltype(&libdeflate_free_decompressor)> decompressor(
        libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
    if (!decompressor) return false;
    out.resize(size);
    std::size_t taken = 0, given = 0;
    const libdeflate_result result =
        libdeflate_deflate_decompress_ex(decompressor.get(), raw.data(), raw.size(), out.data(), size, &taken, &given);
    return result == LIBDEFLATE_SUCCESS && taken == raw.size() && given == size;
}

} // namespace

std::uint32_t crc32(std::string_view data) { return libdeflate_crc32(0, data.data(), data.size()); }

StoredPieces layoutStored(const std::vector<Entry>& entries) {
    if (entries.size() > 0xFFFF) return {};
    StoredPieces layout;
    layout.records.reserve(entries.size() + 1);
    std::string central;
    std::uint64_t offset = 0;
    for (const Entry& e : entries) {
        if (e.data.size() >= kTooLarge || e.name.size() > 0xFFFF || offset >= kTooLarge) return {};
        const std::uint32_t crc = crc32(e.data), size = std::uint32_t(e.data.size());
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
        std::string& local = layout.records.emplace_back();
        put32(local, kLocalHeader);
        common(local);
        local += e.name;
        put32(central, kCentralHeader);
        put16(central, kVersion); // made by
        common(central);
        put16(central, 0); // comment
        put16(central, 0); // disk
        put16(central, 0); // internal attributes
        put32(central, 0); // external attributes
        put32(central, std::uint32_t(offset));
        central += e.name;
        offset += local.size() + e.data.size();
    }
    if (offset + central.size() >= kTooLarge) return {};
    const std::uint32_t centralOffset = std::uint32_t(offset), centralSize = std::uint32_t(central.size());
    put32(central, kEndRecord);
    put16(central, 0);
    put16(central, 0);
    put16(central, std::uint32_t(entries.size()));
    put16(central, std::uint32_t(entries.size()));
    put32(central, centralSize);
    put32(central, centralOffset);
    put16(central, 0); // comment
    layout.records.push_back(std::move(central));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        layout.pieces.push_back(layout.records[i]);
        layout.pieces.push_back(entries[i].data);
    }
    layout.pieces.push_back(layout.records.back());
    layout.size = offset + layout.records.back().size();
    return layout;
}

std::string writeStored(const std::vector<Entry>& entries) {
    const StoredPieces layout = layoutStored(entries);
    std::string out;
    out.reserve(layout.size);
    for (const std::string_view piece : layout.pieces) out += piece;
    return out;
}

Archive readArchive(std::string_view bytes, const ReadLimits& limits) {
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
    if (count > limits.mostEntries) return failed(ReadError::TooLarge);
    if (!fits(bytes, centralOffset, centralSize) || centralOffset + centralSize > end)
        return failed(ReadError::Truncated);

    Archive archive;
    std::set<std::string> names;
    std::uint64_t total = 0;
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
        if (flags & kEncrypted || (method != kStored && method != kDeflated) || packed == kTooLarge ||
            size == kTooLarge || local == kTooLarge)
            return failed(ReadError::Unsupported);
        if (method == kStored && packed != size) return failed(ReadError::Damaged);
        if (size > limits.mostEntryBytes || size > limits.mostBytes - total) return failed(ReadError::TooLarge);
        total += size;
        const std::size_t recordSize = kCentralHeaderSize + nameLength + extraLength + commentLength;
        if (!fits(bytes, at, recordSize)) return failed(ReadError::Truncated);
        Entry entry;
        entry.name.assign(bytes.substr(at + kCentralHeaderSize, nameLength));
        at += recordSize;

        if (!fits(bytes, local, kLocalHeaderSize)) return failed(ReadError::Truncated);
        if (get32(bytes, local) != kLocalHeader || get16(bytes, local + 8) != method) return failed(ReadError::Damaged);
        const std::size_t dataAt = local + kLocalHeaderSize + get16(bytes, local + 26) + get16(bytes, local + 28);
        // An entry's data, and its data descriptor, lie before the central directory.
        if (!fits(bytes, dataAt, packed) || dataAt + packed > centralOffset) return failed(ReadError::Truncated);
        if (flags & kDataDescriptor) {
            // crc, packed and size, after an optional signature; the directory's values must agree.
            std::size_t descriptor = dataAt + packed;
            if (descriptor + 4 <= centralOffset && get32(bytes, descriptor) == kDescriptorSignature) descriptor += 4;
            if (descriptor + kDescriptorSize > centralOffset) return failed(ReadError::Truncated);
            if (get32(bytes, descriptor) != crc || get32(bytes, descriptor + 4) != packed ||
                get32(bytes, descriptor + 8) != size)
                return failed(ReadError::Damaged);
        }
        const std::string_view raw = bytes.substr(dataAt, packed);
        if (method == kStored) {
            entry.data = raw;
        } else {
            std::string& out = archive.inflated.emplace_back();
            if (!inflate(raw, size, out)) return failed(ReadError::Damaged);
            entry.data = out;
        }
        if (crc32(entry.data) != crc) return failed(ReadError::Damaged);
        if (!names.insert(entry.name).second) return failed(ReadError::Damaged);
        archive.entries.push_back(std::move(entry));
    }
    return archive;
}

} // namespace kavi::zip
