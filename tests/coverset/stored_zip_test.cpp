// SPDX-License-Identifier: GPL-3.0-or-later
// The stored-zip container: what is written reads back (and other zip readers agree), and every
// cut-off, unsupported or duplicated record is refused without reading outside the bytes.
#include "files/stored_zip.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace kavi;

namespace {

std::string sample() {
    const std::string a = "first entry's bytes", b(3000, 'x');
    return zip::writeStored({{"a.json", a}, {"b.png", b}, {"empty", ""}});
}

} // namespace

TEST(StoredZip, EntriesReadBackInOrderWithTheirBytes) {
    const std::string bytes = sample();
    const zip::Archive archive = zip::readStored(bytes, 10);
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
        const zip::Archive archive = zip::readStored(std::string_view(bytes).substr(0, length), 10);
        EXPECT_NE(archive.error, zip::ReadError::None) << "cut at " << length;
        EXPECT_TRUE(archive.entries.empty());
    }
}

TEST(StoredZip, UnsupportedDuplicateAndTooManyEntriesAreRefused) {
    std::string compressed = sample();
    compressed[8] = 8; // the first local header says deflate...
    const std::size_t central = compressed.find("PK\x01\x02");
    ASSERT_NE(central, std::string::npos);
    compressed[central + 10] = 8; // ...and so does its central record
    EXPECT_EQ(zip::readStored(compressed, 10).error, zip::ReadError::Unsupported);

    const std::string twice = zip::writeStored({{"same", "1"}, {"same", "2"}});
    EXPECT_EQ(zip::readStored(twice, 10).error, zip::ReadError::Damaged);
    EXPECT_EQ(zip::readStored(sample(), 2).error, zip::ReadError::TooLarge);
    EXPECT_EQ(zip::readStored("not a zip at all, just some words", 10).error, zip::ReadError::NotAnArchive);
}
