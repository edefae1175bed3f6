// SPDX-License-Identifier: GPL-3.0-or-later
// Track lists: lengths written and read, the lines and the end line, typed or pasted text with
// its numbers, dashes, tabs and lengths, and the fitting into a box that drops the size, goes to
// two columns, and says what it had to leave out.
#include "covers/track_list.h"
#include "covers/track_list_fit.h"
#include "covers/typed_track_list.h"

#include <gtest/gtest.h>

#include <string>

using namespace kavi;

namespace {

// A font whose letters are half a size wide and whose lines are 1.2 sizes apart.
MeasuredLine halfWideLetters(const std::string& line, double size) {
    return {Length::fromPoints(0.5 * size * double(line.size())), Length::fromPoints(1.2 * size)};
}

std::vector<std::string> fortyLines() {
    std::vector<Track> tracks;
    for (int i = 0; i < 40; ++i) tracks.push_back({0, "Song number " + std::to_string(i + 1), "Band", 180.0 + i});
    numberInOrder(tracks);
    return trackListLines(tracks); // 40 tracks and the end line
}

void expectInside(const TrackListFit& fit, const LengthRect& box) {
    for (const PlacedTrackLine& line : fit.placed) {
        EXPECT_GE(line.rect.left.twips(), box.left.twips() - 1e-6) << line.line;
        EXPECT_GE(line.rect.top.twips(), box.top.twips() - 1e-6) << line.line;
        EXPECT_LE(line.rect.right().twips(), box.right().twips() + 1e-6) << line.line;
        EXPECT_LE(line.rect.bottom().twips(), box.bottom().twips() + 1e-6) << line.line;
    }
}

} // namespace

TEST(TrackList, LengthsAreWrittenToTheNearestSecondAndReadBack) {
    EXPECT_EQ(formatLength(0), "0:00");
    EXPECT_EQ(formatLength(59.5), "1:00");
    EXPECT_EQ(formatLength(3599.4), "59:59");
    EXPECT_EQ(formatLength(3600), "1:00:00");
    EXPECT_EQ(formatLength(3725), "1:02:05");
    EXPECT_EQ(formatLength(-1), "");
    EXPECT_EQ(formatLength(1.0 / 0.0), "");
    EXPECT_EQ(parseLength("3:45"), 225);
    EXPECT_EQ(parseLength("75:00"), 4500);
    EXPECT_EQ(parseLength("1:02:03"), 3723);
    for (const char* bad : {"3:5", "3:60", "1:60:00", "1:2:03", ":45", "3:45:", "abc", "1:02:03:04", "-3:45", ""})
        EXPECT_FALSE(parseLength(bad)) << bad;
}

TEST(TrackList, LinesLeaveOutWhatIsUnknownAndTheTotalSaysWhenItIsPartial) {
    std::vector<Track> tracks = {{0, "Intro", "", 65}, {0, "Song", "Band", std::nullopt}, {0, "Long", "Band", 3540}};
    numberInOrder(tracks);
    const std::vector<std::string> lines = trackListLines(tracks);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "1. Intro  1:05");
    EXPECT_EQ(lines[1], "2. Song - Band");
    EXPECT_EQ(lines[2], "3. Long - Band  59:00");
    EXPECT_EQ(lines[3], "Total 1:00:05+");
    tracks[1].seconds = 10;
    EXPECT_EQ(formatTotalLine(tracks), "Total 1:00:15");
    for (Track& t : tracks) t.seconds.reset();
    EXPECT_EQ(formatTotalLine(tracks), "");
    EXPECT_EQ(trackListLines(tracks).size(), 3u); // no end line without a length
}

TEST(TypedTrackList, PastedLinesOfEveryFormKeepTheirOrderAndNameTheLinesLeftOut) {
    const std::string text = "\xEF\xBB\xBF"
                             "1. Opening - The Band 3:45\r\n"
                             "\r\n"
                             "02) Song - Live - The Band (4:05)\n"
                             "3\tTabbed Title\tTab Artist\t1:02:03\n"
                             "1999 - Prince\n"
                             "   \t  \n"
                             "4:00\n"
                             "Just a title\n"
                             "Caf\xC3\xA9 \xE2\x80\x94 ok - Ren\xC3\xA9"
                             "e - 2:10\n"
                             "5.\tFive\tArtist\t5:00\textra\n"
                             "[0:30]\n"
                             "07 - Seven\n"
                             "100 - Band";
    const TrackListReading r = readTypedTrackList(text);
    ASSERT_EQ(r.tracks.size(), 9u);
    for (std::size_t i = 0; i < r.tracks.size(); ++i) EXPECT_EQ(r.tracks[i].number, int(i + 1));
    EXPECT_EQ(r.tracks[0], (Track{1, "Opening", "The Band", 225}));
    EXPECT_EQ(r.tracks[1], (Track{2, "Song - Live", "The Band", 245}));
    EXPECT_EQ(r.tracks[2], (Track{3, "Tabbed Title", "Tab Artist", 3723}));
    EXPECT_EQ(r.tracks[3], (Track{4, "1999", "Prince", std::nullopt}));
    EXPECT_EQ(r.tracks[4], (Track{5, "Just a title", "", std::nullopt}));
    EXPECT_EQ(r.tracks[5],
              (Track{6, "Caf\xC3\xA9 \xE2\x80\x94 ok",
                     "Ren\xC3\xA9"
                     "e",
                     130}));
    EXPECT_EQ(r.tracks[6], (Track{7, "Five", "Artist", 300}));
    EXPECT_EQ(r.tracks[7], (Track{8, "Seven", "", std::nullopt}));
    EXPECT_EQ(r.tracks[8], (Track{9, "100", "Band", std::nullopt}));
    ASSERT_EQ(r.problems.size(), 3u);
    EXPECT_EQ(r.problems[0].rfind("line 7: ", 0), 0u) << r.problems[0]; // "4:00" alone
    EXPECT_EQ(r.problems[1].rfind("line 10: ", 0), 0u) << r.problems[1]; // the extra column
    EXPECT_EQ(r.problems[2].rfind("line 11: ", 0), 0u) << r.problems[2]; // "[0:30]" alone
}

TEST(TypedTrackList, ALongPasteKeepsTheMostTracksAndSaysSo) {
    std::string text;
    for (int i = 0; i < 1005; ++i) text += "Track " + std::to_string(i) + "\n";
    text += "Title " + std::string(2000, 'x');
    const TrackListReading r = readTypedTrackList(text);
    EXPECT_EQ(r.tracks.size(), kMostTracks);
    EXPECT_EQ(r.tracks.back().number, int(kMostTracks));
    ASSERT_EQ(r.problems.size(), 1u);
    EXPECT_NE(r.problems[0].find("line 1000:"), std::string::npos) << r.problems[0];
    // A title too long to be one is cut on a character's boundary.
    const std::string cut = cleanTrackText(std::string(kLongestTrackText - 1, 'a') + "\xC3\xA9");
    EXPECT_EQ(cut.size(), kLongestTrackText - 1);
}

TEST(TrackListFit, FortyLinesDropTheirSizeToTheLargestThatFitsInOneColumn) {
    const std::vector<std::string> lines = fortyLines();
    ASSERT_EQ(lines.size(), 41u);
    // 41 lines of 1.2 sizes need 49.2 sizes of height: a 300 pt box holds them at 6 pt or less
    // than 6.1 pt, and the widest line (30 letters) is 15 sizes wide.
    const LengthRect box{Length::fromPoints(20), Length::fromPoints(30), Length::fromPoints(200),
                         Length::fromPoints(300)};
    const TrackListFit fit = fitTrackList(lines, box, 10, halfWideLetters);
    EXPECT_TRUE(fit.fits());
    EXPECT_EQ(fit.columns, 1);
    EXPECT_DOUBLE_EQ(fit.sizePoints, 6);
    ASSERT_EQ(fit.placed.size(), lines.size());
    expectInside(fit, box);
    EXPECT_EQ(fit.placed[40].rect.top, box.top + Length::fromPoints(1.2 * 6 * 40));
    EXPECT_EQ(trackListFitNotice(fit), "");
    // With more room it keeps the first size that fits, in half-point steps from the start.
    const LengthRect taller{box.left, box.top, box.width, Length::fromPoints(49.2 * 8.5)};
    EXPECT_DOUBLE_EQ(fitTrackList(lines, taller, 10, halfWideLetters).sizePoints, 8.5);
    EXPECT_DOUBLE_EQ(fitTrackList(lines, taller, 7.25, halfWideLetters).sizePoints, 7.25);
}

TEST(TrackListFit, FortyLinesGoToTwoBalancedColumnsInAWideShortBox) {
    const std::vector<std::string> lines = fortyLines();
    // Too short for 41 lines at 6 pt (295 pt), tall enough for 21 at 9 pt; wide enough for two
    // columns of the widest line (31 letters: 15.5 sizes) and a gap of one size.
    const LengthRect box{Length::fromPoints(10), Length::fromPoints(0), Length::fromPoints(32 * 9),
                         Length::fromPoints(21 * 1.2 * 9)};
    const TrackListFit fit = fitTrackList(lines, box, 12, halfWideLetters);
    EXPECT_TRUE(fit.fits()) << trackListFitNotice(fit);
    EXPECT_EQ(fit.columns, 2);
    EXPECT_DOUBLE_EQ(fit.sizePoints, 9);
    ASSERT_EQ(fit.placed.size(), lines.size());
    expectInside(fit, box);
    // Down the first column (21 lines), then the second from the top, one gap to the right.
    EXPECT_EQ(fit.placed[20].rect.left, box.left);
    EXPECT_EQ(fit.placed[21].rect.top, box.top);
    EXPECT_NEAR((fit.placed[21].rect.left - fit.placed[20].rect.right()).points(), 9, 1e-9);
    EXPECT_GT(fit.placed[40].rect.top, fit.placed[39].rect.top);
}

TEST(TrackListFit, WhatCannotFitIsLeftOutFromTheEndOrCutAndSaidSo) {
    const std::vector<std::string> lines = fortyLines();
    // Room for 10 rows at 6 pt: two columns keep 20 lines and leave 21 out.
    const LengthRect box{Length(), Length(), Length::fromPoints(200), Length::fromPoints(10 * 1.2 * 6 + 1)};
    const TrackListFit fit = fitTrackList(lines, box, 10, halfWideLetters);
    EXPECT_FALSE(fit.fits());
    EXPECT_EQ(fit.columns, 2);
    EXPECT_DOUBLE_EQ(fit.sizePoints, 6);
    ASSERT_EQ(fit.placed.size(), 20u);
    ASSERT_EQ(fit.leftOut.size(), 21u);
    EXPECT_EQ(fit.leftOut.front(), 20u);
    EXPECT_EQ(fit.leftOut.back(), 40u);
    expectInside(fit, box);
    EXPECT_EQ(trackListFitNotice(fit),
              "The track list does not fit its box at 6 pt in 2 columns: 21 lines are left out.");

    // A line too wide for any column at 6 pt is cut in the one wide column rather than in two.
    std::vector<std::string> wide = {"short", std::string(100, 'w'), "short"};
    const TrackListFit cut =
        fitTrackList(wide, {Length(), Length(), Length::fromPoints(200), Length::fromPoints(100)}, 9, halfWideLetters);
    EXPECT_EQ(cut.columns, 1);
    EXPECT_EQ(cut.cutCount(), 1u);
    EXPECT_TRUE(cut.placed[1].cut);
    EXPECT_EQ(trackListFitNotice(cut),
              "The track list does not fit its box at 6 pt in 1 column: 1 line is cut off at the right.");

    // A box with no room leaves everything out, and a list with no lines always fits.
    const TrackListFit none =
        fitTrackList(wide, {Length(), Length(), Length::fromPoints(100), Length()}, 9, halfWideLetters);
    EXPECT_EQ(none.leftOut.size(), 3u);
    EXPECT_TRUE(none.placed.empty());
    EXPECT_TRUE(fitTrackList({}, box, 9, halfWideLetters).fits());
}
