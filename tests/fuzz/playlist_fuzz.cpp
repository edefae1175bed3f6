// SPDX-License-Identifier: GPL-3.0-or-later
// Playlists: whatever the bytes, every entry is an address (no path) or an absolute path with no
// "." or ".." steps left in it, the entries stay below the most tracks, and the track list is
// numbered in order with clean UTF-8 titles and lengths that are lengths.
#include "tests/fuzz/fuzz_support.h"

#include "formats/playlists/m3u_playlist.h"
#include "formats/playlists/text_encoding.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kavi::Playlist list = kavi::parsePlaylist(bytes, "/home/user/Music/lists");
    FUZZ_CHECK(list.entries.size() <= kavi::kMostTracks, "more entries than a list holds");
    for (const kavi::PlaylistEntry& entry : list.entries) {
        const std::string& path = entry.path;
        if (path.empty()) continue;
        FUZZ_CHECK(path[0] == '/', "a path that is not absolute");
        const std::string ends = path + "/";
        FUZZ_CHECK(ends.find("/./") == std::string::npos && ends.find("/../") == std::string::npos,
                   "a dot step left in a path");
        FUZZ_CHECK(path == "/" || path.find("//") == std::string::npos, "an empty step in a path");
    }
    const kavi::TrackListReading reading = kavi::tracksOfPlaylist(list);
    FUZZ_CHECK(reading.tracks.size() == list.entries.size(), "an entry lost on the way to the list");
    for (std::size_t i = 0; i < reading.tracks.size(); ++i) {
        const kavi::Track& track = reading.tracks[i];
        FUZZ_CHECK(track.number == int(i + 1), "tracks not numbered in order");
        FUZZ_CHECK(!track.title.empty() && track.title.size() <= kavi::kLongestTrackText, "a title of no size");
        FUZZ_CHECK(kavi::isValidUtf8(track.title) && kavi::isValidUtf8(track.artist), "text that is not UTF-8");
        FUZZ_CHECK(!track.seconds || (std::isfinite(*track.seconds) && *track.seconds >= 0), "a length that is none");
    }
    return 0;
}
