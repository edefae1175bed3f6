// SPDX-License-Identifier: GPL-3.0-or-later
// Track lists from the user's files: real FLAC, MP3 and Ogg files made here (tags written by the
// encoders and by TagLib), a folder with a damaged and an unreadable file, a cue sheet beside its
// converted audio, a playlist with relative and absolute paths, and forty lines measured in a real
// font fitted into a box.
#include "platform/audio/track_list_files.h"
#include "render/track_list_measure.h"

#include "tests/support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kavi {
namespace {

using testing::TempFolder;

const char* const kSecondTitle = "H\xC3\xA9 \xE2\x9C\x93 Zweite";
const char* const kFirstTitle = "Premi\xC3\xA8re";

// Silence as a WAV file: 8000 samples a second, mono, 16 bits.
QByteArray silence(int seconds) {
    const auto le = [](quint32 v, int bytes) {
        QByteArray b;
        for (int i = 0; i < bytes; ++i) b += char(v >> (8 * i) & 0xFF);
        return b;
    };
    const quint32 data = quint32(seconds) * 16000;
    return "RIFF" + le(36 + data, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(8000, 4) + le(16000, 4) +
        le(2, 2) + le(16, 2) + "data" + le(data, 4) + QByteArray(int(data), '\0');
}

// Runs an encoder of the test machine to its end; true when it succeeded.
bool encode(const QString& program, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8")); // tags given in UTF-8
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(-1);
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

class TrackListFiles : public ::testing::Test {
protected:
    void SetUp() override {
        // The unprivileged user reads the folders too.
        ::chmod(QFile::encodeName(temp_.path()).constData(), 0755);
        ASSERT_TRUE(QDir(temp_.path()).mkpath(QStringLiteral("album/sub")));
        album_ = temp_.file(QStringLiteral("album"));
        const QString wav = temp_.write(QStringLiteral("one.wav"), silence(1));
        const QString wav2 = temp_.write(QStringLiteral("two.wav"), silence(2));
        const QString wav3 = temp_.write(QStringLiteral("three.wav"), silence(3));
        ASSERT_TRUE(encode(QStringLiteral("flac"),
                           {"-s", "-f", "--tag=TITLE=" + QString::fromUtf8(kSecondTitle), "--tag=ARTIST=Ann",
                            "--tag=TRACKNUMBER=2/9", "-o", album_ + "/z-second.flac", wav2}));
        ASSERT_TRUE(encode(QStringLiteral("lame"), {"--quiet", wav, album_ + "/y-first.mp3"}));
        ASSERT_TRUE(
            encode(QStringLiteral("oggenc"),
                   {"-Q", "-t", QStringLiteral("\u00D6gg"), "-a", "Bob", "-o", album_ + "/a-no-number.ogg", wav3}));
        ASSERT_TRUE(encode(QStringLiteral("oggenc"), {"-Q", "-o", album_ + "/b-no-tags.ogg", wav}));
        ASSERT_TRUE(encode(QStringLiteral("flac"),
                           {"-s", "-f", "--tag=TRACKNUMBER=1", "-o", album_ + "/sub/deeper.flac", wav}));
        // The MP3's tags are written by TagLib.
        TagLib::FileRef mp3(QFile::encodeName(album_ + "/y-first.mp3").constData());
        ASSERT_FALSE(mp3.isNull());
        mp3.tag()->setTitle(TagLib::String(kFirstTitle, TagLib::String::UTF8));
        mp3.tag()->setArtist("Bob");
        mp3.tag()->setTrack(1);
        ASSERT_TRUE(mp3.save());
        temp_.write(QStringLiteral("album/broken.mp3"), "this is no sound at all\n");
        temp_.write(QStringLiteral("album/cover.jpg"), "not looked at");
        QFile::copy(wav, album_ + "/.hidden.wav");
    }

    TempFolder temp_;
    QString album_;
};

// The four readable files in the order of their track numbers, then their names.
void expectAlbum(const TrackListReading& r) {
    ASSERT_EQ(r.tracks.size(), 4u);
    EXPECT_EQ(r.tracks[0].title, kFirstTitle);
    EXPECT_EQ(r.tracks[0].artist, "Bob");
    EXPECT_NEAR(r.tracks[0].seconds.value_or(-1), 1, 0.2); // MP3 pads to whole frames
    EXPECT_EQ(r.tracks[1].title, kSecondTitle);
    EXPECT_EQ(r.tracks[1].artist, "Ann");
    EXPECT_NEAR(r.tracks[1].seconds.value_or(-1), 2, 0.01);
    EXPECT_EQ(r.tracks[2].title, "\xC3\x96gg");
    EXPECT_NEAR(r.tracks[2].seconds.value_or(-1), 3, 0.01);
    EXPECT_EQ(r.tracks[3].title, "b-no-tags"); // the file's name stands in for a title
    EXPECT_EQ(r.tracks[3].artist, "");
    EXPECT_EQ(r.tracks[3].number, 4);
}

bool mentions(const std::vector<std::string>& problems, const std::string& what) {
    for (const std::string& p : problems)
        if (p.find(what) != std::string::npos) return true;
    return false;
}

// As the unprivileged user: the locked file is named and left out, the rest read as before.
int readAlbumAsNobody(void* folder) {
    const TrackListReading r = readTrackListSource(*static_cast<const std::string*>(folder));
    if (r.tracks.size() != 4 || r.tracks[1].title != kSecondTitle) return 1;
    if (r.problems.size() != 2 || !mentions(r.problems, "locked.flac: it cannot be read")) return 2;
    return mentions(r.problems, "broken.mp3") ? 0 : 3;
}

TEST_F(TrackListFiles, AFolderIsOrderedByTrackThenNameAndItsUnreadableFilesAreNamedAndLeftOut) {
    const TrackListReading r = readTrackListSource(QFile::encodeName(album_).toStdString());
    expectAlbum(r);
    ASSERT_EQ(r.problems.size(), 1u);
    EXPECT_EQ(r.problems[0].rfind("broken.mp3: ", 0), 0u) << r.problems[0];

    ASSERT_TRUE(QFile::copy(album_ + "/z-second.flac", album_ + "/locked.flac"));
    ASSERT_TRUE(QFile::setPermissions(album_ + "/locked.flac", {}));
    std::string folder = QFile::encodeName(album_).toStdString();
    EXPECT_EQ(testing::runAsNobody(readAlbumAsNobody, &folder), 0);

    const TrackListReading missing = readTrackListSource(folder + "/gone");
    EXPECT_TRUE(missing.tracks.empty());
    EXPECT_EQ(missing.problems, std::vector<std::string>{"gone: there is no such file or folder"});
    const TrackListReading notList = readTrackListSource(folder + "/cover.jpg");
    EXPECT_TRUE(notList.tracks.empty());
    EXPECT_EQ(notList.problems.size(), 1u);
}

TEST_F(TrackListFiles, ACueSheetTakesItsLastTrackFromItsConvertedAudioFileAndNamesTheMissingOne) {
    // The sheet names the WAV it was ripped to; beside it lies the FLAC it became (2 s).
    ASSERT_TRUE(QFile::copy(album_ + "/z-second.flac", album_ + "/disc.flac"));
    const QString cue =
        temp_.write(QStringLiteral("album/disc.cue"),
                    "PERFORMER \"Ann\"\nFILE \"disc.wav\" WAVE\n  TRACK 01 AUDIO\n    TITLE \"\xC3\x89in\"\n"
                    "    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    TITLE \"Zw\xC3\xA9i\"\n    INDEX 01 00:00:30\n"
                    "  INDEX 01 nonsense\nFILE \"gone.wav\" WAVE\n  TRACK 03 AUDIO\n    INDEX 01 00:00:00\n"
                    "FILE \"C:\\Rips\\y-first.mp3\" MP3\n  TRACK 04 AUDIO\n    INDEX 01 00:00:00\n");
    const TrackListReading r = readTrackListSource(QFile::encodeName(cue).toStdString());
    ASSERT_EQ(r.tracks.size(), 4u);
    EXPECT_EQ(r.tracks[0], (Track{1, "\xC3\x89in", "Ann", 0.4}));
    EXPECT_EQ(r.tracks[1].title, "Zw\xC3\xA9i");
    EXPECT_NEAR(r.tracks[1].seconds.value_or(-1), 1.6, 0.01);
    EXPECT_FALSE(r.tracks[2].seconds);
    EXPECT_NEAR(r.tracks[3].seconds.value_or(-1), 1, 0.2); // found beside the sheet
    ASSERT_EQ(r.problems.size(), 2u);
    EXPECT_EQ(r.problems[0].rfind("disc.cue, line 9: ", 0), 0u) << r.problems[0];
    EXPECT_EQ(r.problems[1].rfind("gone.wav: the file is missing", 0), 0u) << r.problems[1];
}

TEST_F(TrackListFiles, APlaylistResolvesRelativeAndAbsolutePathsAndReadsTagsWhereItSaysNothing) {
    ASSERT_TRUE(QDir(temp_.path()).mkpath(QStringLiteral("lists")));
    const QByteArray absolute = QFile::encodeName(album_ + "/y-first.mp3");
    const QString list = temp_.write(QStringLiteral("lists/mix.m3u8"),
                                     "#EXTM3U\n../album/./z-second.flac\n" + absolute +
                                         "\n#EXTINF:61,Someone - Named Here\nnot-here.flac\n"
                                         "../album/missing.ogg\nhttp://radio.example/stream\n");
    const TrackListReading r = readTrackListSource(QFile::encodeName(list).toStdString());
    ASSERT_EQ(r.tracks.size(), 4u);
    EXPECT_EQ(r.tracks[0].title, kSecondTitle);
    EXPECT_NEAR(r.tracks[0].seconds.value_or(-1), 2, 0.01);
    EXPECT_EQ(r.tracks[1].title, kFirstTitle);
    EXPECT_EQ(r.tracks[2], (Track{3, "Named Here", "Someone", 61.0})); // its file is not needed
    EXPECT_EQ(r.tracks[3].title, "http://radio.example/stream");
    ASSERT_EQ(r.problems.size(), 1u);
    EXPECT_EQ(r.problems[0].rfind("mix.m3u8, line 6: ../album/missing.ogg: the file is missing", 0), 0u)
        << r.problems[0];

    // Typed lines kept in a text file of the Western code page.
    const QString typed = temp_.write(QStringLiteral("lists/Typed.TXT"), "Caf\xE9 - Ann 1:00\n2:00\n");
    const TrackListReading t = readTrackListSource(QFile::encodeName(typed).toStdString());
    ASSERT_EQ(t.tracks.size(), 1u);
    EXPECT_EQ(t.tracks[0], (Track{1, "Caf\xC3\xA9", "Ann", 60.0}));
    EXPECT_EQ(t.problems.size(), 1u);
    EXPECT_EQ(t.problems[0].rfind("Typed.TXT, line 2: ", 0), 0u) << t.problems[0];
}

TEST(TrackListMeasure, FortyLinesInARealFontDropTheirSizeIntoTwoColumnsInsideTheirBox) {
    std::vector<Track> tracks;
    for (int i = 0; i < 40; ++i)
        tracks.push_back({0, "Song number " + std::to_string(i + 1), "The Band", 185.0 + i * 7});
    numberInOrder(tracks);
    const std::vector<std::string> lines = trackListLines(tracks);
    TextStyle style;
    style.family = "DejaVu Sans";
    const MeasureTrackLine measure = trackLineMeasure(style);
    const MeasuredLine small = measure(lines[0], 6), large = measure(lines[0], 12);
    EXPECT_NEAR(large.width / small.width, 2, 0.05);
    EXPECT_NEAR(large.lineSpacing / small.lineSpacing, 2, 0.05);

    // 100 mm by 80 mm, on a back card: 41 lines do not fit at 12 pt, nor in one column at 6 pt.
    const LengthRect box{Length::fromMillimetres(10), Length::fromMillimetres(20), Length::fromMillimetres(100),
                         Length::fromMillimetres(80)};
    const TrackListFit fit = fitTrackList(lines, box, 12, measure);
    EXPECT_TRUE(fit.fits()) << trackListFitNotice(fit);
    EXPECT_EQ(fit.columns, 2);
    EXPECT_LT(fit.sizePoints, 12);
    EXPECT_GE(fit.sizePoints, kSmallestTrackListPoints);
    ASSERT_EQ(fit.placed.size(), lines.size());
    for (const PlacedTrackLine& placed : fit.placed) {
        EXPECT_GE(placed.rect.left, box.left);
        EXPECT_GE(placed.rect.top, box.top);
        EXPECT_LE(placed.rect.bottom().twips(), box.bottom().twips() + 0.01);
        EXPECT_LE(placed.rect.right().twips(), box.right().twips() + 0.01);
        EXPECT_LE(measure(lines[placed.line], fit.sizePoints).width, placed.rect.width);
    }
}

} // namespace
} // namespace kavi
