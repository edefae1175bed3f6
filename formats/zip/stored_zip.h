// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Zip archives: the container of saved cover sets. Written with stored entries (the pictures in it
// are compressed already), UTF-8 names and a fixed time. Read as untrusted input: stored and
// deflated entries, with or without data descriptors, every offset and size checked against the
// bytes at hand, every entry's size against the limits before it is inflated, and every entry's
// CRC-32.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace kavi::zip {

struct Entry {
    std::string name;
    std::string_view data; // points into the bytes it was read from, the archive, or the caller's data
};

// The archive of the entries in order. Entries of 4 GiB or more, or more than 65535 of them, do
// not fit a plain zip: the result is then empty.
std::string writeStored(const std::vector<Entry>& entries);

// The same archive as pieces to write one after another, without copying the entries' data: each
// entry's local header (in records) and its data (the caller's), then the central directory with
// the end record. No pieces when the entries do not fit a plain zip.
struct StoredPieces {
    std::vector<std::string> records;
    std::vector<std::string_view> pieces;
    std::uint64_t size = 0; // of all pieces together
};
StoredPieces layoutStored(const std::vector<Entry>& entries);

enum class ReadError {
    None,
    NotAnArchive, // no end record: not a zip file, or cut off at its end
    Truncated, // a record or an entry's data reaches past the end of the bytes or into the directory
    Damaged, // a record is not where it should be, an entry does not inflate to its size, or its checksum is wrong
    Unsupported, // other compression methods, encrypted or zip64 entries
    TooLarge, // more entries, or larger ones, than allowed
};

// What reading may make the program hold, checked with each entry's size from the directory before
// anything is inflated.
struct ReadLimits {
    std::size_t mostEntries = 64;
    std::uint64_t mostEntryBytes = std::uint64_t(1) << 30; // one entry, as it reads
    std::uint64_t mostBytes = std::uint64_t(2) << 30; // all entries together, as they read
};

struct Archive {
    ReadError error = ReadError::None;
    std::vector<Entry> entries; // in the order of the central directory; empty on an error
    std::deque<std::string> inflated; // the data of the deflated entries, which theirs points into

    Archive() = default;
    Archive(ReadError e) : error(e) {}
    Archive(Archive&&) = default; // moving keeps every entry's data where it is
    Archive& operator=(Archive&&) = default;
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
};

// Reads the archive in bytes; stored entries point into bytes, which must outlive them. Two
// entries of the same name make the archive damaged.
Archive readArchive(std::string_view bytes, const ReadLimits& limits);

// The CRC-32 of zip and PNG.
std::uint32_t crc32(std::string_view data);

} // namespace kavi::zip
