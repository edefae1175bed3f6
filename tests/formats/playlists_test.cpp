// SPDX-License-Identifier: GPL-3.0-or-later
// Cue sheets and playlists read into track lists: Unicode and Western-code-page text, lengths from
// the index times and the audio files' ends, bad lines passed over while the good ones are read,
// and playlist paths resolved from the playlist's folder.
#include "formats/playlists/cue_sheet.h"
#include "formats/playlists/m3u_playlist.h"
#include "formats/playlists/text_encoding.h"

#include <gtest/gtest.h>

using namespace kavi;

namespace {

bool mentions(const std::vector<std::string>& problems, const std::string& start, const std::string& what) {
    for (const std::string& p : problems)
        if (p.rfind(start, 0) == 0 && p.find(what) != std::string::npos) return true;
    return false;
}

// Two files: the first with three audio tracks (one of them written badly) and a data track, the
// second with one track.
const char* const kSheet = "\xEF\xBB\xBF"
                           "REM GENRE Pop\r\n"
                           "PERFORMER \"Sigur R\xC3\xB3s\"\r\n"
                           "TITLE \"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E Album\"\r\n"
                           "FILE \"disc one.wav\" WAVE\r\n"
                           "  TRACK 01 AUDIO\r\n"
                           "    TITLE \"Hopp\xC3\xADpolla\"\r\n"
                           "    INDEX 00 00:00:00\r\n"
                           "    INDEX 01 00:00:32\r\n"
                           "  TRACK xx AUDIO\r\n"
                           "    TITLE \"Lost with its track\"\r\n"
                           "    INDEX 01 01:00:00\r\n"
                           "  TRACK 02 AUDIO\r\n"
                           "    TITLE \"\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F\"\r\n"
                           "    PERFORMER \"Guest\"\r\n"
                           "    INDEX 01 04:10:07\r\n"
                           "    INDEX 01 04:20:00\r\n"
                           "  GARBAGE here\r\n"
                           "  TRACK 03 AUDIO\r\n"
                           "    TITLE \"No start\"\r\n"
                           "    INDEX 01 4:99:00\r\n"
                           "  TRACK 04 MODE1/2352\r\n"
                           "    INDEX 01 09:00:00\r\n"
                           "FILE \"disc two.flac\" WAVE\r\n"
                           "  TRACK 05 AUDIO\r\n"
                           "    TITLE \"Last\"\r\n"
                           "    INDEX 01 00:02:00\r\n";

} // namespace

TEST(CueSheet, UnicodeTitlesAndLengthsAreReadPastBadLines) {
    const CueSheet sheet = parseCueSheet(kSheet);
    EXPECT_EQ(sheet.title, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E Album");
    EXPECT_EQ(sheet.files, (std::vector<std::string>{"disc one.wav", "disc two.flac"}));
    ASSERT_EQ(sheet.problems.size(), 4u);
    EXPECT_TRUE(mentions(sheet.problems, "line 9: ", "TRACK"));
    EXPECT_TRUE(mentions(sheet.problems, "line 16: ", "second INDEX 01"));
    EXPECT_TRUE(mentions(sheet.problems, "line 17: ", "GARBAGE"));
    EXPECT_TRUE(mentions(sheet.problems, "line 20: ", "INDEX"));

    // The second file's length is known, the first's is not.
    const TrackListReading r = tracksOfCueSheet(sheet, {std::nullopt, 200.0});
    ASSERT_EQ(r.tracks.size(), 4u);
    EXPECT_EQ(r.tracks[0], (Track{1, "Hopp\xC3\xADpolla", "Sigur R\xC3\xB3s", (250 * 75 + 7 - 32) / 75.0}));
    EXPECT_EQ(r.tracks[1].title, "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F");
    EXPECT_EQ(r.tracks[1].artist, "Guest");
    EXPECT_FALSE(r.tracks[1].seconds); // the next track of its file does not say where it starts
    EXPECT_EQ(r.tracks[2], (Track{3, "No start", "Sigur R\xC3\xB3s", std::nullopt}));
    EXPECT_EQ(r.tracks[3], (Track{4, "Last", "Sigur R\xC3\xB3s", 198.0})); // to its own file's end
    EXPECT_TRUE(mentions(r.problems, "track 4 ", "data"));
    EXPECT_EQ(r.problems.size(), 5u);

    // Without the file lengths the last track of each file is unknown; a file shorter than the
    // track's start is said so.
    EXPECT_FALSE(tracksOfCueSheet(sheet, {}).tracks[3].seconds);
    const TrackListReading shortFile = tracksOfCueSheet(sheet, {std::nullopt, 1.0});
    EXPECT_FALSE(shortFile.tracks[3].seconds);
    EXPECT_TRUE(mentions(shortFile.problems, "track 5 ", "length is unknown"));
}

TEST(CueSheet, WesternCodePageSheetsAndLooseWritingAreRead) {
    // Latin-1 é and the code page's curly quotes, lower-case keywords, LF and lone CR line ends,
    // an unclosed quote, tracks before any FILE line, and a track that starts in the next file
    // after its gap at the end of the last.
    const CueSheet sheet = parseCueSheet("title \"Caf\xE9\"\rtrack 1 audio\n title \"\x93Quoted\x94\n"
                                         " index 01 00:00:00\ntrack 2 audio\n index 01 01:00:00\n"
                                         "track 3 audio\n index 00 01:50:00\nfile next.wav wave\n"
                                         " title The \"Third\" One \n index 01 00:00:00\n"
                                         "FILE other.wav WAVE\nTRACK 04 AUDIO\n TITLE \"Say \"Hi\"\"  \n");
    EXPECT_EQ(sheet.title, "Caf\xC3\xA9");
    ASSERT_EQ(sheet.tracks.size(), 4u);
    EXPECT_EQ(sheet.tracks[3].title, "Say \"Hi\"");
    EXPECT_EQ(sheet.tracks[0].title, "\xE2\x80\x9CQuoted\xE2\x80\x9D");
    EXPECT_EQ(sheet.tracks[0].file, -1);
    EXPECT_TRUE(sheet.problems.empty());
    EXPECT_EQ(sheet.tracks[2].file, 0);
    const TrackListReading r = tracksOfCueSheet(sheet, {5.0});
    EXPECT_EQ(r.tracks[0].seconds, 60.0);
    EXPECT_EQ(r.tracks[1].title, "Track 2"); // a track with no title gets one
    EXPECT_FALSE(r.tracks[1].seconds); // it runs to the end of no file known
    EXPECT_EQ(r.tracks[2], (Track{3, "The \"Third\" One", "", 5.0}));
    EXPECT_TRUE(parseCueSheet(std::string(kLargestCueSheet + 1, ' ')).problems.size() == 1);
}

TEST(TextEncoding, OnlyWellFormedUtf8IsTakenAsIt) {
    EXPECT_TRUE(isValidUtf8("plain \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB5"));
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3", "\xE2\x82", "\x80", "\xFF"})
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
    bool legacy = false;
    EXPECT_EQ(textAsUtf8("\xEF\xBB\xBF\xC3\xA9", &legacy), "\xC3\xA9");
    EXPECT_FALSE(legacy);
    EXPECT_EQ(textAsUtf8("\xC3\x80\xFF", &legacy), "\xC3\x83\xE2\x82\xAC\xC3\xBF");
    EXPECT_TRUE(legacy);
    // UTF-16 by its mark, either way round, with a pair for a character past U+FFFF.
    using namespace std::string_literals;
    EXPECT_EQ(textAsUtf8("\xFF\xFE"
                         "A\0\xE9\0\x3C\xD8\xB5\xDF"s,
                         &legacy),
              "A\xC3\xA9\xF0\x9F\x8E\xB5");
    EXPECT_FALSE(legacy);
    EXPECT_EQ(textAsUtf8("\xFE\xFF\0A\xD8\x3C\0"s), "A\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(parseCueSheet("\xFF\xFET\0I\0T\0L\0E\0 \0\x1B\x04"s).title, "\xD0\x9B");
}

TEST(Playlist, PathsResolveFromThePlaylistsFolderAndExtinfLinesNameTheEntries) {
    const std::string m3u8 = "\xEF\xBB\xBF#EXTM3U\n"
                             "#EXTINF:215,Bj\xC3\xB6rk - Army of Me\n"
                             "../other/army.flac\n"
                             "/music/abs/./song.mp3\n"
                             "#EXTINF:-1,Radio \xE2\x80\x94 Live\n"
                             "http://radio.example/stream?x=1\n"
                             "https://radio.example/second\n"
                             "#EXTINF:oops\n"
                             "sub\\win\\track.ogg\n"
                             "#EXTINF:12,One\n"
                             "#EXTINF:13.5 tvg-id=\"x\",Two - Parts - Here\n"
                             "file:///music/with%20space.opus\n"
                             "C:\\Music\\x.mp3\n";
    const Playlist list = parsePlaylist(m3u8, "/home/me/lists");
    ASSERT_EQ(list.entries.size(), 7u);
    EXPECT_EQ(list.entries[0].path, "/home/me/other/army.flac");
    EXPECT_EQ(list.entries[0].artist, "Bj\xC3\xB6rk");
    EXPECT_EQ(list.entries[0].title, "Army of Me");
    EXPECT_EQ(list.entries[0].seconds, 215);
    EXPECT_EQ(list.entries[1].path, "/music/abs/song.mp3");
    EXPECT_FALSE(list.entries[1].hasInfo);
    EXPECT_EQ(list.entries[1].title, "song");
    EXPECT_EQ(list.entries[2].path, "");
    EXPECT_EQ(list.entries[2].title, "Radio \xE2\x80\x94 Live");
    EXPECT_FALSE(list.entries[2].seconds);
    EXPECT_EQ(list.entries[3].title, "https://radio.example/second"); // an address keeps itself as title
    EXPECT_EQ(list.entries[4].path, "/home/me/lists/sub/win/track.ogg");
    EXPECT_EQ(list.entries[5].path, "/music/with space.opus");
    EXPECT_EQ(list.entries[5].artist, "Two");
    EXPECT_EQ(list.entries[5].title, "Parts - Here");
    EXPECT_EQ(list.entries[5].seconds, 13.5);
    EXPECT_EQ(list.entries[6].path, "/home/me/lists/C:/Music/x.mp3");
    EXPECT_EQ(list.entries[6].line, 13);
    ASSERT_EQ(list.problems.size(), 2u);
    EXPECT_TRUE(mentions(list.problems, "line 8: ", "#EXTINF"));
    EXPECT_TRUE(mentions(list.problems, "line 11: ", "two #EXTINF"));

    const TrackListReading r = tracksOfPlaylist(list);
    ASSERT_EQ(r.tracks.size(), 7u);
    EXPECT_EQ(r.tracks[6].number, 7);
    EXPECT_EQ(r.problems, list.problems);
    EXPECT_EQ(resolvePlaylistPath("../../../x", "/a"), "/x");
    EXPECT_EQ(resolvePlaylistPath("file://remote/x", "/a"), "");
}
