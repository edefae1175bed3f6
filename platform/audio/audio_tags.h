// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tags and length of one audio file (FLAC, MP3, Ogg Vorbis, Opus, M4A, WAV and the other
// kinds TagLib reads), for the track lists made from a folder, a cue sheet or a playlist.
#include <optional>
#include <string>

namespace kavi {

struct AudioTags {
    std::string title, artist; // UTF-8; empty when the file has no such tag
    int disc = 0, track = 0; // 0 when the file has no such tag
    std::optional<double> seconds; // empty when the file does not say
};

// The file's tags, or empty with `problem` saying why it cannot be read (missing, not readable,
// not audio, damaged).
std::optional<AudioTags> readAudioTags(const std::string& path, std::string& problem);

// Whether the file's name ends in the extension of an audio kind that a folder's track list takes.
bool hasAudioExtension(const std::string& name);

} // namespace kavi
