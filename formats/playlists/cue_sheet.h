// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Cue sheets (.cue): the plain-text table of a disc's tracks that rippers write beside the audio.
// What a track list needs is read: the disc's title and performer, the audio files, and per track
// its title, performer and where it starts (INDEX 01). Lines that cannot be read are named in the
// problems and passed over; the good lines around them are still read.
#include "covers/track_list.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavi {

// The largest cue sheet read, in bytes: a real one is a few kilobytes.
inline constexpr std::size_t kLargestCueSheet = 1 << 20;
// Cue sheet times count frames, 75 to the second.
inline constexpr int kCueFramesPerSecond = 75;

struct CueTrack {
    int number = 0; // as the sheet numbers it
    std::string title, performer; // UTF-8; the performer is the disc's when the track names none
    int file = -1; // index into CueSheet::files of the file it starts in; -1 before any FILE line
    std::optional<long long> start; // INDEX 01 in frames from the file's start
    bool audio = true; // false for a data track (MODE1/2048 and the like)
};

struct CueSheet {
    std::string title, performer; // of the disc
    std::vector<std::string> files; // as written in the FILE lines, in their order
    std::vector<CueTrack> tracks;
    std::vector<std::string> problems; // "line 7: ..." for each line passed over
};

// Reads a cue sheet's bytes: UTF-8 with or without a byte-order mark, else the Western code page.
CueSheet parseCueSheet(std::string_view bytes);

// The audio tracks as a track list. A track's length runs from its INDEX 01 to the next track's
// in the same file; the last track of a file runs to the file's end when fileSeconds (one entry
// per file, empty where not known) gives the file's length, and is unknown otherwise. Data tracks
// are left out, and named in the problems together with the sheet's own.
TrackListReading tracksOfCueSheet(const CueSheet& sheet, const std::vector<std::optional<double>>& fileSeconds);

} // namespace kavi
