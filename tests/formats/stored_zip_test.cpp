// SPDX-License-Identifier: GPL-3.0-or-later
// The zip container: what is written reads back (and other zip readers agree); deflated entries
// with and without data descriptors read; and every cut-off, overlapping, unsupported, duplicated,
// oversized or altered entry is refused without reading outside the bytes.
#include "formats/zip/stored_zip.h"

#include <libdeflate.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace kavi;

namespace {

std::string sample() {
    const std::string a = "first entry's bytes", b(3000, 'x');
    return zip::writeStored({{"a.json", a}, {"b.png", b}, {"empty", ""}});
}

zip::ReadLimits mostEntries(std::size_t n) {
    zip::ReadLimits limits;
    limits.mostEntries = n;
    return limits;
}

zip::Archive read(std::string_view bytes, std::size_t entries = 10) {
    return zip::readArchive(bytes, mostEntries(entries));
}

void put32(std::string& bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + std::size_t(i)] = char(v >> (8 * i) & 0xFF);
}

// An archive of one entry holding content deflated, whose records say it reads as claimedSize
// bytes (the content's size unless given) with the content's CRC-32.
std::string deflatedArchive(const std::string& content, std::uint32_t claimedSize = 0xFFFFFFFFu) {
    libdeflate_compressor* c = libdeflate_alloc_compressor(9);
    std::string packed(libdeflate_deflate_compress_bound(c, content.size()), '\0');
    packed.resize(libdeflate_deflate_compress(c, content.data(), content.size(), packed.data(), packed.size()));
    libdeflate_free_compressor(c);
    std::string bytes = zip::writeStored({{"picture.png", packed}});
    const std::size_t central = bytes.find("PK\x01\x02");
    const std::uint32_t size = claimedSize == 0xFFFFFFFFu ? std::uint32_t(content.size()) : claimedSize;
    for (const std::size_t record : {std::size_t(0), central}) {
        const std::size_t fields = record == 0 ? 8 : 10; // method, then time, date, crc, sizes
        bytes[record + fields] = 8;
        put32(bytes, record + fields + 6, zip::crc32(content));
        put32(bytes, record + fields + 14, size);
    }
    return bytes;
}

} // namespace

TEST(StoredZip, EntriesReadBackInOrderWithTheirBytes) {
    const std::string bytes = sample();
    const zip::Archive archive = read(bytes);
    ASSERT_EQ(archive.error, zip::ReadError::None);
    ASSERT_EQ(archive.entries.size(), 3u);
    EXPECT_EQ(archive.entries[0].name, "a.json");
    EXPECT_EQ(archive.entries[0].data, "first entry's bytes");
    EXPECT_EQ(archive.entries[1].data, std::string(3000, 'x'));
    EXPECT_EQ(archive.entries[2].data, "");
    EXPECT_EQ(zip::crc32("123456789"), 0xCBF43926u) << "the standard check value";
    // The unzip of the system agrees that it is a valid archive.
    const std::string path = testing::TempDir() + "/sample.zip";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    EXPECT_EQ(std::system(
                  ("python3 -c \"import zipfile,sys; z=zipfile.ZipFile('" + path +
                   "'); sys.exit(0 if z.testzip() is None and z.read('a.json')==b\\\"first entry's bytes\\\" else 1)\"")
                      .c_str()),
              0);
}

TEST(StoredZip, EveryCutOffArchiveIsRefused) {
    const std::string bytes = sample();
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        const zip::Archive archive = read(std::string_view(bytes).substr(0, length));
        EXPECT_NE(archive.error, zip::ReadError::None) << "cut at " << length;
        EXPECT_TRUE(archive.entries.empty());
    }
}

TEST(StoredZip, UnsupportedDuplicateAndTooManyEntriesAreRefused) {
    std::string compressed = sample();
    compressed[8] = 12; // the first local header says bzip2...
    const std::size_t central = compressed.find("PK\x01\x02");
    ASSERT_NE(central, std::string::npos);
    compressed[central + 10] = 12; // ...and so does its central record
    EXPECT_EQ(read(compressed).error, zip::ReadError::Unsupported);

    const std::string twice = zip::writeStored({{"same", "1"}, {"same", "2"}});
    EXPECT_EQ(read(twice).error, zip::ReadError::Damaged);
    EXPECT_EQ(read(sample(), 2).error, zip::ReadError::TooLarge);
    EXPECT_EQ(read("not a zip at all, just some words").error, zip::ReadError::NotAnArchive);
}

TEST(StoredZip, AFlippedBitInAnyEntryIsNoticed) {
    const std::string good = sample();
    for (const std::string_view what : {std::string_view("first entry"), std::string_view("xxxxx")}) {
        std::string bytes = good;
        const std::size_t at = bytes.find(what);
        ASSERT_NE(at, std::string::npos);
        bytes[at + 2] = char(bytes[at + 2] ^ 0x01);
        EXPECT_EQ(read(bytes).error, zip::ReadError::Damaged) << what;
    }
}

TEST(StoredZip, AnEntryThatRunsIntoTheCentralDirectoryIsRefused) {
    // The last entry's records claim four bytes more than it has, with the CRC-32 of those bytes:
    // its data would then be the first bytes of the central directory.
    const std::string entry = "last entry";
    std::string bytes = zip::writeStored({{"a", "first"}, {"b", entry}});
    const std::size_t central = bytes.find("PK\x01\x02");
    const std::size_t local = bytes.rfind("PK\x03\x04", central);
    const std::uint32_t crc = zip::crc32(entry + bytes.substr(central, 4));
    const std::size_t second = bytes.find("PK\x01\x02", central + 4);
    for (const std::size_t fields : {local + 14, second + 16}) {
        put32(bytes, fields, crc);
        put32(bytes, fields + 4, std::uint32_t(entry.size() + 4));
        put32(bytes, fields + 8, std::uint32_t(entry.size() + 4));
    }
    EXPECT_EQ(read(bytes).error, zip::ReadError::Truncated);
}

TEST(StoredZip, DeflatedEntriesReadWithinTheirDeclaredSizeAndLimits) {
    std::string content;
    for (int i = 0; i < 20000; ++i) content += char('a' + (i * i) % 7);
    const std::string good = deflatedArchive(content);
    zip::Archive archive = read(good);
    ASSERT_EQ(archive.error, zip::ReadError::None);
    ASSERT_EQ(archive.entries.size(), 1u);
    EXPECT_EQ(archive.entries[0].data, content);
    const zip::Archive moved = std::move(archive);
    EXPECT_EQ(moved.entries[0].data, content) << "the inflated data stays with the archive";

    EXPECT_EQ(read(deflatedArchive(content, std::uint32_t(content.size() - 1))).error, zip::ReadError::Damaged)
        << "inflates to more than it says";
    EXPECT_EQ(read(deflatedArchive(content, std::uint32_t(content.size() + 1))).error, zip::ReadError::Damaged)
        << "inflates to less than it says";
    zip::ReadLimits limits;
    limits.mostEntryBytes = content.size() - 1;
    EXPECT_EQ(zip::readArchive(good, limits).error, zip::ReadError::TooLarge);
    limits = {};
    limits.mostBytes = content.size() - 1;
    EXPECT_EQ(zip::readArchive(good, limits).error, zip::ReadError::TooLarge);
    // A claim of 1 GiB from a few bytes is refused by the limit before anything is inflated.
    limits = {};
    limits.mostEntryBytes = 1 << 20;
    EXPECT_EQ(zip::readArchive(deflatedArchive(content, 1u << 30), limits).error, zip::ReadError::TooLarge);

    std::string flipped = good;
    flipped[flipped.find("PK\x01\x02") - 3] ^= 0x10; // inside the compressed data
    EXPECT_EQ(read(flipped).error, zip::ReadError::Damaged);
}

TEST(StoredZip, DataDescriptorsAreReadAndMustAgree) {
    // Python's zipfile writes data descriptors when it cannot seek back in its output.
    const std::string path = testing::TempDir() + "/streamed.zip";
    const std::string script = "import zipfile,io\n"
                               "class W(io.RawIOBase):\n"
                               "  def __init__(s,f): s.f=f\n"
                               "  def writable(s): return True\n"
                               "  def seekable(s): return False\n"
                               "  def write(s,d): return s.f.write(d)\n"
                               "with open('" +
        path +
        "','wb') as f:\n"
        "  z=zipfile.ZipFile(W(f),'w',zipfile.ZIP_DEFLATED)\n"
        "  z.writestr('a.json','{\"k\": '+'1'*5000+'}')\n"
        "  z.writestr('b.bin',bytes(range(256))*40)\n"
        "  z.close()\n";
    const std::string scriptPath = testing::TempDir() + "/streamed.py";
    FILE* scriptFile = std::fopen(scriptPath.c_str(), "wb");
    ASSERT_TRUE(scriptFile);
    std::fwrite(script.data(), 1, script.size(), scriptFile);
    std::fclose(scriptFile);
    ASSERT_EQ(std::system(("python3 " + scriptPath).c_str()), 0);
    std::string bytes;
    {
        FILE* f = std::fopen(path.c_str(), "rb");
        ASSERT_TRUE(f);
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
        std::fclose(f);
    }
    ASSERT_NE(bytes.find("PK\x07\x08"), std::string::npos) << "the archive has data descriptors";
    const zip::Archive archive = read(bytes);
    ASSERT_EQ(archive.error, zip::ReadError::None);
    ASSERT_EQ(archive.entries.size(), 2u);
    EXPECT_EQ(archive.entries[0].data, "{\"k\": " + std::string(5000, '1') + "}");
    EXPECT_EQ(archive.entries[1].data.size(), 256u * 40);
    // The first descriptor's CRC-32 changed: the directory and the descriptor disagree.
    std::string disagreeing = bytes;
    disagreeing[disagreeing.find("PK\x07\x08") + 4] ^= 0x01;
    EXPECT_EQ(read(disagreeing).error, zip::ReadError::Damaged);
}
