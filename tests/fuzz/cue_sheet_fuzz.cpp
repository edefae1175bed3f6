// SPDX-License-Identifier: GPL-3.0-or-later
// Cue sheets: whatever the bytes, the reader gives at most the most tracks, each in a file it
// read or in none, and a track list numbered 1, 2, ... whose titles are clean UTF-8 and whose
// lengths are positive. The first bytes give the audio files' lengths.
#include "tests/fuzz/fuzz_support.h"

#include "formats/playlists/cue_sheet.h"
#include "formats/playlists/text_encoding.h"

#include <cmath>

namespace {

void checkText(const std::string& text) {
    FUZZ_CHECK(kavi::isValidUtf8(text), "text that is not UTF-8");
    FUZZ_CHECK(text.size() <= kavi::kLongestTrackText, "a text longer than is kept");
    for (char c : text) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20, "a control character in a text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    std::vector<std::optional<double>> fileSeconds;
    for (int i = input.inRange(0, 3); i > 0; --i) {
        const int seconds = input.inRange(-1, 5000);
        fileSeconds.push_back(seconds < 0 ? std::nullopt : std::optional<double>(seconds));
    }
    const std::string_view bytes(reinterpret_cast<const char*>(input.rest()), input.restSize());
    const kavi::CueSheet sheet = kavi::parseCueSheet(bytes);
    FUZZ_CHECK(sheet.tracks.size() <= kavi::kMostTracks, "more tracks than a list holds");
    checkText(sheet.title);
    checkText(sheet.performer);
    for (const kavi::CueTrack& track : sheet.tracks) {
        FUZZ_CHECK(track.file >= -1 && track.file < int(sheet.files.size()), "a track in a file never named");
        FUZZ_CHECK(!track.start || *track.start >= 0, "a track starting before its file");
    }
    const kavi::TrackListReading reading = kavi::tracksOfCueSheet(sheet, fileSeconds);
    FUZZ_CHECK(reading.tracks.size() <= sheet.tracks.size(), "more tracks than the sheet has");
    FUZZ_CHECK(reading.problems.size() >= sheet.problems.size(), "a problem of the sheet lost");
    for (std::size_t i = 0; i < reading.tracks.size(); ++i) {
        const kavi::Track& track = reading.tracks[i];
        FUZZ_CHECK(track.number == int(i + 1), "tracks not numbered in order");
        FUZZ_CHECK(!track.title.empty(), "a track without a title");
        checkText(track.title);
        checkText(track.artist);
        FUZZ_CHECK(!track.seconds || (std::isfinite(*track.seconds) && *track.seconds > 0), "a length that is none");
    }
    for (const std::string& line : kavi::trackListLines(reading.tracks))
        FUZZ_CHECK(kavi::isValidUtf8(line), "a line that is not UTF-8");
    return 0;
}
