// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Zip archives whose entries are stored, not compressed: the container of saved cover sets, whose
// pictures are PNG files and so compressed already. Written with UTF-8 names and a fixed time;
// read as untrusted input, every offset and size checked against the bytes at hand.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavi::zip {

struct Entry {
    std::string name;
    std::string_view data; // points into the bytes it was read from, or into the caller's data
};

// The archive of the entries in order. Entries of 4 GiB or more, or more than 65535 of them, do
// not fit a plain zip: the result is then empty.
std::string writeStored(const std::vector<Entry>& entries);

enum class ReadError {
    None,
    NotAnArchive, // no end record: not a zip file, or cut off at its end
    Truncated, // a record or an entry's data reaches past the end of the bytes
    Damaged, // a record is not where it should be, or an entry's checksum is wrong
    Unsupported, // compressed, encrypted or zip64 entries
    TooLarge, // more entries than allowed
};

struct Archive {
    ReadError error = ReadError::None;
    std::vector<Entry> entries; // in the order of the central directory; empty on an error
};

// Reads the archive in bytes; the entries point into bytes, which must outlive them. Two entries
// of the same name make the archive damaged.
Archive readStored(std::string_view bytes, std::size_t mostEntries);

// The CRC-32 of zip and PNG.
std::uint32_t crc32(std::string_view data);

} // namespace kavi::zip
