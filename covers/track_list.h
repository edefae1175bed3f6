// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A track list: the lines of a music cover's back (number, title, artist, length), numbered in the
// order of their source, with the total length on an end line. The readers of typed lines, cue
// sheets, playlists and folders of audio files all give this, together with what they skipped.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kavi {

// The most tracks a list holds, and the longest title or artist kept (in bytes): more is a
// mistake, not a disc.
inline constexpr std::size_t kMostTracks = 999;
inline constexpr std::size_t kLongestTrackText = 500;

struct Track {
    int number = 0; // 1, 2, ... in the order of the source
    std::string title; // UTF-8
    std::string artist; // UTF-8; empty when not known
    std::optional<double> seconds; // the length; empty when not known
    friend bool operator==(const Track&, const Track&) = default;
};

// What a reader made of its source: the tracks it read, and one line for each thing it skipped
// and why (a bad line, a missing file), in the order met. A reader never throws.
struct TrackListReading {
    std::vector<Track> tracks;
    std::vector<std::string> problems;
};

// A title or artist as kept: spaces and control characters trimmed from its ends, tabs and line
// breaks inside turned to spaces, and cut to kLongestTrackText bytes on a character's boundary.
std::string cleanTrackText(std::string text);

// Gives the tracks the numbers 1, 2, ... in their order.
void numberInOrder(std::vector<Track>& tracks);

// The sum of the lengths; empty when no track has a length.
std::optional<double> totalSeconds(const std::vector<Track>& tracks);
// Whether some tracks have no length, so that a total is only a part of the whole.
bool someLengthsUnknown(const std::vector<Track>& tracks);

// A length to the nearest second as "m:ss", or "h:mm:ss" from an hour on. A negative or not-finite
// length gives "".
std::string formatLength(double seconds);

// One line of the list: "3. Title - Artist  4:05", leaving out the artist or the length when not
// known.
std::string formatTrackLine(const Track& track);
// The end line: "Total 47:12", with "+" after the time when some lengths are unknown; empty when no
// track has a length.
std::string formatTotalLine(const std::vector<Track>& tracks);
// Every line as drawn: the tracks', then the end line when there is one.
std::vector<std::string> trackListLines(const std::vector<Track>& tracks);

// A length written as "m:ss", "mm:ss" or "h:mm:ss" (seconds below 60, minutes below 60 after
// hours); empty for anything else.
std::optional<double> parseLength(const std::string& text);

} // namespace kavi
