// SPDX-License-Identifier: GPL-3.0-or-later
// Profile files: the matching, trimming and quoting rules, where lines go, and safe replacement.
#include "platform/files/profile.h"
#include "tests/support/temp_folder.h"

#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kavi;
using kavi::testing::TempFolder;

namespace {

QString get(const QString& file, const QString& key, const QString& section = "MAIN", int size = 2000) {
    return profile::getString(section, key, QString(), size, file);
}

} // namespace

TEST(Profile, NamesMatchWithoutCaseAndValuesAreTrimmedAndUnquoted) {
    TempFolder dir;
    const QString f = dir.write("a.ini",
                                "; comment\n[other]\nFront=9\n[ Main ]\n  front =  1  \r\nTab=\" 1\"\n"
                                "Dir='/x y'\nDrive=\"half\nNoEquals\nEmpty=\n");
    EXPECT_EQ(get(f, "FRONT"), "1") << "key and section match without case; blanks trimmed";
    EXPECT_EQ(get(f, "Tab"), " 1") << "a quoted value keeps its blank";
    EXPECT_EQ(get(f, "Dir"), "/x y");
    EXPECT_EQ(get(f, "Drive"), "\"half") << "a single quote mark is part of the value";
    EXPECT_EQ(get(f, "Empty"), "");
    EXPECT_EQ(get(f, "Missing"), "");
    EXPECT_EQ(get(f, "Front", "nosuch"), "");
    EXPECT_EQ(profile::getString("MAIN", "Missing", "dflt", 2000, f), "dflt");
    EXPECT_EQ(get(dir.file("absent.ini"), "Front"), "");
}

TEST(Profile, LongValuesAreCutToTheBuffer) {
    TempFolder dir;
    const QString f = dir.file("long.ini");
    ASSERT_TRUE(profile::writeString("MAIN", "Dir", QString(2500, 'x'), f));
    EXPECT_EQ(get(f, "Dir").size(), 1999);
    EXPECT_EQ(get(f, "Dir", "MAIN", 10), QString(9, 'x'));
}

TEST(Profile, WritesKeepLinesAppendToTheSectionAndCreateTheFile) {
    TempFolder dir;
    const QString f = dir.file("k.ini");
    ASSERT_TRUE(profile::writeString("MAIN", "Drive", "/", f));
    ASSERT_TRUE(profile::writeString("MAIN", "Dir", "/home", f));
    EXPECT_EQ(dir.read("k.ini"), "[MAIN]\nDrive=/\nDir=/home\n");

    dir.write("k.ini", "# mine\n[main]\nTab = 3\n\n[Other]\nx=1\n");
    ASSERT_TRUE(profile::writeString("MAIN", "TAB", "5", f));
    ASSERT_TRUE(profile::writeString("MAIN", "Front", "1", f));
    ASSERT_TRUE(profile::writeString("New", "k", "v", f));
    EXPECT_EQ(dir.read("k.ini"), "# mine\n[main]\nTAB=5\nFront=1\n\n[Other]\nx=1\n[New]\nk=v\n");
}

TEST(Profile, DamagedOrHugeFilesAreHandled) {
    TempFolder dir;
    QByteArray garbage;
    for (int i = 0; i < 100000; ++i) garbage += char((i * 7919) % 256);
    // Binary bytes around a real section: the reader finds the key in it and nothing in the rest.
    const QString g = dir.write("g.ini", garbage + "\n[MAIN]\nFront=7\n" + garbage);
    EXPECT_EQ(get(g, "Front"), "7");
    EXPECT_EQ(get(g, "Tab"), "");
    EXPECT_TRUE(profile::writeString("MAIN", "Front", "1", g));
    EXPECT_EQ(get(g, "Front"), "1");
    EXPECT_EQ(dir.read("g.ini"), garbage + "\n[MAIN]\nFront=1\n" + garbage + "\n")
        << "the other bytes are kept as they were; the last line gains its line break";

    const QString h = dir.file("huge.ini");
    {
        QFile f(h);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(qint64(65) << 20));
    }
    EXPECT_EQ(get(h, "Front"), "");
    EXPECT_FALSE(profile::writeString("MAIN", "Front", "1", h)) << "a file that is no settings file is left alone";
    EXPECT_EQ(QFile(h).size(), qint64(65) << 20);

    const QString empty = dir.write("s.ini", "[MAIN]\n");
    EXPECT_EQ(get(empty, "Front"), "");
}

TEST(Profile, ReplacementIsAtomicAndKeepsPermissions) {
    TempFolder dir;
    const QString f = dir.write("p.ini", "[MAIN]\nFront=0\n");
    QFile::setPermissions(f, QFile::ReadOwner | QFile::WriteOwner);
    const ino_t before = [&] {
        struct stat st {};
        stat(QFile::encodeName(f), &st);
        return st.st_ino;
    }();
    ASSERT_TRUE(profile::writeString("MAIN", "Front", "1", f));
    struct stat st {};
    stat(QFile::encodeName(f), &st);
    EXPECT_NE(st.st_ino, before) << "a new file was renamed into place";
    EXPECT_EQ(st.st_mode & 0777, 0600u) << "the replaced file keeps its permissions";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file is left";
}

namespace {
int writeAsNobody(void* file) {
    return profile::writeString("MAIN", "Front", "1", *static_cast<QString*>(file)) ? 0 : 1;
}
} // namespace

TEST(Profile, AWriteThatIsNotAllowedFailsAndChangesNothing) {
    TempFolder dir; // owned by root, not writable by others
    QString f = dir.write("ro.ini", "[MAIN]\nFront=0\n");
    const int status = kavi::testing::runAsNobody(writeAsNobody, &f);
    ASSERT_NE(status, -1);
    EXPECT_EQ(status, 1) << "the write is reported as failed";
    EXPECT_EQ(dir.read("ro.ini"), "[MAIN]\nFront=0\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(Profile, AFileMarkedAsUtf8KeepsItsFirstSectionAndUnstorableNamesAreRefused) {
    TempFolder dir;
    const QString f = dir.write("bom.ini", "\xEF\xBB\xBF[MAIN]\nFront=1\n");
    EXPECT_EQ(get(f, "Front"), "1");

    // A folder name may hold a line break; written as it is, it would add lines (even sections).
    EXPECT_FALSE(profile::writeString("MAIN", "Dir", "/home/a\n[MAIN]\nFront=0", f));
    EXPECT_FALSE(profile::writeString("MAIN", "Front\n[Other]\nx", "2", f)) << "a key with a line break";
    EXPECT_FALSE(profile::writeString("MAIN", "Front\r", "2", f)) << "a key with a carriage return";
    EXPECT_FALSE(profile::writeString("MAIN", "Front", "0\r", f)) << "a value with a carriage return";
    EXPECT_FALSE(profile::writeString("MA\nIN", "Front", "2", f)) << "a section with a line break";
    EXPECT_FALSE(profile::writeString("MAIN", "[Front", "2", f));
    EXPECT_FALSE(profile::writeString("MAIN", "a=b", "2", f));
    EXPECT_FALSE(profile::writeString("MA]IN", "Front", "2", f));
    EXPECT_EQ(dir.read("bom.ini"), "\xEF\xBB\xBF[MAIN]\nFront=1\n") << "a refused write changes nothing";
    EXPECT_EQ(get(f, "Front"), "1");
}
